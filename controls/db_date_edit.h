#pragma once

#include "custom_date_edit.h"
#include "data_source.h"

// A date edit bound to a dataset field. Keys that change the text put the dataset into edit
// state first (and are refused when it cannot edit); Esc shows the field's value again; the
// text goes into the field when the edit is left and before the record is posted.
class TDBDateEdit : public TCustomDateEdit {
  Q_OBJECT

 public:
  explicit TDBDateEdit(QWidget* owner = nullptr);
  ~TDBDateEdit() override;

  TDataSource* DataSource() const { return m_dataLink.DataSource(); }
  void SetDataSource(TDataSource* dataSource);
  const QString& DataField() const { return m_dataLink.FieldName(); }
  void SetDataField(const QString& name) { m_dataLink.SetFieldName(name); }
  bool ReadOnly() const { return m_dataLink.ReadOnly(); }
  void SetReadOnly(bool readOnly);
  TField* Field() const { return m_dataLink.Field(); }

 protected:
  Qt::Key PopupKeyCode() const override { return Qt::Key_Down; }
  bool CanPopup() const override;
  QDate PopupDate() const override;
  void Picked(const QDate& date) override;
  void Entered() override;
  Leave Leaving() override;
  void Left() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void DataChange();
  void UpdateData();
  void UpdateReadOnly();
  void ShowText(const QString& text);

  TFieldDataLink m_dataLink;
};
