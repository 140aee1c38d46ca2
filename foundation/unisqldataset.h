#pragma once

#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "data_set.h"
#include "uni_sql_database.h"

// The dataset over a stored result: it runs one statement on its Database, keeps the whole
// result on the client and converts a row only when it is read. Read-only by itself; the query
// and the table derive from it.
//
// Column types: DECIMAL, NEWDECIMAL, FLOAT and DOUBLE are float fields (DECIMAL values keep
// their column's scale), the integer types 64-bit integer fields, DATE a date, DATETIME and
// TIMESTAMP a date-time, TIME a time, CHAR, VARCHAR, ENUM and SET a string sized in characters;
// other columns (TEXT, BLOB, YEAR, ...) get no field but keep their place in FieldNo. A NULL
// reads as the empty value; a DATE at or before 1900-01-01 (0000-00-00 too) as the empty date.
class Tunisqldataset : public TDataSet {
 public:
  explicit Tunisqldataset(QObject* owner = nullptr);
  ~Tunisqldataset() override;

  TUniSQLDatabase* Database() const { return m_database; }
  void SetDatabase(TUniSQLDatabase* database) { m_database = database; }

  // Runs the statement text as one statement; its rows, if any, are dropped.
  virtual void ExecSQL();
  // Closes and opens again (a new read from the server) and goes back to the same row number.
  void Reopen();
  TDataSetState TableState() const { return State(); }

 protected:
  // The statement that opening or ExecSQL runs.
  const QString& StatementText() const { return m_statement; }
  void SetStatementText(const QString& text) { m_statement = text; }
  // The database's handle; raises "Database not defined!" or "Database not connected!".
  st_mysql* CheckedHandle() const;
  // Sends one statement that returns no rows and gives the rows it matched. With trace, the
  // statement is first written to "teszt.sql" when "teszt.ini" is in the current directory.
  quint64 Execute(const QString& statement, bool trace);

  void InternalOpen() override;
  void InternalClose() override;
  int InternalRecordCount() const override { return static_cast<int>(m_rows.size()); }
  void InternalReadRecord(int row, TRecord& record) const override;
  TBookmark InternalBookmark(int row) const override { return {m_rows[row].id}; }
  int InternalBookmarkRow(const TBookmark& bookmark) const override;
  void InternalPost(TRecord& record, int row, bool inserting) override {}
  void InternalDelete(int row) override {}
  bool GetCanModify() const override { return false; }

  // Changes shown without reading the server again; they last until the dataset closes.
  void ReplaceRow(int row, const TRecord& record);
  void InsertRow(int row, const TRecord& record);
  void RemoveRow(int row);

 private:
  struct Result;
  struct RowRef {
    qint64 id;    // the bookmark: the result row, or a number past them for an inserted row
    int changed;  // index into m_changed, -1 while the row is as the server sent it
  };

  QPointer<TUniSQLDatabase> m_database;
  QString m_statement;
  std::unique_ptr<Result> m_result;
  std::vector<RowRef> m_rows;  // the rows shown, in order
  std::vector<TRecord> m_changed;
  qint64 m_nextId = 0;
};
