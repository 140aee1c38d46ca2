#pragma once

#include <QComboBox>

#include "data_source.h"

// A drop-down list bound to a dataset field. Choosing an item puts the dataset into edit state
// (refused, with the field's value shown again, when it cannot edit) and writes the item's text
// into the field, cut to the field's size: items "T Tárgyi eszköz" and "I  Immateriális jav" on a
// one-character field write "T" and "I". The field's value selects the item equal to it, or
// the item it is the beginning of (cut the same way); none when no item fits.
class TDBComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TDBComboBox(QWidget* owner = nullptr);
  ~TDBComboBox() override;

  TDataSource* DataSource() const { return m_dataLink.DataSource(); }
  void SetDataSource(TDataSource* dataSource);
  const QString& DataField() const { return m_dataLink.FieldName(); }
  void SetDataField(const QString& name) { m_dataLink.SetFieldName(name); }
  bool ReadOnly() const { return m_dataLink.ReadOnly(); }
  void SetReadOnly(bool readOnly);
  TField* Field() const { return m_dataLink.Field(); }

  void SetItems(const QStringList& items);
  // The value an item writes into the field.
  QString ItemValue(int index) const;

 private:
  void DataChange();
  void UpdateData();
  void UpdateReadOnly();
  void Chosen(int index);

  TFieldDataLink m_dataLink;
  bool m_showing = false;
};
