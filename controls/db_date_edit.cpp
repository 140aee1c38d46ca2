#include "db_date_edit.h"

#include <QApplication>
#include <QKeyEvent>

#include "exceptions.h"
#include "format_settings.h"
#include "ui_services.h"

TDBDateEdit::TDBDateEdit(QWidget* owner) : TCustomDateEdit(owner, true) {
  m_dataLink.OnDataChange = [this] { DataChange(); };
  m_dataLink.OnEditingChange = [this] { UpdateReadOnly(); };
  m_dataLink.OnActiveChange = [this] { UpdateReadOnly(); };
  m_dataLink.OnUpdateData = [this] { UpdateData(); };
  // Only what the user does marks the text changed, not showing the field's value.
  connect(this, &QLineEdit::textEdited, this, [this] { m_dataLink.Modified(); });
  UpdateReadOnly();
}

TDBDateEdit::~TDBDateEdit() {
  m_dataLink.ClearHandlers();
}

void TDBDateEdit::SetDataSource(TDataSource* dataSource) {
  m_dataLink.SetDataSource(dataSource);
  UpdateReadOnly();
}

void TDBDateEdit::SetReadOnly(bool readOnly) {
  m_dataLink.SetReadOnly(readOnly);
  UpdateReadOnly();
}

void TDBDateEdit::UpdateReadOnly() {
  QLineEdit::setReadOnly(m_dataLink.ReadOnly() || !m_dataLink.Editing());
}

void TDBDateEdit::ShowText(const QString& text) {
  // Showing the same value again must not lose the caret and the selection.
  if (IsEmptyText(text) ? IsEmptyText(Text()) : text == Text()) return;
  setText(text);
}

void TDBDateEdit::DataChange() {
  const TField* field = m_dataLink.Field();
  if (!field) {
    ShowText(QString());
    return;
  }
  ShowText(Focused() && m_dataLink.CanModify() ? field->Text() : field->DisplayText());
}

void TDBDateEdit::UpdateData() { m_dataLink.Field()->SetText(Text().left(10)); }

bool TDBDateEdit::CanPopup() const { return isEnabled() && m_dataLink.CanModify(); }

QDate TDBDateEdit::PopupDate() const {
  QDate date;
  return ReadDate(Text(), date) ? date : QDate::currentDate();
}

void TDBDateEdit::Picked(const QDate& date) {
  // The picked day is typing too: without an editing dataset it could not be written back.
  if (!m_dataLink.Edit()) {
    QApplication::beep();
    return;
  }
  setText(DateToStr(date));
  m_dataLink.Modified();
}

void TDBDateEdit::Entered() { m_dataLink.Reset(); }

TExitEdit::Leave TDBDateEdit::Leaving() {
  const QString text = Text();
  QDate date;
  if (!IsEmptyText(text) && !ReadDate(text, date)) {
    QApplication::beep();
    return Leave::Refuse;
  }
  try {
    m_dataLink.UpdateRecord();
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
    return Leave::Refuse;
  }
  return Leave::Pass;
}

void TDBDateEdit::Left() { m_dataLink.Reset(); }

void TDBDateEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    m_dataLink.Reset();
    selectAll();
    // The dialog still gets its Esc.
    event->ignore();
    return;
  }
  if (ChangesText(event) && !m_dataLink.Edit()) {
    QApplication::beep();
    return;
  }
  TCustomDateEdit::keyPressEvent(event);
}
