#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TUniSQLDatabase;

// Loading company tables from one CSV file per table (<TABLE>.CSV: the columns of the table in
// order, text optionally in double quotes, no escape character) through the server's bulk
// loader, in one transaction over all tables.

// The five tables, in the order they are loaded.
QStringList CsvImportTables();

enum class CsvTerminator { Semicolon, Comma, Tab };

// What the bulk loader is told to split fields at, as it stands between quotes of the statement.
QString CsvTerminatorText(CsvTerminator terminator);

// The file of table in dir, found without regard to case ("KARTFEJ.CSV", "kartfej.csv"); dir
// may end in a separator and use "\" as one. Empty when there is none (a directory of that
// name is none); a link or a special file of that name is returned as found.
QString FindCsvFile(const QString& dir, const QString& table);
// What may be read for path, a file FindCsvFile found in dir: its real path when that is a
// regular file lying in dir itself (a link there may lead to one); empty otherwise.
QString CsvFileReadPath(const QString& dir, const QString& path);

// The file name as it is shown in messages: dir + "\" + table + ".CSV" (the "\" as the
// separator of dir, "/" when dir has none).
QString CsvFileText(const QString& dir, const QString& table);

// The checks a CSV file passes on its way to the server, byte by byte: lines of at most
// kMaxCsvLine bytes, no NUL byte, no quoted field left open at the end of its line; LF-only line
// ends go on as CR LF; a UTF-8 byte-order mark at the start is dropped.
class CsvStreamFilter {
 public:
  static constexpr int kMaxCsvLine = 64 * 1024;

  CsvStreamFilter(char terminator, bool skipBom);
  // Appends the filtered form of bytes to out; false once the file has failed a check.
  bool Feed(const char* bytes, qsizetype size, QByteArray& out);
  // The end of the file; false when it ends inside a quoted field.
  bool Finish();

  bool Failed() const { return m_errorLine > 0; }
  int ErrorLine() const { return m_errorLine; }
  const QString& ErrorText() const { return m_errorText; }

 private:
  void Fail(int line, const QString& text);

  char m_terminator;
  int m_bomLeft;
  int m_line = 1;
  qsizetype m_lineLength = 0;
  bool m_fieldStart = true;
  bool m_inQuote = false;
  bool m_quoteSeen = false;  // a quote inside a quoted field, not yet known to close it
  bool m_lastCr = false;
  int m_quoteLine = 0;
  int m_errorLine = 0;
  QString m_errorText;
};

struct CsvTableChoice {
  QString table;
  bool load = true;
  bool clear = false;  // empty the table first
};

struct CsvImportOptions {
  QString dir;
  CsvTerminator terminator = CsvTerminator::Semicolon;
  bool skipFirstLine = false;
  bool deleteFiles = false;  // delete each loaded file after the commit
  bool stepMessages = true;  // ask before emptying a table, tell each table loaded
};

enum class CsvImportResult { Done, Refused, NothingToDo };

// The import of the CSV form. Questions come first (emptying a table, adding to a non-empty
// one), missing files are told and their tables left alone; then every chosen table is emptied
// and loaded in one transaction on a connection of its own, the only one that allows
// LOAD DATA LOCAL, and whose handler serves nothing but the file being loaded. A warning of the
// server (a missing or extra field, a value its column refuses) fails like an error: all is
// rolled back and the message names the file and the line. Files are deleted only after the
// commit. All messages go through Ui().
class CsvImport {
 public:
  // settings: the company connection whose server, user and database are used.
  explicit CsvImport(const TUniSQLDatabase& settings);

  // onTable(table, false) before a table is worked on, (table, true) after it.
  CsvImportResult Run(const QList<CsvTableChoice>& tables, const CsvImportOptions& options,
                      const std::function<void(const QString&, bool)>& onTable = {});

 private:
  const TUniSQLDatabase& m_settings;
};
