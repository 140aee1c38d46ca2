#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "scripted_ui.h"
#include "test_util.h"
#include "zip_directory.h"
#include "zip_span.h"
#include "zip_test_util.h"

namespace {

class ZipSpanTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }
  // Twelve entries of 15,000 random bytes.
  QStringList MakeSources() {
    QStringList names;
    for (int i = 0; i < 12; ++i) {
      QString name = QString("src/f%1.bin").arg(i, 2, 10, QChar('0'));
      WriteFileAt(Path(name), RandomBytes(15000, quint32(i + 1)));
      names << Path(name);
    }
    return names;
  }
  int WriteSet(const QString& name, unsigned spanOptions) {
    RecordingZip r;
    r.zip.AddOptions = AddOpts{AddDiskSpan};
    r.zip.MaxVolumeSize = 70000;
    r.zip.SpanOptions = spanOptions;
    r.zip.FSpecArgs = MakeSources();
    r.zip.SetZipFileName(Path(name));
    int rc = r.zip.Add();
    EXPECT_EQ(r.zip.SuccessCnt(), 12);
    EXPECT_TRUE(r.ErrorCodes().isEmpty()) << r.Texts().join('\n').toStdString();
    return rc;
  }
  // Every part as written, and the set joined by the engine is whole.
  void ExpectJoinable(const QString& last) {
    ASSERT_EQ(ReadFileBytes(Path(last)).size() > 0, true);
    RecordingZip r;
    r.zip.SetZipFileName(Path(last));
    r.zip.ExtrOptions = ExtrOpts{ExtrTest};
    EXPECT_EQ(r.zip.Extract(), 0) << r.Texts().join('\n').toStdString();
    EXPECT_EQ(r.zip.SuccessCnt(), 12);
  }
};

TEST_F(ZipSpanTest, AFixedDriveSetWithCompatibleNamesIsReadByTheZipPeer) {
  ASSERT_EQ(WriteSet("name.zip", 1u << spCompatName), 0);
  EXPECT_TRUE(QFileInfo::exists(Path("name.z01")));
  EXPECT_TRUE(QFileInfo::exists(Path("name.z02")));
  EXPECT_TRUE(QFileInfo::exists(Path("name.zip")));
  EXPECT_FALSE(QFileInfo::exists(Path("name.z03")));
  QByteArray first = ReadFileBytes(Path("name.z01"));
  EXPECT_EQ(first.left(8), QByteArray("PK\7\x08PK\3\4", 8));
  EXPECT_LE(first.size(), 70000);
  EXPECT_LE(ReadFileBytes(Path("name.z02")).size(), 70000);

  QString out;
  ASSERT_EQ(RunPeer(tmp.path(), "zip", {"-s", "0", "name.zip", "--out", "joined.zip"}, &out), 0)
      << out.toStdString();
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "joined.zip"}, &out), 0) << out.toStdString();
  ExpectJoinable("name.zip");
}

TEST_F(ZipSpanTest, TheLastPartTakesAnExistingNameOnlyWhenAskedAndNeverGetsLost) {
  struct Case {
    const char* name;
    MsgButton answer;
    bool directoryInTheWay;
    bool ok;       // Add answers 0: "Last part left as" is an error
    int written;   // SuccessCnt: 0 when the set is not whole under its name
    QString last;  // where the set's last part is afterwards
  } cases[] = {
      {"yes", mbYes, false, true, 12, "name.zip"},
      {"no", mbNo, false, false, 12, "name.z03"},
      {"yes, the name cannot be taken", mbYes, true, false, 0, "name.z03"},
  };
  for (const Case& c : cases) {
    for (const QString& f : QDir(tmp.path()).entryList(QDir::Files)) QFile::remove(Path(f));
    QDir(Path("name.zip")).removeRecursively();
    ScriptedUi ui;
    ui.Answer(c.answer);
    RecordingZip r;
    r.zip.AddOptions = AddOpts{AddDiskSpan};
    r.zip.MaxVolumeSize = 70000;
    r.zip.SpanOptions = 1u << spCompatName;
    r.zip.FSpecArgs = MakeSources();
    r.zip.SetZipFileName(Path("name.zip"));
    if (c.directoryInTheWay) {
      WriteFileAt(Path("name.zip/inside"), "x");
    } else {
      WriteFileAt(Path("name.zip"), "an older file");
    }
    const int rc = r.zip.Add();
    EXPECT_EQ(rc == 0, c.ok) << c.name << ": " << r.Texts().join('\n').toStdString();
    EXPECT_EQ(r.zip.SuccessCnt(), c.written) << c.name;
    ASSERT_FALSE(ui.Calls().isEmpty()) << c.name;
    EXPECT_EQ(ui.Calls()[0].text(), "There is already a file " +
                                        QString(Path("name.zip")).replace('/', '\\') +
                                        "\nDo you want to overwrite this file")
        << c.name;
    ExpectJoinable(c.last);
    const QString leftAs = "Last part left as : " + QString(Path("name.z03")).replace('/', '\\');
    EXPECT_EQ(r.Texts().contains(leftAs), !c.ok) << c.name;
    if (c.answer == mbNo) {
      EXPECT_EQ(ReadFileBytes(Path("name.zip")), "an older file");
    }
    if (c.directoryInTheWay) {
      EXPECT_TRUE(QFileInfo::exists(Path("name.zip/inside")));
    }
  }
}

TEST_F(ZipSpanTest, NumberedPartsAndAJoinWithAllDiskFieldsZero) {
  ASSERT_EQ(WriteSet("name.zip", 0), 0);
  for (const char* part : {"name001.zip", "name002.zip", "name003.zip"})
    EXPECT_TRUE(QFileInfo::exists(Path(part))) << part;
  EXPECT_FALSE(QFileInfo::exists(Path("name.zip")));
  EXPECT_FALSE(QFileInfo::exists(Path("name004.zip")));
  ExpectJoinable("name003.zip");

  // The set named by its own name: the numbered parts are searched.
  RecordingZip r;
  TZipSpan span(r.zip.Engine());
  QString joined = Path("joined.zip");
  ASSERT_EQ(span.ReadSpan(Path("name.zip"), joined, true), 0) << r.Texts().join('\n').toStdString();
  ZipDirectory dir;
  ASSERT_EQ(ReadZipDirectory(joined, dir), 0);
  EXPECT_EQ(dir.Eoc.ThisDiskNo, 0);
  EXPECT_EQ(dir.Eoc.CentralDiskNo, 0);
  EXPECT_EQ(dir.Eoc.CentralEntries, 12);
  ASSERT_EQ(dir.Entries.size(), 12);
  for (const ZipCentralEntry& e : dir.Entries) EXPECT_EQ(e.StartOnDisk, 0);
  EXPECT_FALSE(dir.StructureWarning);
  QString out;
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "joined.zip"}, &out), 0) << out.toStdString();
}

TEST_F(ZipSpanTest, SplittingAndJoiningReportTheirProgress) {
  RecordingZip w;
  w.zip.FSpecArgs = MakeSources();
  w.zip.SetZipFileName(Path("whole.zip"));
  ASSERT_EQ(w.zip.Add(), 0);
  const qint64 size = QFileInfo(Path("whole.zip")).size();
  struct Report {
    TProgressType kind;
    QString name;
    int64_t size;
  };
  QList<Report> seen;
  auto record = [&](QObject*, TProgressType kind, const QString& name, int64_t n) {
    seen.append({kind, name, n});
  };
  auto sum = [&](TProgressType kind) {
    int64_t total = 0;
    for (const Report& r : seen)
      if (r.kind == kind) total += r.size;
    return total;
  };
  auto count = [&](TProgressType kind) {
    return std::count_if(seen.begin(), seen.end(), [&](const Report& r) { return r.kind == kind; });
  };

  RecordingZip r;
  r.zip.MaxVolumeSize = 70000;
  r.zip.OnProgress = record;
  TZipSpan span(r.zip.Engine());
  ASSERT_TRUE(QDir().mkpath(Path("set")));
  ASSERT_EQ(span.WriteSpan(Path("whole.zip"), Path("set/a.zip"), false), 0)
      << r.Texts().join('\n').toStdString();
  ASSERT_GE(seen.size(), 3);
  EXPECT_EQ(seen[0].kind, TotalFiles2Process);
  EXPECT_EQ(seen[0].size, 12);
  EXPECT_EQ(seen[1].kind, TotalSize2Process);
  EXPECT_EQ(seen[1].size, size);
  EXPECT_EQ(count(NewFile), 13);  // every entry and the central directory
  EXPECT_EQ(sum(ProgressUpdate), size);
  EXPECT_EQ(seen.last().kind, EndOfBatch);

  seen.clear();
  QString joined = Path("joined.zip");
  ASSERT_EQ(span.ReadSpan(Path("set/a.zip"), joined, true), 0)
      << r.Texts().join('\n').toStdString();
  ASSERT_GE(seen.size(), 2);
  EXPECT_EQ(seen[0].kind, NewExtra);
  EXPECT_EQ(seen[0].name, "*Joining split zip file");
  EXPECT_EQ(count(NewFile), 0);
  EXPECT_GT(sum(ExtraUpdate), 0);
  EXPECT_LE(sum(ExtraUpdate), seen[0].size);
  EXPECT_EQ(seen.last().kind, EndOfBatch);

  seen.clear();
  ASSERT_EQ(span.ReadSpan(Path("set/a.zip"), joined, false), 0);
  ASSERT_GE(seen.size(), 2);
  EXPECT_EQ(seen[0].kind, TotalFiles2Process);
  EXPECT_EQ(seen[0].size, 13);
  EXPECT_EQ(count(NewFile), 13);
  EXPECT_EQ(seen.last().kind, EndOfBatch);
}

TEST_F(ZipSpanTest, ASetMadeByTheZipPeerIsJoinedAndExtracted) {
  MakeSources();
  QString out;
  ASSERT_EQ(RunPeer(Path("src"), "zip", {"-s", "64k", "../peer.zip", "-r", "."}, &out), 0)
      << out.toStdString();
  ASSERT_TRUE(QFileInfo::exists(Path("peer.z01")));
  RecordingZip r;
  r.zip.SetZipFileName(Path("peer.zip"));
  r.zip.ExtrBaseDir = Path("out");
  r.zip.ExtrOptions = ExtrOpts{ExtrDirNames, ExtrForceDirs};
  EXPECT_EQ(r.zip.Extract(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_EQ(r.zip.SuccessCnt(), 12);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(ReadFileBytes(Path(QString("out/f%1.bin").arg(i, 2, 10, QChar('0')))),
              RandomBytes(15000, quint32(i + 1)));
}

TEST_F(ZipSpanTest, BrokenAndMissingSets) {
  ASSERT_EQ(WriteSet("name.zip", 1u << spCompatName), 0);
  // A first part without the span marker.
  QByteArray first = ReadFileBytes(Path("name.z01"));
  QByteArray broken = first;
  broken[2] = 'X';
  WriteFileAt(Path("name.z01"), broken);
  RecordingZip r;
  r.zip.Unattended = true;
  r.zip.SetZipFileName(Path("name.zip"));
  r.zip.ExtrOptions = ExtrOpts{ExtrTest};
  EXPECT_EQ(r.zip.Extract(), 11031);
  // A part that is gone: the restore's work copy of the last part alone.
  QFile::remove(Path("name.z01"));
  r.messages.clear();
  EXPECT_NE(r.zip.Extract(), 0);
  EXPECT_EQ(r.zip.SuccessCnt(), 0);
  EXPECT_FALSE(r.ErrorCodes().isEmpty());
}

TEST(ZipSpanNames, PartFileNames) {
  EXPECT_EQ(MakePartFileName("d/backup.zip", 0, true, false, false), "d/backup.z01");
  EXPECT_EQ(MakePartFileName("d/backup.zip", 98, true, false, false), "d/backup.z99");
  EXPECT_EQ(MakePartFileName("d/backup.zip", 99, true, false, false), "d/backup.z100");
  EXPECT_EQ(MakePartFileName("d/backup.zip", 5, true, true, false), "d/backup.zip");
  EXPECT_EQ(MakePartFileName("d/backup.zip", 0, false, false, false), "d/backup001.zip");
  EXPECT_EQ(MakePartFileName("d/backup003.zip", 1, false, false, true), "d/backup002.zip");
  TMZipDataList list(2);
  list.Items(0).FileName = "Abc";
  list.Items(1).FileName = "def";
  EXPECT_EQ(list.IndexOf("ABC"), 0);
  try {
    list.Items(2);
    ADD_FAILURE();
  } catch (const EZipArchiver& e) {
    EXPECT_EQ(e.Message(), "Index (2) outside range 1..1");
  }
  EXPECT_THROW(list.IndexOf("x"), EZipArchiver);
}

}  // namespace
