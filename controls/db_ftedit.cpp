#include "db_ftedit.h"

#include <QApplication>
#include <QKeyEvent>

#include "currency_edit.h"
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

TDBFTEDit::TDBFTEDit(QWidget* owner) : TExitEdit(owner) {
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

TDBFTEDit::~TDBFTEDit() {
  m_dataLink.OnDataChange = nullptr;
  m_dataLink.OnEditingChange = nullptr;
  m_dataLink.OnActiveChange = nullptr;
  m_dataLink.OnUpdateData = nullptr;
}

void TDBFTEDit::SetDataSource(TDataSource* dataSource) {
  m_dataLink.SetDataSource(dataSource);
  UpdateReadOnly();
  TakeField();
}

void TDBFTEDit::SetDataField(const QString& name) {
  m_dataLink.SetFieldName(name);
  TakeField();
}

void TDBFTEDit::SetReadOnly(bool readOnly) {
  m_dataLink.SetReadOnly(readOnly);
  UpdateReadOnly();
}

void TDBFTEDit::UpdateReadOnly() {
  QLineEdit::setReadOnly(m_dataLink.ReadOnly() || !m_dataLink.Editing());
}

void TDBFTEDit::TakeField() {
  const TField* field = m_dataLink.Field();
  if (field == m_takenField) return;
  m_takenField = field;
  if (!field) return;
  setInputMask(QtInputMask(field->EditMask()));
  setMaxLength(field->DataType() == ftString && field->Size() > 0 ? field->Size() : 32767);
  setAlignment(field->Alignment() | Qt::AlignVCenter);
  DataChange();
}

void TDBFTEDit::DataChange() {
  TakeField();
  const TField* field = m_dataLink.Field();
  const QString shown =
      !field ? QString()
             : (Focused() && m_dataLink.CanModify() ? field->Text() : field->DisplayText());
  // Showing the same value again must not lose the caret and the selection.
  if (shown != text()) setText(shown);
}

void TDBFTEDit::UpdateData() { m_dataLink.Field()->SetText(text()); }

bool TDBFTEDit::StartEditing() {
  if (m_dataLink.ReadOnly() || !isEnabled() || !m_dataLink.Edit()) {
    QApplication::beep();
    return false;
  }
  m_dataLink.Modified();
  return true;
}

void TDBFTEDit::Entered() { m_dataLink.Reset(); }

TExitEdit::Leave TDBFTEDit::Leaving() {
  try {
    m_dataLink.UpdateRecord();
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
    selectAll();
    return Leave::Refuse;
  }
  return Leave::Pass;
}

void TDBFTEDit::Left() { m_dataLink.Reset(); }

void TDBFTEDit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    m_dataLink.Reset();
    selectAll();
    // The dialog still gets its Esc.
    event->ignore();
    return;
  }
  const auto calculated = [this](const QString& result) {
    // A result that is no number ("Error") is not taken.
    double value = 0;
    if (TextToFloat(result, value)) setText(result);
  };
  // The amount keys belong to amounts: a name, a remark or a date takes "c", "k", "," and "."
  // as they are typed.
  const TField* field = m_dataLink.Field();
  const bool amount = field && field->IsNumeric();
  // "k" on a read-only edit opens nothing.
  if (amount && m_dataLink.ReadOnly() &&
      event->text().compare(QLatin1String("k"), Qt::CaseInsensitive) == 0)
    return;
  const auto canChange = [this] { return StartEditing(); };
  if (amount && AmountKey(this, event, canChange, calculated)) return;
  std::unique_ptr<QKeyEvent> decimal = amount ? DecimalKey(event) : nullptr;
  QKeyEvent* key = decimal ? decimal.get() : event;
  const QString typed = key->text();
  const bool printable = !typed.isEmpty() && typed[0].isPrint();
  if (printable && !IsValidFieldChar(m_dataLink.Field(), typed[0])) {
    QApplication::beep();
    return;
  }
  if (ChangesText(key) && !StartEditing()) return;
  TExitEdit::keyPressEvent(key);
}
