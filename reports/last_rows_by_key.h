#pragma once

#include <QHash>
#include <QString>

#include "row_source.h"

class TDataSet;

// The rows of one open dataset, read once for a whole list and ordered by a key, shown one key
// at a time: Seek stands on the last row of that key, or on no row when the key has none. A
// listing that would reopen a query per asset and move to its last row reads it this way once.
class TLastRowsByKey : public TRowSource {
 public:
  TLastRowsByKey(TDataSet& data, const QString& keyField);

  void Seek(const QString& key);
  bool HasRow() const { return m_row > 0; }

  void First() override {}
  void Next() override { m_row = 0; }
  bool Eof() const override { return m_row <= 0; }
  int FieldCount() const override;
  int FindField(const QString& name) const override;
  QString FieldName(int index) const override;
  bool IsNumeric(int index) const override;
  bool IsCurrency(int index) const override;
  // Empty while on no row.
  QString Text(int index) const override;
  QString DisplayText(int index) const override;

 private:
  TDataSet& m_data;
  QHash<QString, int> m_lastRow;  // key -> RecNo of its last row
  int m_row = 0;                  // RecNo; 0 for none
};
