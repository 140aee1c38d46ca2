#pragma once

#include <QApplication>

// The program's application object: an error that escapes a handler of the message loop (a
// slot, a timer, an event of any window) is shown under "HIBA!" and the program goes on.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;

  // QApplication's delivery of event to receiver through the guard; an error counts as an
  // event not handled. What notify does, callable on any QApplication.
  static bool NotifyGuarded(QObject* receiver, QEvent* event);
};
