#include "custom_date_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScreen>

#include "date_button.h"
#include "form_napt_top.h"
#include "format_settings.h"

const QString TCustomDateEdit::EmptyText = QStringLiteral("    .  .  ");

TCustomDateEdit::TCustomDateEdit(QWidget* owner, bool dataAware)
    : TExitEdit(owner), m_button(dataAware ? new TDBDateButton(this) : new TdateButton(this)) {
  // Digits may be left out, so a half-typed date is kept for the leave to judge.
  setInputMask(QStringLiteral("0000.00.00;_"));
  connect(m_button, &QToolButton::clicked, this, &TCustomDateEdit::Popup);
}

QString TCustomDateEdit::Text() const {
  QString text = displayText();
  text.replace(u'_', u' ');
  return text;
}

bool TCustomDateEdit::IsEmptyText(const QString& text) {
  return text.isEmpty() || text == EmptyText;
}

bool TCustomDateEdit::ReadDate(const QString& text, QDate& date) {
  QDateTime value;
  if (!TextToDateTime(text.left(10), value) || !value.isValid()) return false;
  date = value.date();
  return true;
}

void TCustomDateEdit::Popup() {
  if (!CanPopup()) {
    QApplication::beep();
    return;
  }
  TFormNaptTop form(this);
  form.SetDate(PopupDate());
  form.move(TFormNaptTop::PlaceUnder(QRect(mapToGlobal(QPoint(0, 0)), size()), form.size(),
                                     screen()->geometry().size()));
  if (form.exec() == QDialog::Accepted) Picked(form.Date());
}

void TCustomDateEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == PopupKeyCode() &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    Popup();
    return;
  }
  // The mask takes digits and skips over a typed separator; anything else is refused aloud.
  const QString text = event->text();
  if (!text.isEmpty() && text[0].isPrint() && !text[0].isDigit() && text[0] != u'.') {
    QApplication::beep();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TCustomDateEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int side = height();
  m_button->setGeometry(width() - side, 0, side, side);
  // Keep the text clear of the button.
  setTextMargins(0, 0, side, 0);
}

QSize TCustomDateEdit::sizeHint() const {
  // A whole date and the button beside it at the edit's own font: the plain edit's hint is
  // made for 17 "x" and the current margins.
  const QSize hint = QLineEdit::sizeHint();
  const QMargins margins = textMargins();
  const int plain = fontMetrics().horizontalAdvance(u'x') * 17 + margins.right();
  const int wanted = fontMetrics().horizontalAdvance(QStringLiteral("2026.12.31")) + 2 +
                     qMax(margins.right(), hint.height());
  return QSize(hint.width() - plain + wanted, hint.height());
}

QSize TCustomDateEdit::minimumSizeHint() const {
  return QSize(sizeHint().width(), QLineEdit::minimumSizeHint().height());
}
