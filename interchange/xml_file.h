#pragma once

#include <QDate>
#include <QString>

#include "text_file.h"
#include "xml_escape.h"

// Writes an XML text file element by element, without a tree in memory, in the layout of the
// sibling accounting product's command files: every attribute on a line of its own, a start
// tag ended with ">" when the next element, closing tag or text comes, a closing tag followed
// by an empty line. Lines end in CR LF. While the code page is 852 every text goes out as
// Windows-1250 bytes passed through AnsiToDos, whatever the declaration written says.
//
// The new content replaces the old file only at Close(); a writer destroyed without Close()
// (a failed posting) drops what it wrote and keeps the old file. File errors raise EInOutError;
// writing after Close(), or an attribute with no start tag open, raises too.
class TxmlFile {
 public:
  explicit TxmlFile(const QString& fileName);  // creates the file (the old one stays until Close)
  ~TxmlFile();
  TxmlFile(const TxmlFile&) = delete;
  TxmlFile& operator=(const TxmlFile&) = delete;

  void OpenElement(const QString& name);
  void AddAttribute(const QString& name, const QString& value);  // the value is escaped
  void CloseElement(const QString& name);
  void WriteText(const QString& text);  // a line as it is (the declaration)
  void Close();

  int CodePage() const { return m_codePage; }
  const QString& FileName() const { return m_fileName; }

 private:
  void WriteRaw(const QString& text);
  void WriteLine(const QString& text);
  void CheckOpen() const;
  void EndPendingTag();

  QString m_fileName;
  TextFile m_file;
  int m_codePage = 852;
  QString m_pending;  // the element whose start tag still waits for its ">"
  bool m_closed = false;
};

// text with fill put in front until it is width long; a longer text stays as it is.
QString PadLeft(const QString& text, int width, QChar fill);
// The decimal text of value, left-padded with "0" to width.
QString IntToZeroPadded(int width, int value);
// text trimmed, without the date separator and any of . / \ - _ , : ; and blank.
QString StripDateSeparators(const QString& text);
// The stripped text: 8 characters become yyyy.mm.dd, a longer one stays, a shorter one gives "".
QString NormalizeDateText(const QString& text);
// yyyymmdd; the empty date gives "".
QString DateToDigitText(const QDate& date);
// yyyy.mm.dd; the empty date gives "".
QString DateToDottedText(const QDate& date);
