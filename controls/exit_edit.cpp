#include "exit_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

TExitEdit::TExitEdit(QWidget* owner) : QLineEdit(owner) {}

namespace {
bool windowSwitch(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}
}  // namespace

void TExitEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (m_focused && windowSwitch(event->reason())) return;
  // Focus sent back by a refused leave keeps what was typed.
  if (!m_focused) {
    m_focused = true;
    Entered();
  }
  selectAll();
}

void TExitEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!m_focused || windowSwitch(event->reason())) return;
  const Leave leave = Leaving();
  if (leave == Leave::Refuse) {
    setFocus(Qt::OtherFocusReason);
    return;
  }
  m_focused = false;
  Left();
  if (leave == Leave::Pass) emit exited();
}

bool ChangesText(const QKeyEvent* event) {
  const QString text = event->text();
  return (!text.isEmpty() && text[0].isPrint()) || event->key() == Qt::Key_Backspace ||
         event->key() == Qt::Key_Delete || event->matches(QKeySequence::Paste) ||
         event->matches(QKeySequence::Cut);
}
