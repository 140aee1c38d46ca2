#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app_globals.h"
#include "file_splitter.h"
#include "floppy_drive.h"
#include "scripted_ui.h"
#include "test_util.h"

namespace {

QByteArray Bytes(int n, int from = 0) {
  QByteArray b;
  for (int i = 0; i < n; ++i) b.append(char(from + i));
  return b;
}

class FileSplitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Globals().ProgramDir;
    Globals().ProgramDir = tmp.path() + "/";
    QDir().mkpath(Path("floppy"));
  }
  void TearDown() override { Globals().ProgramDir = saved; }
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }
  static QString Typed(const QString& name) { return QDir::currentPath() + "/" + name; }
  void MapA(const QByteArray& extra = {}) {
    WriteFileBytes(Path("ZARN.INI"), "[FLOPPY]\r\nA=" + Path("floppy").toUtf8() + "\r\n" + extra);
  }

  QTemporaryDir tmp;
  QString saved;
  ScriptedUi ui;
};

TEST_F(FileSplitterTest, ThreePartsWithAShortenedFirstPartAndTheirJoin) {
  WriteFileBytes(Path("X"), Bytes(100));
  TFileSplitter s;
  s.SetSize(64);
  s.SetReduceFirstSizeBy(8);
  s.SetFileName(Path("X"));
  EXPECT_EQ(s.SplitFileName(), Path("X.SPL"));
  ASSERT_TRUE(s.Split());
  const QByteArray first = ReadFileBytes(Path("X.SPL"));
  EXPECT_EQ(first.left(32).toHex(' '),
            "54 46 69 6c 65 53 70 6c 69 74 74 65 72 20 62 79 20 54 61 76 6f 72 20 51 75 65 6c 69 "
            "6e 00 03 00");
  EXPECT_EQ(first.mid(32), Bytes(24));
  EXPECT_EQ(ReadFileBytes(Path("X.001")), Bytes(64, 24));
  EXPECT_EQ(ReadFileBytes(Path("X.002")), Bytes(12, 88));
  EXPECT_FALSE(QFileInfo::exists(Path("X.003")));

  TFileSplitter j;
  j.SetSplitFileName(Path("X.SPL"));
  j.SetFileName(Path("joined"));
  ASSERT_TRUE(j.Join());
  EXPECT_EQ(ReadFileBytes(Path("joined")), Bytes(100));

  // A missing later part fails the join.
  QFile::remove(Path("X.002"));
  EXPECT_FALSE(j.Join());
}

TEST_F(FileSplitterTest, RefusedSettingsAndInputs) {
  TFileSplitter s;
  s.SetSize(64);
  s.SetReduceFirstSizeBy(32);
  EXPECT_EQ(s.ReduceFirstSizeBy(), 0);
  s.SetReduceFirstSizeBy(31);
  EXPECT_EQ(s.ReduceFirstSizeBy(), 31);

  // Too many parts for the header's count.
  QFile big(Path("big"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.resize(2200000);
  big.close();
  TFileSplitter many;
  many.SetSize(33);
  many.SetFileName(Path("big"));
  EXPECT_EQ(many.PartCount(2200000), 66668);
  EXPECT_FALSE(many.Split());
  EXPECT_FALSE(QFileInfo::exists(Path("big.SPL")));

  // An input that is its own first part.
  WriteFileBytes(Path("Y.SPL"), Bytes(10));
  TFileSplitter self;
  self.SetFileName(Path("Y.SPL"));
  EXPECT_FALSE(self.Split());
  EXPECT_EQ(ReadFileBytes(Path("Y.SPL")), Bytes(10));

  // A drive letter with nothing mapped, and a missing input.
  TFileSplitter unmapped;
  unmapped.SetFileName(Path("Y.SPL"));
  unmapped.SetSplitFileName("a:\\Y.SPL");
  EXPECT_FALSE(unmapped.Split());
  TFileSplitter missing;
  missing.SetFileName(Path("nincs"));
  EXPECT_FALSE(missing.Split());
  EXPECT_EQ(ui.Texts().last(), "Input fájl '" + Path("nincs") + "' nem található.");
}

TEST_F(FileSplitterTest, FloppyWritesObeyProtectionAndCapacityAndARetryRewritesThePart) {
  MapA("A_CAPACITY=100\r\nA_WRITEPROTECT=1\r\n");
  WriteFileBytes(Path("X"), Bytes(90));
  EXPECT_EQ(LocalPath("a:\\x.spl"), Path("floppy/x.spl"));
  ASSERT_TRUE(FloppyDriveOf(Path("floppy/sub/x")));
  EXPECT_FALSE(FloppyDriveOf(Path("X")));

  TFileSplitter s;
  s.SetSize(64);
  s.SetFileName(Path("X"));
  s.SetSplitFileName("a:\\X.SPL");
  QList<int> errors;
  QStringList onDisk;
  s.OnError = [&](QObject*, uint16_t disk, uint16_t, uint16_t code) {
    errors << code;
    if (code == kErrorWriteProtect) {
      MapA("A_CAPACITY=100\r\n");  // the user slides the tab
      return 1;
    }
    if (code == kErrorDiskFull) {  // the user empties the disk
      for (const QString& f : QDir(Path("floppy")).entryList(QDir::Files))
        QFile::remove(Path("floppy/" + f));
      return 1;
    }
    return 2;
  };
  s.OnNeedDisk = [&](QObject*, uint16_t disk, uint16_t count, bool& cont) {
    onDisk << QString("%1/%2").arg(disk).arg(count);
  };
  ASSERT_TRUE(s.Split());
  EXPECT_EQ(onDisk, (QStringList{"1/2", "2/2"}));
  EXPECT_EQ(errors, (QList<int>{kErrorWriteProtect, kErrorDiskFull}));
  // The second part was retried on an emptied disk: whole, from its first byte.
  EXPECT_EQ(ReadFileBytes(Path("floppy/X.001")), Bytes(58, 32));
  EXPECT_FALSE(QFileInfo::exists(Path("floppy/X.SPL")));

  // A handler that stops: the split ends without failing, told as cancelled.
  TFileSplitter c;
  c.SetSize(64);
  c.SetFileName(Path("X"));
  c.OnNeedDisk = [](QObject*, uint16_t disk, uint16_t, bool& cont) { cont = disk < 2; };
  EXPECT_TRUE(c.Split());
  EXPECT_TRUE(c.Cancelled());
}

TEST_F(FileSplitterTest, AFloppyIsKnownByItsLetterTypedOrByTheFolderItIsMappedTo) {
  MapA("A_CAPACITY=1000\r\n");
  WriteFileBytes(Path("floppy/X.SPL"), Bytes(100));
  const struct {
    QString path;
    QString letterPath;
    QString local;
  } cases[] = {
      {"a:\\x.spl", "a:\\x.spl", Path("floppy/X.SPL")},
      {Path("work/a:\\x.spl"), "a:\\x.spl", Path("floppy/X.SPL")},  // typed into a dialog
      {Path("floppy/x.spl"), "A:\\x.spl", Path("floppy/X.SPL")},    // found in any case
      {Path("floppy/sub/../new.zip"), "A:\\new.zip", Path("floppy/new.zip")},
      {Path("floppyx/x.spl"), "", Path("floppyx/x.spl")},
      {Path("work/x.spl"), "", Path("work/x.spl")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FloppyLetterPath(c.path), c.letterPath) << c.path.toStdString();
    EXPECT_EQ(LocalPath(c.path), c.local) << c.path.toStdString();
    EXPECT_EQ(FloppyDriveOf(c.path).has_value(), !c.letterPath.isEmpty()) << c.path.toStdString();
  }
  EXPECT_EQ(FreeSpace(Path("floppy/x.zip")), 900);
  EXPECT_EQ(FreeSpace(Typed("b:\\x.zip")), -1);  // not mapped
  EXPECT_GT(FreeSpace(Path("work/nincs/x.zip")), 0);
}

TEST_F(FileSplitterTest, ASetIsToldByItsHeaderAndItsPartsFoundInAnyCase) {
  TFileSplitter s;
  s.SetSize(64);
  s.SetFileName(Path("X"));
  WriteFileBytes(Path("X"), Bytes(150));
  s.SetSplitFileName(Path("set/backup.zip"));  // any name
  QDir().mkpath(Path("set"));
  ASSERT_TRUE(s.Split());
  EXPECT_TRUE(TFileSplitter::IsSplitSet(Path("set/backup.zip")));
  WriteFileBytes(Path("plain.spl"), "PK\3\4 a zip named as a set");
  EXPECT_FALSE(TFileSplitter::IsSplitSet(Path("plain.spl")));
  EXPECT_FALSE(TFileSplitter::IsSplitSet(Path("nincs.spl")));

  // Parts renamed as a floppy of another system shows them.
  QFile::rename(Path("set/backup.001"), Path("set/BACKUP.001"));
  QFile::rename(Path("set/backup.002"), Path("set/Backup.002"));
  TFileSplitter j;
  j.SetSplitFileName(Path("set/BACKUP.ZIP"));
  j.SetFileName(Path("joined"));
  ASSERT_TRUE(j.Join());
  EXPECT_EQ(ReadFileBytes(Path("joined")), Bytes(150));
}

}  // namespace
