#include "db_combo_box.h"

#include <QApplication>

#include "field.h"

TDBComboBox::TDBComboBox(QWidget* owner) : QComboBox(owner) {
  setEditable(false);
  m_dataLink.OnDataChange = [this] { DataChange(); };
  m_dataLink.OnEditingChange = [this] { UpdateReadOnly(); };
  m_dataLink.OnActiveChange = [this] {
    UpdateReadOnly();
    DataChange();
  };
  m_dataLink.OnUpdateData = [this] { UpdateData(); };
  connect(this, &QComboBox::activated, this, &TDBComboBox::Chosen);
  UpdateReadOnly();
}

TDBComboBox::~TDBComboBox() {
  m_dataLink.ClearHandlers();
}

void TDBComboBox::SetDataSource(TDataSource* dataSource) {
  m_dataLink.SetDataSource(dataSource);
  UpdateReadOnly();
  DataChange();
}

void TDBComboBox::SetReadOnly(bool readOnly) {
  m_dataLink.SetReadOnly(readOnly);
  UpdateReadOnly();
}

void TDBComboBox::SetItems(const QStringList& items) {
  m_showing = true;
  clear();
  addItems(items);
  m_showing = false;
  DataChange();
}

QString TDBComboBox::ItemValue(int index) const {
  if (index < 0 || index >= count()) return {};
  const TField* field = m_dataLink.Field();
  const QString text = itemText(index);
  return field && field->Size() > 0 ? text.left(field->Size()) : text;
}

void TDBComboBox::UpdateReadOnly() {
  // A list that cannot be written shows its value but does not open.
  const bool locked = m_dataLink.ReadOnly() || !m_dataLink.CanModify();
  setProperty("readOnly", locked);
}

void TDBComboBox::DataChange() {
  const TField* field = m_dataLink.Field();
  int index = -1;
  if (field) {
    const QString value = field->AsString();
    index = findText(value, Qt::MatchExactly);
    for (int i = 0; index < 0 && i < count(); ++i)
      if (!value.isEmpty() && ItemValue(i) == value) index = i;
  }
  m_showing = true;
  setCurrentIndex(index);
  m_showing = false;
}

void TDBComboBox::UpdateData() {
  if (TField* field = m_dataLink.Field()) field->SetAsString(ItemValue(currentIndex()));
}

void TDBComboBox::Chosen(int index) {
  if (m_showing) return;
  if (m_dataLink.ReadOnly() || !m_dataLink.Edit()) {
    QApplication::beep();
    DataChange();
    return;
  }
  m_dataLink.Modified();
  if (TField* field = m_dataLink.Field()) field->SetAsString(ItemValue(index));
}
