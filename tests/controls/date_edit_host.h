#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>

#include "form_napt_top.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QDate& d, std::ostream* os) {
  *os << d.toString(Qt::ISODate).toStdString();
}

// An active window holding the edit under test and a plain edit to move the focus to, so that
// entering and leaving happen as they do on a form.
template <class Edit>
struct DateEditHost {
  QWidget window;
  Edit* edit = new Edit(&window);
  QLineEdit* other = new QLineEdit(&window);

  DateEditHost() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(other);
    other->setFocus();  // the edit is entered by the test, not by the window's first focus
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  void Enter() {
    edit->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(edit->hasFocus());
  }
  void Leave() { other->setFocus(Qt::TabFocusReason); }
};

// Runs `drive` on the calendar once it is open (the calendar is modal, so it is reached from
// the event loop), and closes a calendar that is still open after a while so a failing test
// cannot hang.
inline void WhenCalendarOpens(std::function<void(TFormNaptTop*)> drive) {
  QTimer::singleShot(0, [drive] {
    if (!FormNaptTop) {
      ADD_FAILURE() << "the calendar did not open";
      return;
    }
    drive(FormNaptTop);
  });
  QTimer::singleShot(3000, [] {
    if (FormNaptTop) FormNaptTop->reject();
  });
}

// A key pressed and released in w, as a keyboard does it.
inline void Click(QWidget* w, Qt::Key key) { QTest::keyClick(w, key); }
