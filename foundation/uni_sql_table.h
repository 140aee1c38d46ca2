#pragma once

#include "unisqldataset.h"

// An editable dataset over one table. It reads the table with a generated SELECT and writes
// every post and delete back at once as an INSERT, UPDATE or DELETE; there is no key and no
// transaction, so a row is identified by the values of all its fields. Changes are shown
// without reading the table again (only Reopen reads it again).
//
// Values and row conditions are built from the field values, never from display texts: texts
// escaped and compared byte for byte (case, accents and trailing blanks count), doubles in
// their shortest exact form, dates as DateToSQL. A posted row is kept as the server stores it
// (a CHAR column without its trailing blanks), so the next write-back finds it. An empty date is
// written as 1900-01-01 and matched as 1900-01-01, 0000-00-00 or NULL; an empty text or a zero
// number also matches NULL. UPDATE and DELETE change at most one row (identical rows may exist),
// and one that matches no row (another workstation changed it) raises and leaves the dataset as it
// was, in its editing state for a post.
class TUniSQLTable : public Tunisqldataset {
 public:
  explicit TUniSQLTable(QObject* owner = nullptr);
  ~TUniSQLTable() override;

  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
  const QString& Tablename() const { return m_tablename; }
  void SetTablename(const QString& name) { m_tablename = name; }
  // The ORDER BY list; empty for none.
  const QString& IndexFields() const { return m_indexFields; }
  void SetIndexFields(const QString& fields) { m_indexFields = fields; }
  // A WHERE condition, used while Filtered is true. Both take effect at the next open.
  const QString& Filter() const { return m_filter; }
  void SetFilter(const QString& filter) { m_filter = filter; }
  bool Filtered() const { return m_filtered; }
  void SetFiltered(bool filtered) { m_filtered = filtered; }
  // An integer field that a new row gets numbered in: the table's highest value + 1, taken
  // under LOCK TABLES ... WRITE until the INSERT is done; inside a transaction with
  // SELECT ... FOR UPDATE instead, and inside a lock of the caller under that lock, so neither
  // is ended. Empty for none.
  const QString& AutoIncField() const { return m_autoIncField; }
  void SetAutoIncField(const QString& name) { m_autoIncField = name; }

 protected:
  bool GetCanModify() const override { return !m_readOnly; }
  void InternalOpen() override;
  void InternalEdit() override;
  void InternalPost(TRecord& record, int row, bool inserting) override;
  void InternalDelete(int row) override;

 private:
  QString RowCondition(const TRecord& record) const;
  QString ValueText(const TField* field, const QVariant& value) const;
  void StoredForm(TRecord& record) const;
  qint64 NextNumber(const QString& fieldName, bool forUpdate);
  void ExecuteOneRow(const QString& statement);

  bool m_readOnly = false;
  QString m_tablename;
  QString m_indexFields;
  QString m_filter;
  bool m_filtered = false;
  QString m_autoIncField;
  TRecord m_editRecord;  // the row as it was when editing began; the UPDATE finds it by it
};
