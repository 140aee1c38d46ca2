#include "dialog_keys.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>

#include "app_globals.h"

namespace {

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// As Tab would: the next control of window that takes the focus.
void FocusNext(QWidget* window) {
  QWidget* from = window->focusWidget();
  if (!from) return;
  for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain())
    // Parts of a control (a spin box's edit) lead back to the control itself.
    if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && !from->isAncestorOf(w) &&
        w->isVisibleTo(window) && w->isEnabled() && w->window() == window) {
      w->setFocus(Qt::TabFocusReason);
      // As Tab does: a field in a scroll box (a grid's cell) is scrolled into view.
      for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (auto* box = qobject_cast<QScrollArea*>(p)) box->ensureWidgetVisible(w);
      return;
    }
}

// Whether the window holds anything to type into or choose from (a box with buttons only has
// none).
bool HasFields(QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>())
    if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisibleTo(window) &&
        w->isEnabled() && !qobject_cast<QPushButton*>(w))
      return true;
  return false;
}

// Sees the keys before the focused control does.
class DialogKeys : public QObject {
 public:
  DialogKeys(QDialog* dialog, std::function<void()> confirm, std::function<void()> enter)
      : QObject(dialog),
        m_dialog(dialog),
        m_confirm(std::move(confirm)),
        m_enter(enter ? std::move(enter) : m_confirm) {}

  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    if (key->key() == Qt::Key_F9) {
      m_confirm();
      return true;
    }
    if (!IsEnter(key->key())) return false;
    // A box of buttons only: Enter presses the focused one, in either mode.
    if (auto* button = qobject_cast<QPushButton*>(m_dialog->focusWidget());
        button && !HasFields(m_dialog)) {
      button->click();
      return true;
    }
    if (Globals().CrTabMode == 1)
      FocusNext(m_dialog);
    else
      m_enter();
    return true;
  }

 private:
  QDialog* m_dialog;
  std::function<void()> m_confirm;
  std::function<void()> m_enter;
};

// Watches every key of the window, controls added later included; the menu bar keeps its own
// Enter (it opens the highlighted menu).
class FormKeys : public QObject {
 public:
  explicit FormKeys(QWidget* form) : QObject(form), m_form(form) { qApp->installEventFilter(this); }

  bool eventFilter(QObject* receiver, QEvent* e) override {
    if (e->type() != QEvent::KeyPress || m_forwarding || Globals().CrTabMode != 1 ||
        !receiver->isWidgetType())
      return false;
    auto* target = static_cast<QWidget*>(receiver);
    if (target->window() != m_form || qobject_cast<QMenuBar*>(target)) return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    if (IsEnter(key->key())) {
      FocusNext(m_form);
      return true;
    }
    if (key->key() != Qt::Key_F9) return false;
    m_forwarding = true;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    m_forwarding = false;
    return true;
  }

 private:
  QWidget* m_form;
  bool m_forwarding = false;
};

}  // namespace

void InstallDialogKeys(QDialog* dialog, std::function<void()> confirm,
                       std::function<void()> enter) {
  auto* keys = new DialogKeys(dialog, std::move(confirm), std::move(enter));
  dialog->installEventFilter(keys);
  for (QWidget* w : dialog->findChildren<QWidget*>()) w->installEventFilter(keys);
}

void InstallFormKeys(QWidget* form) { new FormKeys(form); }
