#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

#include "app_globals.h"
#include "floppy_drive.h"
#include "scripted_ui.h"
#include "test_util.h"
#include "zip_span.h"
#include "zip_test_util.h"

namespace {

// Drive A: is the directory "floppy"; the disks not in it wait in "disks/N" with their labels.
class FloppySpanTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  QString saved;
  int inDrive = 0;
  QMap<int, QString> labels;
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }
  void SetUp() override {
    saved = Globals().ProgramDir;
    Globals().ProgramDir = tmp.path() + "/";
    QDir().mkpath(Path("floppy"));
    WriteIni("");
  }
  void TearDown() override { Globals().ProgramDir = saved; }
  void WriteIni(const QByteArray& extra) {
    WriteFileBytes(Path("ZARN.INI"), "[FLOPPY]\r\nA=" + Path("floppy").toUtf8() + "\r\n" + extra);
  }
  QString Label() const { return FloppyDriveSettings('A').label; }
  // Takes the disk out and puts disk n in (a new empty one the first time).
  void Insert(int n) {
    labels[inDrive] = Label();
    QDir().mkpath(Path("disks"));
    QDir().rename(Path("floppy"), Path(QString("disks/%1").arg(inDrive)));
    if (QFileInfo::exists(Path(QString("disks/%1").arg(n))))
      QDir().rename(Path(QString("disks/%1").arg(n)), Path("floppy"));
    else
      QDir().mkpath(Path("floppy"));
    SetFloppyLabel('A', labels.value(n));
    inDrive = n;
  }
};

// Answers every disk prompt by inserting the disk the policy names.
class DiskUi : public ScriptedUi {
 public:
  std::function<MsgButton(const QString& text)> policy;
  MsgButton MessageBox(const QString& text, const QString& caption, MsgType type, int buttons,
                       MsgButton defaultButton) override {
    ScriptedUi::MessageBox(text, caption, type, buttons, defaultButton);
    return policy(text);
  }
};

TEST_F(FloppySpanTest, ThreeDisksWrittenWithPromptsAndLabelsAndJoinedAgain) {
  WriteFileAt(Path("src/dump.sql"), RandomBytes(3000000, 7));
  DiskUi ui;
  int next = 1;
  ui.policy = [&](const QString& text) {
    if (text.startsWith("Please insert disk volume")) {
      int n = text.section(' ', 4, 4).toInt() - 1;
      Insert(text.contains(" of ") && n >= next ? next++ : n);
    }
    return mbOK;
  };
  RecordingZip r;
  r.zip.AddCompLevel = 0;
  r.zip.AddOptions = AddOpts{AddDiskSpan};
  r.zip.FSpecArgs << Path("src/dump.sql");
  r.zip.SetZipFileName("A:\\x.zip");
  EXPECT_EQ(r.zip.Add(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_EQ(r.zip.SuccessCnt(), 1);
  ASSERT_EQ(ui.Texts().size(), 2) << ui.Texts().join('|').toStdString();
  EXPECT_EQ(ui.Texts()[0], "Please insert disk volume 2 of 3\nin drive: A:\\");
  EXPECT_EQ(ui.Texts()[1], "Please insert disk volume 3 of 3\nin drive: A:\\");
  EXPECT_EQ(Label(), "PKBACK# 003");
  EXPECT_EQ(labels.value(0), "PKBACK# 001");
  EXPECT_EQ(labels.value(1), "PKBACK# 002");
  EXPECT_EQ(QFileInfo(Path("disks/0/x.zip")).size(), 1457664);
  EXPECT_EQ(ReadFileBytes(Path("disks/0/x.zip")).left(4), QByteArray("PK\7\x08"));

  // Joining asks for each disk in turn; the last one is in the drive.
  ui.Clear();
  ui.policy = [&](const QString& text) {
    if (text.startsWith("Please insert disk volume")) Insert(text.section(' ', 4, 4).toInt() - 1);
    return mbOK;
  };
  RecordingZip t;
  t.zip.SetZipFileName("A:\\x.zip");
  t.zip.ExtrBaseDir = Path("out");
  t.zip.ExtrOptions = ExtrOpts{ExtrForceDirs};
  EXPECT_EQ(t.zip.Extract(), 0) << t.Texts().join('\n').toStdString();
  EXPECT_EQ(t.zip.SuccessCnt(), 1);
  EXPECT_EQ(ReadFileBytes(Path("out/dump.sql")), RandomBytes(3000000, 7));
}

TEST_F(FloppySpanTest, FreeSpaceKeptAndASmallDiskRefused) {
  WriteFileAt(Path("src/dump.sql"), RandomBytes(1500000, 3));
  DiskUi ui;
  ui.policy = [&](const QString& text) {
    if (text.startsWith("Please insert")) Insert(inDrive + 1);
    return mbOK;
  };
  RecordingZip r;
  r.zip.AddCompLevel = 0;
  r.zip.AddOptions = AddOpts{AddDiskSpan};
  r.zip.KeepFreeOnAllDisks = 10000;
  r.zip.FSpecArgs << Path("src/dump.sql");
  r.zip.SetZipFileName("A:\\x.zip");
  EXPECT_EQ(r.zip.Add(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_EQ(QFileInfo(Path("disks/0/x.zip")).size(), 1447424);

  // A disk with less than 65,536 usable bytes: the question, then cancelled.
  WriteIni("A_CAPACITY=60000\r\n");
  QDir(Path("floppy")).removeRecursively();
  QDir().mkpath(Path("floppy"));
  ui.Clear();
  ui.policy = [](const QString&) { return mbCancel; };
  r.zip.KeepFreeOnAllDisks = 0;
  r.zip.FSpecArgs << Path("src/dump.sql");
  r.zip.Add();
  EXPECT_EQ(r.zip.SuccessCnt(), 0);
  EXPECT_TRUE(ui.Texts().contains("This disk has not enough free space available"))
      << ui.Texts().join('|').toStdString();
}

TEST_F(FloppySpanTest, AnEarlierDiskOfTheSetIsRecognised) {
  WriteFileAt(Path("src/dump.sql"), RandomBytes(2000000, 5));
  DiskUi ui;
  int prompts = 0;
  ui.policy = [&](const QString& text) {
    if (text.startsWith("Please insert")) {
      // The first disk is offered again once.
      Insert(++prompts == 1 ? 0 : 5);
      return mbOK;
    }
    if (text.startsWith("ATTENTION")) return mbNo;
    return mbOK;
  };
  RecordingZip r;
  r.zip.AddCompLevel = 0;
  r.zip.AddOptions = AddOpts{AddDiskSpan};
  r.zip.FSpecArgs << Path("src/dump.sql");
  r.zip.SetZipFileName("A:\\x.zip");
  EXPECT_EQ(r.zip.Add(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_TRUE(
      ui.Texts().contains("ATTENTION: This is previous disk no 1!!!\nAre you sure you "
                          "want to overwrite the contents"))
      << ui.Texts().join('|').toStdString();
  EXPECT_EQ(Label(), "PKBACK# 002");
  EXPECT_EQ(labels.value(0), "PKBACK# 001");
}

TEST_F(FloppySpanTest, EraseFloppyAsksFirst) {
  SetFloppyLabel('A', "MENTES");
  WriteFileAt(Path("floppy/old.txt"), "old");
  RecordingZip r;
  TZipSpan span(r.zip.Engine());
  span.SetDrive("A:\\x.zip");
  span.SetLabelToWrite("PKBACK# 001");
  {
    ScriptedUi ui;
    ui.Answer(mbNo);
    EXPECT_EQ(span.EraseFloppy(), -3);
    EXPECT_EQ(ui.Texts(), QStringList{"Erase A:\\"});
    EXPECT_EQ(Label(), "MENTES");
    EXPECT_TRUE(QFileInfo::exists(Path("floppy/old.txt")));
  }
  ScriptedUi ui;
  ui.Answer(mbYes);
  EXPECT_EQ(span.EraseFloppy(), 0);
  EXPECT_EQ(Label(), "PKBACK# 001");
  EXPECT_FALSE(QFileInfo::exists(Path("floppy/old.txt")));
}

}  // namespace
