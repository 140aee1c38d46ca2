#include <gtest/gtest.h>

#include "scripted_ui.h"

TEST(ScriptedUi, AnswersInOrderAndRestoresPrevious) {
  {
    ScriptedUi ui;
    ui.Answer(true).Answer(mbCancel).Answer(QStringLiteral("/tmp/x.zip"));
    EXPECT_TRUE(Ui().AskYesNo("", "Ki akar lépni a programból?", "", ""));
    EXPECT_EQ(Ui().MessageBox("t", "c", MsgType::Confirmation, mbYes | mbNo | mbCancel, mbNo),
              mbCancel);
    EXPECT_EQ(Ui().OpenFileName("Mentés", "/tmp", "*.zip", "zip"), "/tmp/x.zip");
    // Unscripted: answered as a closed dialog.
    EXPECT_FALSE(Ui().AskYesNo("a", "b", "c", "d"));
    EXPECT_EQ(ui.Calls().size(), 4);
    EXPECT_EQ(ui.Calls()[0].text(), "\nKi akar lépni a programból?\n");
  }
  // The headless default answers like a cancelled dialog.
  EXPECT_FALSE(Ui().AskYesNo("a", "b", "c", "d"));
  EXPECT_EQ(Ui().MessageBox("t", "c", MsgType::Confirmation, mbYes | mbNo, mbYes), mbNo);
}
