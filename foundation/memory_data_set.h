#pragma once

#include <QVariantList>

#include "data_set.h"

// A dataset held in memory, for testing controls and grids without a server. Its fields are
// defined before opening; its rows stay when it is closed and opened again.
class TMemoryDataSet : public TDataSet {
 public:
  explicit TMemoryDataSet(QObject* owner = nullptr);
  ~TMemoryDataSet() override;

  // Defines a field; only while closed. Size is in characters, for strings.
  void AddFieldDef(const QString& name, TFieldType type, int size = 0);
  // Appends and posts a row with the values in field order (open datasets only).
  void AppendRecord(const QVariantList& values);
  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }

 protected:
  void InternalOpen() override;
  void InternalClose() override {}
  int InternalRecordCount() const override { return static_cast<int>(m_rows.size()); }
  void InternalReadRecord(int row, TRecord& record) const override;
  TBookmark InternalBookmark(int row) const override;
  int InternalBookmarkRow(const TBookmark& bookmark) const override;
  void InternalPost(TRecord& record, int row, bool inserting) override;
  void InternalDelete(int row) override;
  bool GetCanModify() const override { return !m_readOnly; }

 private:
  struct Def {
    QString name;
    TFieldType type;
    int size;
  };
  struct Row {
    qint64 id;
    TRecord values;
  };
  std::vector<Def> m_defs;
  std::vector<Row> m_rows;
  qint64 m_nextId = 0;
  bool m_readOnly = false;
};
