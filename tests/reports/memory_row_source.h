#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <vector>

#include "exceptions.h"
#include "format_settings.h"
#include "row_source.h"
#include "wreport.h"

// Rows held in memory for the report tests. A cell holding an invalid QVariant cannot be read:
// its text throws, as a field of a broken dataset would.
class TMemoryRowSource : public TRowSource {
 public:
  enum class Kind { String, Integer, Float, Currency };
  struct Column {
    QString Name;
    Kind Type;
  };

  explicit TMemoryRowSource(QList<Column> columns) : m_columns(std::move(columns)) {}

  // The texts of a row are made when it is added, as a dataset holds its fetched rows.
  void AddRow(const QVariantList& values) {
    std::vector<Cell> row;
    for (int i = 0; i < m_columns.size(); ++i) {
      const QVariant& v = values.value(i);
      row.push_back(
          {v.isValid(), format(m_columns[i].Type, v, false), format(m_columns[i].Type, v, true)});
    }
    m_rows.push_back(std::move(row));
  }
  int RowCount() const { return int(m_rows.size()); }
  int Row() const { return m_row; }
  void SetRow(int row) { m_row = row; }

  void First() override { m_row = 0; }
  void Next() override {
    if (m_row < RowCount()) ++m_row;
  }
  bool Eof() const override { return m_row >= RowCount(); }
  int FieldCount() const override { return int(m_columns.size()); }
  int FindField(const QString& name) const override {
    for (int i = 0; i < m_columns.size(); ++i) {
      if (m_columns[i].Name.compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
  }
  QString FieldName(int index) const override { return m_columns[index].Name; }
  bool IsNumeric(int index) const override { return m_columns[index].Type != Kind::String; }
  bool IsCurrency(int index) const override { return m_columns[index].Type == Kind::Currency; }
  QString Text(int index) const override { return text(index, false); }
  QString DisplayText(int index) const override { return text(index, true); }

 private:
  struct Cell {
    bool Valid;
    QString Text;
    QString Display;
  };
  static QString format(Kind type, const QVariant& v, bool display) {
    if (!v.isValid()) return {};
    switch (type) {
      case Kind::String:
        return v.toString();
      case Kind::Integer:
        return QString::number(v.toLongLong());
      case Kind::Float:
        return QString::number(v.toDouble(), 'g', 15);
      case Kind::Currency:
        return display ? ReportSumText(v.toDouble(), true) : QString::number(v.toDouble(), 'f', 2);
    }
    return {};
  }
  QString text(int index, bool display) const {
    // Past the last row the last row stays current, as a dataset's does.
    const int row = m_row < RowCount() ? m_row : RowCount() - 1;
    if (row < 0) return {};
    const Cell& c = m_rows[row][index];
    if (!c.Valid) throw Exception(QStringLiteral("unreadable ") + m_columns[index].Name);
    return display ? c.Display : c.Text;
  }

  QList<Column> m_columns;
  std::vector<std::vector<Cell>> m_rows;
  int m_row = 0;
};
