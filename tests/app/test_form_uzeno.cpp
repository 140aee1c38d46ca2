#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "app_globals.h"
#include "form_setup.h"
#include "form_uzeno.h"
#include "gui_test_util.h"
#include "program_runner.h"
#include "qt_ui_services.h"
#include "scripted_ui.h"

namespace {

TFormUzeno* asUzeno(QWidget* w) {
  auto* form = qobject_cast<TFormUzeno*>(w);
  EXPECT_TRUE(form);
  EXPECT_EQ(form, TFormUzeno::Current());
  return form;
}

}  // namespace

TEST(FormUzeno, AskYesNoIsYesOnlyOnYes) {
  InstallFormEventFilter();
  const struct {
    const char* how;
    std::function<void(TFormUzeno*)> answer;
    bool expected;
  } cases[] = {
      {"Esc", [](TFormUzeno* f) { PressKey(f, Qt::Key_Escape); }, false},
      {"close box", [](TFormUzeno* f) { f->close(); }, false},
      {"F9", [](TFormUzeno* f) { PressKey(f, Qt::Key_F9); }, false},
      {"Enter", [](TFormUzeno* f) { PressKey(f, Qt::Key_Return); }, false},
      {"Space", [](TFormUzeno* f) { PressKey(f, Qt::Key_Space); }, false},  // presses No
      {"No", [](TFormUzeno* f) { f->BtnNo->click(); }, false},
      {"Yes", [](TFormUzeno* f) { f->BtnYes->click(); }, true},
      {"Alt+I", [](TFormUzeno* f) { PressKey(f, Qt::Key_I, Qt::AltModifier); }, true},
      {"i", [](TFormUzeno* f) { TypeText(f, "i"); }, true},
      {"I", [](TFormUzeno* f) { TypeText(f, "I"); }, true},
      {"n", [](TFormUzeno* f) { TypeText(f, "n"); }, false},
      {"Alt+N", [](TFormUzeno* f) { PressKey(f, Qt::Key_N, Qt::AltModifier); }, false},
      {"Left, Enter",
       [](TFormUzeno* f) {
         PressKey(f, Qt::Key_Left);
         PressKey(f, Qt::Key_Return);
       },
       true},
      {"Right, Enter",
       [](TFormUzeno* f) {
         PressKey(f, Qt::Key_Right);
         PressKey(f, Qt::Key_Return);
       },
       true},
      {"Shift+Tab, Enter",
       [](TFormUzeno* f) {
         PressKey(f, Qt::Key_Backtab, Qt::ShiftModifier);
         PressKey(f, Qt::Key_Return);
       },
       true},
      {"Right, Right, Enter",
       [](TFormUzeno* f) {
         PressKey(f, Qt::Key_Right);
         PressKey(f, Qt::Key_Right);
         PressKey(f, Qt::Key_Return);
       },
       false},
  };
  const int savedMode = Globals().CrTabMode;
  // The keyboard mode changes nothing in a question.
  for (int mode : {2, 1})
    for (const auto& c : cases) {
      Globals().CrTabMode = mode;
      QStringList lines;
      bool focusOnNo = false;
      bool buttonsRight = false;
      OnNextModal([&](QWidget* w) {
        TFormUzeno* f = asUzeno(w);
        lines = f->Lines();
        focusOnNo = QApplication::focusWidget() == f->BtnNo;
        buttonsRight = f->BtnYes->isVisible() && f->BtnNo->isVisible() && !f->BtnOK->isVisible() &&
                       !f->BtnClose->isVisible() && f->windowTitle() == "Kérdés" &&
                       CutTexts(f).isEmpty();
        c.answer(f);
      });
      EXPECT_EQ(TFormUzeno::AskYesNo("", "Töröljem?", "x", "Kérdés"), c.expected) << c.how;
      EXPECT_EQ(lines, (QStringList{"", "Töröljem?", "x"})) << c.how;
      EXPECT_TRUE(focusOnNo) << c.how;
      EXPECT_TRUE(buttonsRight) << c.how;
      EXPECT_EQ(TFormUzeno::Current(), nullptr);
    }
  Globals().CrTabMode = savedMode;
}

TEST(FormUzeno, MessagesShowTheirLinesAndCloseOnSpace) {
  QString caption;
  QString memo;
  bool memoFocused = false;
  QStringList cut;
  OnNextModal([&](QWidget* w) {
    TFormUzeno* f = asUzeno(w);
    caption = f->windowTitle();
    memo = f->Memo1->toPlainText();
    cut = CutTexts(f);
    memoFocused = QApplication::focusWidget() == f->Memo1 && f->BtnOK->isVisible() &&
                  f->BtnClose->isVisible() && !f->BtnNo->isVisible();
    PressKey(f, Qt::Key_Space);
  });
  TFormUzeno::ShowMessage2("", "Nincs adat.");
  EXPECT_EQ(caption, "Üzenet");
  EXPECT_EQ(memo, "\nNincs adat.");  // the empty first line stays
  EXPECT_TRUE(memoFocused);
  EXPECT_EQ(cut, QStringList());

  OnNextModal([&](QWidget* w) {
    memo = asUzeno(w)->Memo1->toPlainText();
    caption = w->windowTitle();
    PressKey(w, Qt::Key_F9);
  });
  TFormUzeno::ShowInfoMessage("Első sor\r\nMásodik sor", "HIBA!");
  EXPECT_EQ(caption, "HIBA!");
  EXPECT_EQ(memo, "Első sor\nMásodik sor");
}

TEST(FormUzeno, F10AndF11StartTheCalculatorAndCalendarAndLeaveTheMessageOpen) {
  RecordingRunner runner;
  runner.Then(RecordingRunner::Outcome::Missing);  // a missing calculator shows nothing
  bool stillOpen = false;
  OnNextModal([&](QWidget* w) {
    PressKey(w, Qt::Key_F10);
    PressKey(w, Qt::Key_F11);
    stillOpen = w->isVisible() && QApplication::activeModalWidget() == w;
    w->close();
  });
  TFormUzeno::ShowMessage2("a", "b");
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(runner.Runs().size(), 2);
  EXPECT_EQ(runner.Runs()[0].program, "CALC.EXE");
  EXPECT_EQ(runner.Runs()[1].program, "NAPTAR.EXE");
  EXPECT_TRUE(runner.Runs()[0].detached && runner.Runs()[1].detached);
}

TEST(FormUzeno, ExitButtonAsksAndEndsTheProgramOnlyOnYes) {
  ScriptedUi ui;
  ui.Answer(false).Answer(true);
  bool openAfterNo = false;
  OnNextModal([&](QWidget* w) {
    TFormUzeno* f = asUzeno(w);
    f->BtnClose->click();
    openAfterNo = f->isVisible() && !ui.Terminated();
    f->BtnClose->click();
    f->close();
  });
  TFormUzeno::ShowInfoMessage("x", "y");
  EXPECT_TRUE(openAfterNo);
  EXPECT_TRUE(ui.Terminated());
  ASSERT_EQ(ui.Calls().size(), 3);
  EXPECT_EQ(ui.Calls()[0].lines, (QStringList{"", "Ki akar lépni a programból?", ""}));
  EXPECT_EQ(ui.Calls()[0].caption, "");
}

TEST(FormUzeno, RealExitQuestionEndsTheMessageLoopOnYes) {
  QtUiServices real;
  UiServices* previous = SetUi(&real);
  int questions = 0;
  bool messageReturned = false;
  OnNextModal([&](QWidget* message) {
    OnNextModal([&](QWidget* question) {
      ++questions;
      qobject_cast<TFormUzeno*>(question)->BtnNo->click();
      OnNextModal([&](QWidget* again) {
        ++questions;
        qobject_cast<TFormUzeno*>(again)->BtnYes->click();
      });
      QMetaObject::invokeMethod(
          message, [message] { qobject_cast<TFormUzeno*>(message)->BtnClose->click(); },
          Qt::QueuedConnection);
    });
    qobject_cast<TFormUzeno*>(message)->BtnClose->click();
  });
  // The program's message loop: it ends once Yes was answered.
  QTimer::singleShot(0, [&] {
    TFormUzeno::ShowMessage2("a", "b");
    messageReturned = true;
  });
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_TRUE(messageReturned);
  EXPECT_EQ(questions, 2);
  SetUi(previous);
}
