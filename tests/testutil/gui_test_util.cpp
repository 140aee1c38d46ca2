#include "gui_test_util.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

void OnNextModal(std::function<void(QWidget*)> act, int timeoutMs) {
  // The dialog that is already up when this is called is not the next one.
  QPointer<QWidget> before = QApplication::activeModalWidget();
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, timer, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != before && modal->isVisible() && modal->isActiveWindow()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    } else if (clock->elapsed() > timeoutMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal dialog appeared";
    }
  });
  timer->start(10);
}

bool TriggerAndAct(QAction* action, const std::function<void(QWidget*)>& act) {
  bool reached = false;
  OnNextModal([&](QWidget* w) {
    reached = true;
    act(w);
  });
  action->trigger();
  return reached;
}

void PressKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = w;
  if (w->isWindow() && w->focusWidget()) target = w->focusWidget();
  QTest::keyClick(target, Qt::Key(key), modifiers);
}

namespace {

// The key code a keyboard sends with a character: letters by their capital (Qt's key codes for
// Latin letters are their upper-case code points), the rest by their own code point.
Qt::Key KeyOf(QChar c) {
  if (c.isLetter()) return Qt::Key(c.toUpper().unicode());
  if (c == u'\t') return Qt::Key_Tab;
  return Qt::Key(c.unicode());
}

}  // namespace

void TypeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QWidget* target = w;
    if (w->isWindow() && w->focusWidget()) target = w->focusWidget();
    const Qt::KeyboardModifiers modifiers =
        c.isLetter() && c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::sendKeyEvent(QTest::Click, target, KeyOf(c), QString(c), modifiers);
  }
}

UrlRecorder::UrlRecorder() {
  QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
}

UrlRecorder::~UrlRecorder() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
