#pragma once

#include "row_source.h"

class TDataSet;

// The rows of an open dataset as a report walks them.
class TDataSetRowSource : public TRowSource {
 public:
  explicit TDataSetRowSource(TDataSet& dataSet) : m_dataSet(dataSet) {}

  void First() override;
  void Next() override;
  bool Eof() const override;
  int FieldCount() const override;
  int FindField(const QString& name) const override;
  QString FieldName(int index) const override;
  bool IsNumeric(int index) const override;
  bool IsCurrency(int index) const override;
  QString Text(int index) const override;
  QString DisplayText(int index) const override;

 private:
  TDataSet& m_dataSet;
};
