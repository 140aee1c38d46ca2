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
  // Extracts the set "A:\x.zip" into out/: the dump of 3,000,000 bytes comes back whole.
  void ExpectExtracted() {
    RecordingZip r;
    r.zip.SetZipFileName("A:\\x.zip");
    r.zip.ExtrBaseDir = Path("out");
    r.zip.ExtrOptions = ExtrOpts{ExtrForceDirs};
    EXPECT_EQ(r.zip.Extract(), 0) << r.Texts().join('\n').toStdString();
    EXPECT_EQ(r.zip.SuccessCnt(), 1);
    EXPECT_EQ(ReadFileBytes(Path("out/dump.sql")), RandomBytes(3000000, 7));
  }
  // r set to write src/dump.sql, stored, as the set "A:\x.zip" spanned over the disks.
  void SpanDump(RecordingZip& r) {
    r.zip.AddCompLevel = 0;
    r.zip.AddOptions = AddOpts{AddDiskSpan};
    r.zip.FSpecArgs << Path("src/dump.sql");
    r.zip.SetZipFileName("A:\\x.zip");
  }
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
  SpanDump(r);
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
  ExpectExtracted();
}

TEST_F(FloppySpanTest, FreeSpaceKeptAndASmallDiskRefused) {
  WriteFileAt(Path("src/dump.sql"), RandomBytes(1500000, 3));
  DiskUi ui;
  ui.policy = [&](const QString& text) {
    if (text.startsWith("Please insert")) Insert(inDrive + 1);
    return mbOK;
  };
  RecordingZip r;
  SpanDump(r);
  r.zip.KeepFreeOnAllDisks = 10000;
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
  SpanDump(r);
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

// Sets written onto simulated disks and read back from the drive.
class FloppySetTest : public FloppySpanTest {
 protected:
  // Puts in the disk a prompt names: "volume N", or the last disk of the set.
  void InsertAsked(const QString& text, int last) {
    if (text.startsWith("Please insert disk volume"))
      Insert(text.section(' ', 4, 4).toInt() - 1);
    else if (text.startsWith("Please insert last disk"))
      Insert(last);
  }
  // 3,000,000 random bytes as a set on three disks, each new disk empty; the last stays in.
  void WriteSet(unsigned spanOptions) {
    WriteFileAt(Path("src/dump.sql"), RandomBytes(3000000, 7));
    DiskUi ui;
    ui.policy = [&](const QString& text) {
      InsertAsked(text, 2);
      return mbOK;
    };
    RecordingZip r;
    SpanDump(r);
    r.zip.SpanOptions = spanOptions;
    ASSERT_EQ(r.zip.Add(), 0) << r.Texts().join('\n').toStdString();
    ASSERT_EQ(inDrive, 2);
    EXPECT_FALSE(ui.Texts().join('|').contains("There is already"))
        << ui.Texts().join('|').toStdString();
  }
  // Joins the set named "A:\x.zip" into joined.zip, answering every prompt with its disk.
  int Join(RecordingZip& r, DiskUi& ui) {
    ui.policy = [&](const QString& text) {
      InsertAsked(text, 2);
      return mbOK;
    };
    TZipSpan span(r.zip.Engine());
    joined = Path("joined.zip");
    return span.ReadSpan("A:\\x.zip", joined, true);
  }
  QString joined;
};

TEST(FloppySpanNames, FindPartFileTakesTheFirstNumberAboveZero) {
  struct Case {
    QStringList files;
    bool zNames;
    QString found;
    int number;
  } cases[] = {
      {{"x.z00", "x.z07"}, true, "x.z07", 7},
      {{"X.Z100"}, true, "X.Z100", 100},
      {{"x.zip"}, true, "x.zip", 99999},
      {{"x.zipx", "x.z1a", "x.z01.bak", "xy.z01", "x.z"}, true, "", -1},
      {{"x000.zip", "x002.zip", "x003.zip"}, false, "x002.zip", 2},
      {{"X003.ZIP"}, false, "X003.ZIP", 3},
      {{"x12.zip", "x0001.zip", "xab1.zip", "x001.zi", "x.z01"}, false, "", -1},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    for (const QString& f : c.files) WriteFileAt(dir.path() + "/" + f, "x");
    int number = -1;
    EXPECT_EQ(TZipSpan::FindPartFile(dir.path(), "x", c.zNames, &number), c.found)
        << c.files.join(' ').toStdString();
    EXPECT_EQ(number, c.number) << c.files.join(' ').toStdString();
  }
}

TEST_F(FloppySetTest, NumberedPartsWithoutLabelsAreFoundOnTheDiskInTheDrive) {
  WriteSet(1u << spNoVolumeName);
  EXPECT_TRUE(QFileInfo::exists(Path("disks/0/x001.zip")));
  EXPECT_TRUE(QFileInfo::exists(Path("disks/1/x002.zip")));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/x003.zip")));
  EXPECT_EQ(Label(), "");

  // "x.zip" is on no disk: the part file in the drive is the last one, and nothing asks for it.
  DiskUi ui;
  RecordingZip r;
  ASSERT_EQ(Join(r, ui), 0) << r.Texts().join('\n').toStdString();
  EXPECT_FALSE(ui.Texts().join('|').contains("last disk")) << ui.Texts().join('|').toStdString();
  EXPECT_TRUE(ui.Texts().contains("Please insert disk volume 1 of 3\nin drive: A:\\"));
  QString out;
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "joined.zip"}, &out), 0) << out.toStdString();
}

TEST_F(FloppySetTest, WithTheFirstDiskInTheDriveTheLastIsAskedForAndItsZPartFound) {
  // On floppies the last part keeps its part name.
  WriteSet((1u << spNoVolumeName) | (1u << spCompatName));
  EXPECT_TRUE(QFileInfo::exists(Path("disks/0/x.z01")));
  EXPECT_TRUE(QFileInfo::exists(Path("disks/1/x.z02")));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/x.z03")));
  EXPECT_FALSE(QFileInfo::exists(Path("floppy/x.zip")));
  Insert(0);

  DiskUi ui;
  RecordingZip r;
  ASSERT_EQ(Join(r, ui), 0) << r.Texts().join('\n').toStdString();
  ASSERT_FALSE(ui.Calls().isEmpty());
  EXPECT_EQ(ui.Calls()[0].text(), "Please insert last disk\nin drive: A:\\");
  EXPECT_EQ(ui.Calls()[0].type, MsgType::Error);
  EXPECT_EQ(ui.Calls()[0].buttons, mbOK | mbCancel);
  QString out;
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "joined.zip"}, &out), 0) << out.toStdString();

  // A set whose last part took the set's name on the floppy (as once written) is read too.
  Insert(2);
  QFile::rename(Path("floppy/x.z03"), Path("floppy/x.zip"));
  ui.Clear();
  RecordingZip again;
  ASSERT_EQ(Join(again, ui), 0) << again.Texts().join('\n').toStdString();
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "joined.zip"}, &out), 0) << out.toStdString();
}

TEST_F(FloppySetTest, ACompatibleSetOnLabelledDisksKeepsEveryPartItWrote) {
  // Every disk holds "x.zip": the last one is not taken for a name in the way.
  WriteSet(1u << spCompatName);
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/x.zip")));
  EXPECT_TRUE(QFileInfo::exists(Path("disks/0/x.zip")));
  EXPECT_EQ(Label(), "PKBACK# 003");
  DiskUi ui;
  ui.policy = [&](const QString& text) {
    InsertAsked(text, 2);
    return text.startsWith("There is already") ? mbYes : mbOK;
  };
  ExpectExtracted();
  EXPECT_FALSE(ui.Texts().join('|').contains("There is already"));
}

TEST_F(FloppySetTest, NoSetOnTheDiskAndAbandonedQuestionsEndTheJoin) {
  WriteSet(0);
  auto join = [&](RecordingZip& r) {
    TZipSpan span(r.zip.Engine());
    joined = Path("joined.zip");
    return span.ReadSpan("A:\\x.zip", joined, true);
  };

  // A disk that holds nothing of the set: no question, the archive cannot be opened.
  Insert(5);
  {
    ScriptedUi ui;
    RecordingZip r;
    EXPECT_EQ(join(r), -9);
    EXPECT_EQ(ui.Texts(), QStringList{"Zip file could not be opened"});
    EXPECT_EQ(r.zip.Engine().ErrCode(), 11002);
    EXPECT_TRUE(joined.isEmpty());
  }
  // Only a numbered archive of its own there: not a part of the set.
  WriteFileAt(Path("floppy/x001.zip"), MakeRawZip({{"a.txt", "a"}}));
  {
    ScriptedUi ui;
    RecordingZip r;
    EXPECT_EQ(join(r), -9);
    EXPECT_EQ(ui.Texts(), QStringList{"Zip file could not be opened"});
  }

  // The first disk in the drive: cancelling the question for the last one shows nothing more.
  Insert(0);
  {
    ScriptedUi ui;
    ui.Answer(mbCancel);
    RecordingZip r;
    EXPECT_EQ(join(r), -9);
    EXPECT_EQ(ui.Texts(), QStringList{"Please insert last disk\nin drive: A:\\"});
    EXPECT_EQ(r.zip.Engine().ErrCode(), 11007);
    ASSERT_FALSE(r.messages.isEmpty());
    EXPECT_EQ(r.messages.last(), qMakePair(11007, QString("User canceled operation")));
    EXPECT_TRUE(joined.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("joined.zip")));
  }
  // A disk handler that abandons: the cancel is shown.
  {
    ScriptedUi ui;
    RecordingZip r;
    QList<int> asked;
    r.zip.OnGetNextDisk = [&](QObject*, int seq, int total, const QString& drive, bool& abort) {
      asked << seq << total;
      EXPECT_EQ(drive, "A");
      abort = true;
    };
    EXPECT_EQ(join(r), -7);
    EXPECT_EQ(asked, (QList<int>{0, 0}));
    EXPECT_EQ(ui.Texts(), QStringList{"User canceled operation"});
  }
}

TEST_F(FloppySetTest, AWrongDiskOfferedDuringTheJoinIsShownAndAskedAgain) {
  WriteSet(0);
  DiskUi ui;
  bool offeredWrong = false;
  ui.policy = [&](const QString& text) {
    if (text.startsWith("Please insert disk volume 1 ") && !offeredWrong) {
      offeredWrong = true;
      Insert(1);
    } else {
      InsertAsked(text, 2);
    }
    return mbOK;
  };
  ExpectExtracted();
  EXPECT_TRUE(ui.Texts().contains("Input file does not exist"))
      << ui.Texts().join('|').toStdString();
}

}  // namespace
