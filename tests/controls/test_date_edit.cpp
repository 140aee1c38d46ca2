#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "date_button.h"
#include "date_edit.h"
#include "date_edit_host.h"

namespace {

TEST(DateEdit, TypedDateIsTheValueAtOnce) {
  DateEditHost<TdateEdit> h;
  QSignalSpy exited(h.edit, &TdateEdit::exited);
  EXPECT_EQ(h.edit->Text(), QStringLiteral("    .  .  "));
  EXPECT_FALSE(h.edit->Value().isValid());
  h.Enter();
  QTest::keyClicks(h.edit, "2024031");
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.1 "));
  EXPECT_EQ(h.edit->Value(), QDate(2024, 3, 1));
  QTest::keyClicks(h.edit, "0");
  EXPECT_EQ(h.edit->Value(), QDate(2024, 3, 10));
  h.Leave();
  EXPECT_EQ(exited.count(), 1);
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.10"));
}

TEST(DateEdit, LettersAreDropped) {
  DateEditHost<TdateEdit> h;
  h.Enter();
  QTest::keyClicks(h.edit, "2024x03-10");
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.10"));
}

TEST(DateEdit, EntryWritingAndSelectAll) {
  DateEditHost<TdateEdit> h;
  h.edit->SetValue(QDate(2024, 3, 10));
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.10"));
  h.Enter();
  EXPECT_EQ(h.edit->selectedText(), QStringLiteral("2024.03.10"));
  // Typing over the selection replaces the whole date.
  QTest::keyClicks(h.edit, "20250101");
  EXPECT_EQ(h.edit->Value(), QDate(2025, 1, 1));
}

TEST(DateEdit, EmptiedEditOnLeaving) {
  for (const bool allowEmpty : {false, true}) {
    DateEditHost<TdateEdit> h;
    h.edit->SetAllowEmpty(allowEmpty);
    h.edit->SetValue(QDate(2024, 3, 10));
    h.Enter();
    QTest::keyClick(h.edit, Qt::Key_Delete);  // the whole date is selected
    EXPECT_EQ(h.edit->Text(), QStringLiteral("    .  .  "));
    // An emptied text reads as no date: the value stays until the edit is left.
    EXPECT_EQ(h.edit->Value(), QDate(2024, 3, 10));
    h.Leave();
    EXPECT_FALSE(h.edit->hasFocus()) << allowEmpty;
    if (allowEmpty) {
      EXPECT_FALSE(h.edit->Value().isValid());
      EXPECT_EQ(h.edit->Text(), QStringLiteral("    .  .  "));
    } else {
      EXPECT_EQ(h.edit->Value(), QDate(1900, 1, 1));
      EXPECT_EQ(h.edit->Text(), QStringLiteral("1900.01.01"));
    }
  }
}

TEST(DateEdit, NoDateKeepsTheFocusAndTheValue) {
  struct Case {
    const char* typed;
    QDate value;  // the last text that read as a date while typing, or the value before
  } cases[] = {
      {"20241301", QDate(2024, 3, 10)}, {"2024", QDate(2024, 3, 10)},
      {"202401", QDate(2024, 3, 10)},   {"00000101", QDate(2024, 3, 10)},
      {"20240230", QDate(2024, 2, 3)},
  };
  for (const Case& c : cases) {
    DateEditHost<TdateEdit> h;
    QSignalSpy exited(h.edit, &TdateEdit::exited);
    h.edit->SetValue(QDate(2024, 3, 10));
    h.Enter();
    QTest::keyClicks(h.edit, c.typed);
    const QString typed = h.edit->Text();
    h.Leave();
    EXPECT_TRUE(h.edit->hasFocus()) << c.typed;
    EXPECT_EQ(exited.count(), 0) << c.typed;
    EXPECT_EQ(h.edit->Value(), c.value) << c.typed;
    EXPECT_EQ(h.edit->Text(), typed) << c.typed;
    // Once the date is mended the edit can be left.
    h.edit->selectAll();
    QTest::keyClicks(h.edit, "20240311");
    h.Leave();
    EXPECT_TRUE(h.other->hasFocus()) << c.typed;
    EXPECT_EQ(exited.count(), 1) << c.typed;
    EXPECT_EQ(h.edit->Value(), QDate(2024, 3, 11));
  }
}

TEST(DateEdit, LeavingIntoAnotherDateEditLeavesItUntouched) {
  // The focus sent back from a refused leave must not make the other edit "left".
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* first = new TdateEdit(&window);
  auto* second = new TdateEdit(&window);
  layout->addWidget(first);
  layout->addWidget(second);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  first->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(first, "20241301");
  second->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(first->hasFocus());
  EXPECT_EQ(second->Text(), QStringLiteral("    .  .  "));
  EXPECT_FALSE(second->Value().isValid());
}

TEST(DateEdit, CalendarFromThePopupKeyAndTheButton) {
  DateEditHost<TdateEdit> h;
  h.edit->SetValue(QDate(2024, 1, 31));
  h.Enter();
  WhenCalendarOpens([](TFormNaptTop* form) {
    // The popup key's release comes to the open calendar: it only opened it.
    QTest::keyRelease(form, Qt::Key_Down);
    EXPECT_EQ(form->Date(), QDate(2024, 1, 31));
    Click(form, Qt::Key_PageDown);
    Click(form, Qt::Key_Return);
  });
  QTest::keyPress(h.edit, Qt::Key_Down);
  EXPECT_EQ(FormNaptTop, nullptr);
  EXPECT_EQ(h.edit->Value(), QDate(2024, 3, 2));
  EXPECT_EQ(h.edit->Text(), QStringLiteral("2024.03.02"));

  // Another popup key; Esc keeps the value.
  h.edit->SetPopupKey(Qt::Key_F2);
  WhenCalendarOpens([](TFormNaptTop* form) {
    QTest::keyRelease(form, Qt::Key_F2);
    Click(form, Qt::Key_Right);
    Click(form, Qt::Key_Escape);
  });
  QTest::keyPress(h.edit, Qt::Key_F2);
  EXPECT_EQ(h.edit->Value(), QDate(2024, 3, 2));

  WhenCalendarOpens([](TFormNaptTop* form) {
    Click(form, Qt::Key_End);
    Click(form, Qt::Key_Return);
  });
  QTest::mouseClick(h.edit->Button(), Qt::LeftButton);
  EXPECT_EQ(h.edit->Value(), QDate(2023, 3, 2));
}

TEST(DateEdit, EmptyEditOpensTheCalendarOnToday) {
  DateEditHost<TdateEdit> h;
  QDate shown;
  WhenCalendarOpens([&shown](TFormNaptTop* form) {
    shown = form->Date();
    Click(form, Qt::Key_Escape);
  });
  h.edit->Popup();
  EXPECT_EQ(shown, QDate::currentDate());
}

TEST(DateEdit, CalendarOpensAboveAnEditAtTheBottomOfTheScreen) {
  DateEditHost<TdateEdit> h;
  const QRect screen = h.window.screen()->geometry();
  h.window.move(10, screen.height() - h.window.height() - 5);
  QTest::qWait(10);
  const QRect edit(h.edit->mapToGlobal(QPoint(0, 0)), h.edit->size());
  QRect placed;
  WhenCalendarOpens([&placed](TFormNaptTop* form) {
    placed = form->geometry();
    Click(form, Qt::Key_Escape);
  });
  h.edit->Popup();
  EXPECT_EQ(placed.bottom() + 1, edit.top());
  EXPECT_EQ(placed.left(), edit.left() + 1);
}

TEST(DateEdit, ButtonIsSquareAtTheRightEdgeAndTakesNoFocus) {
  DateEditHost<TdateEdit> h;
  h.edit->resize(120, 24);
  const QRect button = h.edit->Button()->geometry();
  EXPECT_EQ(button, QRect(120 - 24, 0, 24, 24));
  EXPECT_EQ(h.edit->Button()->focusPolicy(), Qt::NoFocus);
}

TEST(DateEdit, ReadOnlyEditOpensNoCalendar) {
  DateEditHost<TdateEdit> h;
  h.edit->SetValue(QDate(2024, 3, 10));
  h.edit->setReadOnly(true);
  h.Enter();
  QTimer::singleShot(500, [] {
    if (FormNaptTop) {
      ADD_FAILURE() << "the calendar opened";
      FormNaptTop->reject();
    }
  });
  QTest::keyClick(h.edit, Qt::Key_Down);
  EXPECT_EQ(FormNaptTop, nullptr);
  EXPECT_EQ(h.edit->Value(), QDate(2024, 3, 10));
}

}  // namespace
