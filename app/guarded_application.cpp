#include "guarded_application.h"

#include "ui_services.h"

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  return NotifyGuarded(receiver, event);
}

bool GuardedApplication::NotifyGuarded(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunGuarded([&] { handled = qApp->QApplication::notify(receiver, event); },
             [] {
               // The hourglass of the failed work goes before the message shows.
               while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
             });
  return handled;
}
