#include "gui_test_util.h"

#include <gtest/gtest.h>

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

void PressKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = w;
  if (w->isWindow() && w->focusWidget()) target = w->focusWidget();
  QTest::keyClick(target, Qt::Key(key), modifiers);
}

UrlRecorder::UrlRecorder() {
  QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
}

UrlRecorder::~UrlRecorder() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
