#include "exit_edit.h"

#include <QFocusEvent>

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
