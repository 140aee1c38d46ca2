#include "date_edit.h"

#include <QApplication>

#include "format_settings.h"

TdateEdit::TdateEdit(QWidget* owner) : TCustomDateEdit(owner, false) {
  connect(this, &QLineEdit::textChanged, this, &TdateEdit::TextChanged);
}

void TdateEdit::SetValue(const QDate& value) {
  m_value = value;
  setText(DateToStr(value));
}

void TdateEdit::TextChanged() {
  QDate date;
  if (ReadDate(Text(), date)) m_value = date;
}

bool TdateEdit::CanPopup() const { return isEnabled() && !isReadOnly(); }

QDate TdateEdit::PopupDate() const {
  // An empty edit has no month to show; the empty day of the register is no better.
  return m_value.isValid() && m_value > QDate(1900, 1, 1) ? m_value : QDate::currentDate();
}

void TdateEdit::Picked(const QDate& date) { SetValue(date); }

TExitEdit::Leave TdateEdit::Leaving() {
  const QString text = Text();
  if (!IsEmptyText(text)) {
    QDate date;
    if (!ReadDate(text, date)) {
      QApplication::beep();
      return Leave::Refuse;
    }
    SetValue(date);
  } else if (m_allowEmpty) {
    m_value = QDate();
  } else {
    SetValue(QDate(1900, 1, 1));
  }
  return Leave::Pass;
}
