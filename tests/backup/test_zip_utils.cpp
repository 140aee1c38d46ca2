#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "password_dlg.h"
#include "progress_details.h"
#include "scripted_ui.h"
#include "test_util.h"
#include "zip_archiver.h"
#include "zip_stream.h"
#include "zip_utils.h"

namespace {

TEST(ZipUtils, PathRoutines) {
  EXPECT_EQ(DelimitPath("", true), "\\");
  EXPECT_EQ(DelimitPath("c:\\a", true), "c:\\a\\");
  EXPECT_EQ(DelimitPath("c:\\a\\", true), "c:\\a\\");
  EXPECT_EQ(DelimitPath("c:\\a\\", false), "c:\\a");
  EXPECT_EQ(PathConcat("c:", "x"), "c:x");
  EXPECT_EQ(PathConcat("a\\", "\\b"), "a\\b");
  EXPECT_EQ(PathConcat("a", "b"), "a\\b");
  EXPECT_EQ(PathConcat("", "b"), "b");
  EXPECT_EQ(AddTrailingBackslash(""), "");
  EXPECT_EQ(AddTrailingBackslash("t"), "t\\");
  EXPECT_EQ(SetSlash("a\\b/c", true), "a/b/c");
  EXPECT_EQ(SetSlash("a\\b/c", false), "a\\b\\c");
  EXPECT_TRUE(DirExists(""));

  QTemporaryDir tmp;
  QString deep = SetSlash(tmp.path(), false) + "\\x\\y\\z";
  EXPECT_FALSE(DirExists(deep));
  EXPECT_TRUE(ForceDirectory(deep));
  EXPECT_TRUE(DirExists(deep));
  WriteFileBytes(tmp.path() + "/f.txt", "f");
  EXPECT_EQ(ZipEraseFile(tmp.path() + "/f.txt", htdFinal), 0);
  EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/f.txt"));
  EXPECT_NE(EraseFile(tmp.path() + "/f.txt", true), 0);
  // A bare name lies in the current directory.
  QString before = QDir::currentPath();
  QDir::setCurrent(tmp.path());
  WriteFileBytes(tmp.path() + "/g.txt", "g");
  EXPECT_EQ(EraseFile("g.txt", true), 0);
  QDir::setCurrent(before);
  EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/g.txt"));

  int* p = new int(5);
  ZipFreeAndNil(p);
  EXPECT_EQ(p, nullptr);

  TZipArchiver zip;
  zip.Engine().Props.TempDir = SetSlash(tmp.path(), false);
  QString t = zip.Engine().MakeTempFileName();
  EXPECT_TRUE(t.startsWith(tmp.path() + "/zip"));
  EXPECT_TRUE(t.endsWith(".zip"));
  EXPECT_TRUE(QFileInfo::exists(t));
}

TEST(ZipUtils, ProgressDetailsAndShares) {
  TProgressDetails d;
  d.Advance(TotalFiles2Process, 2, {});
  d.Advance(TotalSize2Process, 3000000, {});
  d.Advance(NewFile, 1000000, "a");
  d.Advance(ProgressUpdate, 500000, {});
  EXPECT_EQ(d.ItemNumber(), 1);
  EXPECT_EQ(d.ItemPerCent(), 50);
  EXPECT_EQ(d.TotalPerCent(), 16);
  d.Advance(ProgressUpdate, 900000, {});
  EXPECT_EQ(d.ItemPerCent(), 100);
  d.Advance(NewFile, 100, "b");
  d.Advance(ProgressUpdate, 33, {});
  EXPECT_EQ(d.ItemNumber(), 2);
  EXPECT_EQ(d.ItemPerCent(), 33);
  d.Advance(EndOfBatch, 0, {});
  EXPECT_EQ(d.ItemName(), QString());
  EXPECT_EQ(ZipExtraStepCaption(9, "x"), "*Loading Directory");
  EXPECT_EQ(ZipExtraStepCaption(12, "x"), "x");
  d.Advance(TotalFiles2Process, 7, {});
  EXPECT_EQ(d.ItemNumber(), 0);
  EXPECT_EQ(d.TotalCount(), 7);
}

TEST(ZipUtils, PasswordDialogButtonSetsAndAnswers) {
  ScriptedUi ui;
  QString pw;
  ui.Answer(QStringLiteral("abc"));
  EXPECT_EQ(TPasswordDlg::ShowPasswordDialog("Password", "Enter Password ", 2, pw),
            TPasswordDlg::pwOk);
  EXPECT_EQ(pw, "abc");
  EXPECT_EQ(ui.Calls()[0].lines, (QStringList{"Enter Password ", "&Ok", "&Cancel"}));
  ui.AnswerButton(2);
  EXPECT_EQ(TPasswordDlg::ShowPasswordDialog("Password", "p", 6, pw), TPasswordDlg::pwCancelAll);
  EXPECT_EQ(pw, "");
  ui.AnswerButton(1);
  EXPECT_EQ(TPasswordDlg::ShowPasswordDialog("Password", "p", 8, pw), TPasswordDlg::pwOther);
  EXPECT_EQ(ui.Calls()[2].lines, (QStringList{"p", "&Ok", "Abort"}));
}

TEST(ZipUtils, WaitCursorNestsAndTheStreamReadsForeignMemory) {
  struct CursorUi : ScriptedUi {
    QList<bool> changes;
    void BusyCursor(bool on) override { changes << on; }
  } ui;
  TZipArchiver zip;
  zip.Engine().StartWaitCursor();
  zip.Engine().StartWaitCursor();
  zip.Engine().StopWaitCursor();
  EXPECT_EQ(ui.changes, QList<bool>{true});
  zip.Engine().StopWaitCursor();
  zip.Engine().StopWaitCursor();
  EXPECT_EQ(ui.changes, (QList<bool>{true, false}));

  static const char block[] = "memory block";
  TZipStream s;
  s.SetPointer(block, 6);
  EXPECT_EQ(s.readAll(), "memory");
}

}  // namespace
