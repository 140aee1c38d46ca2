#pragma once

#include <QString>

// The rows a report walks and its fields read, as the report sees a data source: a cursor over
// the rows and, for the current row, each field's edit text and display text. A dataset adapter
// implements it over a data source; tests use rows held in memory.
class TRowSource {
 public:
  virtual ~TRowSource() = default;

  virtual void First() = 0;
  virtual void Next() = 0;
  virtual bool Eof() const = 0;

  virtual int FieldCount() const = 0;
  // The position of a field by its name (case-insensitive); -1 when there is none.
  virtual int FindField(const QString& name) const = 0;
  virtual QString FieldName(int index) const = 0;
  // Small integer, integer, float or currency: the kinds a group sums.
  virtual bool IsNumeric(int index) const = 0;
  virtual bool IsCurrency(int index) const = 0;
  // The plain text form of the current row's value; may throw Exception.
  virtual QString Text(int index) const = 0;
  // The text a data-aware label shows for the current row; may throw Exception.
  virtual QString DisplayText(int index) const = 0;
};
