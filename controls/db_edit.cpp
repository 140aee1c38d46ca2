#include "db_edit.h"

#include <QApplication>
#include <QKeyEvent>

#include "edit_mask.h"
#include "exceptions.h"
#include "field.h"
#include "format_settings.h"
#include "ui_services.h"

bool IsValidFieldChar(const TField* field, QChar c) {
  if (!field) return true;
  const bool sign = c == u'+' || c == u'-';
  const bool digit = c.isDigit() && c.unicode() < 128;
  switch (field->DataType()) {
    case ftInteger:
      return digit || sign;
    case ftFloat:
      return digit || sign || c == DecimalSeparator || c == u'E' || c == u'e';
    default:
      return true;
  }
}

TDBEdit::TDBEdit(QWidget* owner) : TExitEdit(owner) {
  m_dataLink.OnDataChange = [this] { DataChange(); };
  m_dataLink.OnEditingChange = [this] { UpdateReadOnly(); };
  m_dataLink.OnActiveChange = [this] {
    UpdateReadOnly();
    TakeField();
  };
  m_dataLink.OnUpdateData = [this] { UpdateData(); };
  // Only what the user does marks the text changed, not showing the field's value.
  connect(this, &QLineEdit::textEdited, this, [this] { m_dataLink.Modified(); });
  UpdateReadOnly();
}

TDBEdit::~TDBEdit() {
  m_dataLink.ClearHandlers();
}

void TDBEdit::SetDataSource(TDataSource* dataSource) {
  m_dataLink.SetDataSource(dataSource);
  UpdateReadOnly();
  TakeField();
}

void TDBEdit::SetDataField(const QString& name) {
  m_dataLink.SetFieldName(name);
  TakeField();
}

void TDBEdit::SetReadOnly(bool readOnly) {
  m_dataLink.SetReadOnly(readOnly);
  UpdateReadOnly();
}

void TDBEdit::UpdateReadOnly() {
  QLineEdit::setReadOnly(m_dataLink.ReadOnly() || !m_dataLink.Editing());
}

void TDBEdit::TakeField() {
  const TField* field = m_dataLink.Field();
  if (field == m_takenField) return;
  m_takenField = field;
  if (!field) return;
  setInputMask(QtInputMask(field->EditMask()));
  setMaxLength(field->DataType() == ftString && field->Size() > 0 ? field->Size() : 32767);
  setAlignment(field->Alignment() | Qt::AlignVCenter);
  DataChange();
}

void TDBEdit::DataChange() {
  TakeField();
  const TField* field = m_dataLink.Field();
  const QString shown =
      !field ? QString()
             : (Focused() && m_dataLink.CanModify() ? field->Text() : field->DisplayText());
  // Showing the same value again must not lose the caret and the selection.
  if (shown != text()) setText(shown);
}

void TDBEdit::UpdateData() { m_dataLink.Field()->SetText(text()); }

bool TDBEdit::StartEditing() {
  if (m_dataLink.ReadOnly() || !isEnabled() || !m_dataLink.Edit()) {
    QApplication::beep();
    return false;
  }
  m_dataLink.Modified();
  return true;
}

void TDBEdit::Entered() { m_dataLink.Reset(); }

TExitEdit::Leave TDBEdit::Leaving() {
  try {
    m_dataLink.UpdateRecord();
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
    selectAll();
    return Leave::Refuse;
  }
  return Leave::Pass;
}

void TDBEdit::Left() { m_dataLink.Reset(); }

void TDBEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    m_dataLink.Reset();
    selectAll();
    // The dialog still gets its Esc.
    event->ignore();
    return;
  }
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed[0].isPrint();
  if (printable && !IsValidFieldChar(m_dataLink.Field(), typed[0])) {
    QApplication::beep();
    return;
  }
  if (ChangesText(event) && !StartEditing()) return;
  TExitEdit::keyPressEvent(event);
}
