#pragma once

#include <QDate>
#include <QStringList>
#include <vector>

#include "unisqldataset.h"

// SQL text with :NAME placeholders, opened for rows or executed as a script.
//
// Before the text runs, every placeholder whose name has been set is replaced by its value in
// one left-to-right pass over the text: a name matches only as a whole (the character after it
// is no letter, digit or "_"), without regard to ASCII case, also inside quotes; a replaced
// value is never searched again; names never set stay as written. SetParam inserts its value
// unchanged (numbers, DateToSQL literals, SQL fragments, pieces of table names);
// SetParamEscaped escapes it for a place between quotes, which every text from a user, a file
// or the database needs.
class TUniSQLQuery : public Tunisqldataset {
 public:
  explicit TUniSQLQuery(QObject* owner = nullptr);
  ~TUniSQLQuery() override;

  const QStringList& SQL() const { return m_sql; }
  void SetSQL(const QStringList& lines) { m_sql = lines; }
  void SetSQL(const QString& text);  // split into lines
  // Loads the lines of a UTF-8 script file; raises EInOutError when it cannot be read.
  void LoadSQLFromFile(const QString& fileName);

  // Values stay set for later opens and runs until they are set again.
  void SetParam(const QString& name, const QString& value);
  void SetParamEscaped(const QString& name, const QString& value);

  // Runs the text as statements split at ";" (see SplitSQLStatements), one after the other;
  // the first failing one raises "MySQL Error ..." and those before it stay done.
  void ExecSQL() override;
  // The text as it is sent: lines ended by CR LF, placeholders replaced. Escaped values need
  // the Database to be connected.
  QString SubstitutedText() const;

 protected:
  void InternalOpen() override;

 private:
  struct Param {
    QString name;  // upper-case
    QString value;
    bool escaped;
  };
  void Set(const QString& name, const QString& value, bool escaped);

  QStringList m_sql;
  std::vector<Param> m_params;
};

// Runs sql on database as ExecSQL runs it (statements split at ";"); raises on the first failure.
void RunStatements(TUniSQLDatabase& database, const QStringList& sql);
inline void RunStatements(TUniSQLDatabase& database, const QString& sql) {
  RunStatements(database, QStringList{sql});
}
// Loads script files (LoadSQLFromFile), every one before any runs, then runs them in order as
// ExecSQL runs them: raises EInOutError when a file cannot be read (nothing has run then), and
// on the first failing statement, those before it staying done.
void RunScriptFiles(TUniSQLDatabase& database, const QStringList& fileNames);

// A date as an SQL literal with its quotes: '2006-03-07'; the empty date gives '1900-01-01'.
QString DateToSQL(const QDate& date);

// Splits a script at the ";" that stand outside quotes ('...', "...", with backslash escapes
// and doubled quotes), backtick names and comments (-- and # to the end of the line, /* */).
// Pieces are trimmed of blanks and control characters; pieces holding nothing but blanks and
// comments are dropped.
QStringList SplitSQLStatements(const QString& script);
