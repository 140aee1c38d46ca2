#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "codepage.h"

// The one way the program reads and writes its text files. Opening takes an advisory lock
// (shared to read, exclusive to write or append) and, while another program holds the file,
// retries 601 times 10 ms apart before it fails with I/O error 32. A missing file is created.
// Rewriting goes to a temporary file that replaces the old one only when Close() succeeds,
// so a failed write loses nothing. Lines are written in the given code page with CR LF;
// reading takes CR LF, LF, CR and CR CR LF as line ends and accepts a UTF-8 byte-order mark
// (which selects UTF-8).
// With a file "noredeftxtfile.ini" in the current directory files are opened plainly: no
// retries, no locks, and a missing file is not created for reading.
class TextFile {
 public:
  enum class Mode { Closed, Reset, Rewrite, Append };

  explicit TextFile(QString fileName, CodePage cp = CodePage::Cp1250);
  ~TextFile();  // closes; an unfinished rewrite is discarded
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Throw EInOutError (32: held by another program).
  void Reset();
  void Rewrite();
  void Append();
  // Finishes the file; for a rewrite this replaces the old file. Throws EInOutError on failure.
  void Close();

  Mode OpenMode() const { return m_mode; }
  const QString& FileName() const { return m_fileName; }

  bool Eof() const;
  QString ReadLine();  // throws EInOutError when not open for reading
  // The next line as the file holds it, without its line end.
  QByteArray ReadRawLine();
  // Of the file being read: whether it began with a UTF-8 byte-order mark, and its first line
  // end as it stands in the file (empty while no line end has been read).
  bool HasUtf8Mark() const { return m_utf8Mark; }
  const QByteArray& LineEnd() const { return m_lineEnd; }
  void Write(const QString& text);
  void WriteLine(const QString& line);
  void WriteBytes(const QByteArray& bytes);  // already encoded

 private:
  void open(Mode mode);
  void readAll();
  void writeRaw(const QByteArray& bytes);
  void flushOut();
  void discardTemp();

  QString m_fileName;
  CodePage m_cp;
  Mode m_mode = Mode::Closed;
  int m_lockFd = -1;
  int m_outFd = -1;     // where a rewrite goes: the temporary file, or the file itself
  QString m_tempName;   // empty when rewriting in place
  QByteArray m_out;     // output not yet written
  QByteArray m_data;  // the whole file while reading
  qsizetype m_pos = 0;
  bool m_utf8 = false;
  bool m_utf8Mark = false;
  QByteArray m_lineEnd;
};

// Whether files are opened through the retrying driver (false when "noredeftxtfile.ini" is in
// the current directory).
bool TextDriverActive();

// The attempts and the pause between them while a file is held by another program.
constexpr int kTextOpenAttempts = 601;
constexpr int kTextOpenPauseMs = 10;

// A whole string list: saved one line each with CR LF (an empty list gives an empty file),
// loaded line by line (a missing file gives an empty list and creates nothing).
void SaveStringsToFile(const QStringList& list, const QString& fileName,
                       CodePage cp = CodePage::Cp1250);
void LoadStringsFromFile(QStringList& list, const QString& fileName,
                         CodePage cp = CodePage::Cp1250);
