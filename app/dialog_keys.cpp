#include "dialog_keys.h"

#include <QDialog>
#include <QKeyEvent>

#include "app_globals.h"

namespace {

// Sees the keys before the focused control does.
class DialogKeys : public QObject {
 public:
  DialogKeys(QDialog* dialog, std::function<void()> confirm)
      : QObject(dialog), m_dialog(dialog), m_confirm(std::move(confirm)) {}

  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    switch (key->key()) {
      case Qt::Key_F9:
        m_confirm();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (Globals().CrTabMode == 1)
          focusNext();
        else
          m_confirm();
        return true;
      default:
        return false;
    }
  }

 private:
  void focusNext() {
    QWidget* from = m_dialog->focusWidget();
    if (!from) return;
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain())
      // Parts of a control (a spin box's edit) lead back to the control itself.
      if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && !from->isAncestorOf(w) &&
          w->isVisibleTo(m_dialog) && w->isEnabled() && w->window() == m_dialog) {
        w->setFocus(Qt::TabFocusReason);
        return;
      }
  }

  QDialog* m_dialog;
  std::function<void()> m_confirm;
};

}  // namespace

void InstallDialogKeys(QDialog* dialog, std::function<void()> confirm) {
  auto* keys = new DialogKeys(dialog, std::move(confirm));
  dialog->installEventFilter(keys);
  for (QWidget* w : dialog->findChildren<QWidget*>()) w->installEventFilter(keys);
}
