#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <Qt>

class TDataSet;

// Field types of the dataset layer. Integers are 64-bit; amounts are doubles; date fields carry
// a QDate (the empty date is the null QDate), date-time fields a QDateTime (Qt::UTC, null when
// empty) so that writing a row back keeps its time of day, time fields a QTime.
enum TFieldType { ftUnknown, ftString, ftInteger, ftFloat, ftDate, ftTime, ftDateTime };

// One column of a dataset. The value is that of the dataset's current record (the edit buffer
// while editing). A string is null when empty; numbers, dates and times are never null, only
// a dataset without a current record has no values at all.
//
// Display settings (label, width, visibility, ...) belong to the field object and survive a
// Close and Open of its dataset as long as the column keeps its name.
class TField {
 public:
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  TDataSet* DataSet() const { return m_dataSet; }
  const QString& FieldName() const { return m_fieldName; }
  TFieldType DataType() const { return m_dataType; }
  // Characters for string fields; 0 for the others.
  int Size() const { return m_size; }
  // 1-based position of the column in its source (columns the dataset skips keep their
  // numbers), unlike Index, the position among the dataset's fields.
  int FieldNo() const { return m_fieldNo; }
  int Index() const { return m_index; }
  // Decimals of a DECIMAL column, which values are rounded to; -1 for none.
  int DecimalScale() const { return m_decimalScale; }
  // A string of a fixed-length (CHAR) column: the server stores it without its trailing blanks.
  bool FixedLength() const { return m_fixedLength; }
  bool IsNumeric() const { return m_dataType == ftInteger || m_dataType == ftFloat; }

  QString DisplayLabel() const;  // the field name unless set
  void SetDisplayLabel(const QString& label);
  int DisplayWidth() const;  // characters; by type unless set
  void SetDisplayWidth(int width);
  const QString& EditMask() const { return m_editMask; }
  void SetEditMask(const QString& mask) { m_editMask = mask; }
  const QString& DisplayFormat() const { return m_displayFormat; }
  void SetDisplayFormat(const QString& format);
  bool Currency() const { return m_currency; }
  void SetCurrency(bool currency);
  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);
  Qt::Alignment Alignment() const;  // numbers right, others left, unless set
  void SetAlignment(Qt::Alignment alignment);
  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
  // The value may be changed: the field is not read-only and its dataset can be modified.
  bool CanModify() const;

  bool IsNull() const;
  // QString, qlonglong, double, QDate, QDateTime or QTime; invalid when there is no record.
  QVariant Value() const;
  void SetValue(const QVariant& value);
  QString AsString() const;
  void SetAsString(const QString& text);
  qint64 AsInteger() const;
  void SetAsInteger(qint64 value);
  double AsFloat() const;
  void SetAsFloat(double value);
  QDate AsDate() const;
  void SetAsDate(const QDate& date);
  QDateTime AsDateTime() const;  // null for the empty date; midnight for a date field
  void SetAsDateTime(const QDateTime& value);
  // The text to edit: AsString, except that a currency amount shows two decimals.
  QString Text() const;
  void SetText(const QString& text);
  // The text to show: the display format, or grouped thousands with two decimals for a
  // currency amount, or the edit text.
  QString DisplayText() const;
  // Empties the value: an empty string, 0, the empty date.
  void Clear();

  // Text and display text of any value of this field's type (grids show rows that are not
  // current).
  QString TextOf(const QVariant& value, bool display) const;
  // A value of this field's type that a text reads as; raises EConvertError.
  QVariant ValueOfText(const QString& text) const;
  // The empty value of this field's type.
  QVariant EmptyValue() const;

 private:
  friend class TDataSet;
  TField(TDataSet* dataSet, const QString& name);
  void Store(QVariant value);

  TDataSet* m_dataSet;
  QString m_fieldName;
  TFieldType m_dataType = ftUnknown;
  int m_size = 0;
  int m_fieldNo = 0;
  int m_index = -1;
  int m_decimalScale = -1;
  bool m_fixedLength = false;
  QString m_displayLabel;
  int m_displayWidth = -1;
  QString m_editMask;
  QString m_displayFormat;
  bool m_currency = false;
  bool m_visible = true;
  int m_alignment = -1;
  bool m_readOnly = false;
};
