#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "test_util.h"
#include "zip_directory.h"
#include "zip_sfx.h"
#include "zip_test_util.h"

namespace {

QByteArray Le16(uint16_t v) { return QByteArray(1, char(v & 0xFF)) + char(v >> 8); }
QByteArray Le32(uint32_t v) { return Le16(uint16_t(v & 0xFFFF)) + Le16(uint16_t(v >> 16)); }
uint32_t U32At(const QByteArray& b, qsizetype at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
         uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16At(const QByteArray& b, qsizetype at) {
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

QByteArray Stub(int size) {
  QByteArray b(size, '\0');
  for (int i = 0; i < size; ++i) b[i] = char(i * 7 + 3);
  b[0] = 'M';
  b[1] = 'Z';
  return b;
}

QString Message(const EZipArchiver& e) { return e.Message(); }

class ZipSFXTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }
  void SetUp() override { WriteFileAt(Path("stub/ZASFXUS.BIN"), Stub(1000)); }
  QString StubDir() const { return Path("stub/"); }
};

TEST_F(ZipSFXTest, TheAutomaticSelfExtractorAndAnAddIntoIt) {
  TCustomZipSFX sfx;
  sfx.SFXPath = StubDir();
  sfx.TargetFile = Path("auto.exe");
  sfx.MakeAutoSFX();
  QByteArray bytes = ReadFileBytes(Path("auto.exe"));
  ASSERT_EQ(bytes.size(), 1050);
  EXPECT_EQ(bytes.left(1000), Stub(1000));
  EXPECT_EQ(bytes.mid(1000).toHex(' '),
            QByteArray("44 5a 00 01 14 00 00 00 02 00 00 00 00 00 00 00 00 00 00 00 "
                       "44 5a 0a 01 14 00 00 00 50 4b 05 06 00 00 00 00 00 00 00 00 "
                       "00 00 00 00 04 04 00 00 00 00"));
  // The stub actually used is remembered for the next build.
  EXPECT_EQ(QDir::fromNativeSeparators(sfx.SFXPath.replace('\\', '/')), Path("stub/ZASFXUS.BIN"));

  WriteFileAt(Path("src/a.txt"), SqlDumpText(5000));
  WriteFileAt(Path("src/b.gif"), "GIF89a");
  QString out;
  {
    // Empty settings: the stub and its 28 bytes of header stay in front of what is added.
    RecordingZip e;
    e.zip.SetSFXPath(StubDir());
    e.zip.FSpecArgs << Path("src/a.txt");
    e.zip.SetZipFileName(Path("e.exe"));
    EXPECT_EQ(e.zip.Add(), 0) << e.Texts().join('\n').toStdString();
    EXPECT_EQ(ReadFileBytes(Path("e.exe")).left(1028), bytes.left(1028));
    EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "e.exe"}, &out), 0) << out.toStdString();
  }
  RecordingZip r;
  r.zip.SetSFXPath(StubDir());
  r.zip.SetSFXCaption("Zarn mentés");
  r.zip.SetSFXMessage(QString(QChar(2)) + "Kibontsam?");
  r.zip.FSpecArgs << Path("src/a.txt") << Path("src/b.gif");
  r.zip.SetZipFileName(Path("x.exe"));
  EXPECT_EQ(r.zip.Add(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_EQ(r.zip.Count(), 2);
  bytes = ReadFileBytes(Path("x.exe"));
  ASSERT_GT(bytes.size(), 1036);
  qint64 s = U16At(bytes, 1004);
  EXPECT_EQ(s, 40);  // 18 + 11 + 10, rounded up
  const qint64 archiveStart = 1000 + s + 8;
  EXPECT_EQ(bytes.mid(archiveStart, 4), QByteArray("PK\3\4"));
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "x.exe"}, &out), 0) << out.toStdString();

  // A second Add goes into the same self-extractor and keeps its stub and header.
  QByteArray head = bytes.left(archiveStart);
  WriteFileAt(Path("src/c.txt"), "harmadik");
  r.zip.FSpecArgs << Path("src/c.txt");
  EXPECT_EQ(r.zip.Add(), 0);
  EXPECT_EQ(r.zip.Count(), 3);
  EXPECT_EQ(ReadFileBytes(Path("x.exe")).left(archiveStart), head);
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "x.exe"}, &out), 0) << out.toStdString();

  r.zip.ExtrOptions = ExtrOpts{ExtrTest};
  r.messages.clear();
  EXPECT_EQ(r.zip.Extract(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_EQ(r.zip.SuccessCnt(), 3);

  TCustomZipSFX back;
  QFile exe(Path("x.exe"));
  ASSERT_TRUE(exe.open(QIODevice::ReadOnly));
  exe.seek(archiveStart);
  TSFXHeaderStream reader(back, &exe);
  ASSERT_TRUE(reader.ReadHeader());
  EXPECT_EQ(exe.pos(), archiveStart);
  EXPECT_EQ(back.SFXCaption, "Zarn mentés");
  EXPECT_EQ(back.SFXMessage, "Kibontsam?");
  EXPECT_EQ(back.MessageStyle, 0x24u);
  EXPECT_EQ(back.OverwriteCode, 2);
}

TEST_F(ZipSFXTest, MovingIntoAnExeKeepsTheSourcesUntilTheExeIsRewritten) {
  WriteFileAt(Path("src/a.txt"), "elso");
  WriteFileAt(Path("src/b.txt"), "masodik");
  RecordingZip r;
  r.zip.SetSFXPath(StubDir());
  r.zip.Unattended = true;
  r.zip.AddOptions = AddOpts{AddMove};
  r.zip.FSpecArgs << Path("src/a.txt");
  r.zip.SetZipFileName(Path("out/x.exe"));
  ASSERT_TRUE(QDir().mkpath(Path("out")));
  ASSERT_EQ(r.zip.Add(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("src/a.txt")));

  // The folder of the .exe goes away while the compressor works: the stub cannot be put back.
  r.zip.OnProgress = [&](QObject*, TProgressType, const QString&, int64_t) {
    QDir().rename(Path("out"), Path("gone"));
  };
  r.zip.FSpecArgs << Path("src/b.txt");
  // A failure raised as a plain text is still a failure: the compressor's general error.
  EXPECT_EQ(r.zip.Add(), 10101);
  EXPECT_EQ(r.zip.ErrCode(), 10101);
  ASSERT_FALSE(r.messages.isEmpty());
  EXPECT_EQ(r.messages.last().first, 10101);
  EXPECT_TRUE(r.messages.last().second.startsWith("Cannot create file"))
      << r.Texts().join('\n').toStdString();
  EXPECT_EQ(ReadFileBytes(Path("src/b.txt")), QByteArray("masodik"));

  r.zip.OnProgress = nullptr;
  QDir().rename(Path("gone"), Path("out"));
  r.zip.FSpecArgs << Path("src/b.txt");
  EXPECT_EQ(r.zip.Add(), 0) << r.Texts().join('\n').toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("src/b.txt")));
  QString out;
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "out/x.exe"}, &out), 0) << out.toStdString();
}

TEST_F(ZipSFXTest, AddIntoANewExeWithoutAStubMakesNothing) {
  WriteFileAt(Path("src/a.txt"), "a");
  RecordingZip r;
  r.zip.SetSFXPath(Path("nowhere/"));
  r.zip.Unattended = true;
  r.zip.FSpecArgs << Path("src/a.txt");
  r.zip.SetZipFileName(Path("y.exe"));
  EXPECT_EQ(r.zip.Add(), 10802);
  EXPECT_EQ(r.Texts(), QStringList{"Error - ZIPSFX.BIN not found!"});
  EXPECT_FALSE(QFileInfo::exists(Path("y.exe")));

  // A self-extractor that cannot be made where it is named: its plain text, and a failure.
  r.messages.clear();
  r.zip.SetSFXPath(StubDir());
  r.zip.FSpecArgs << Path("src/a.txt");
  r.zip.SetZipFileName(Path("nodir/y.exe"));
  EXPECT_EQ(r.zip.Add(), 10101);
  EXPECT_EQ(r.zip.SuccessCnt(), 0);
  ASSERT_EQ(r.messages.size(), 1);
  EXPECT_EQ(r.messages[0].first, 10101);
  EXPECT_TRUE(r.messages[0].second.startsWith("Cannot create file"));
}

TEST_F(ZipSFXTest, HeaderSizesTextLimitsOptionsAndOverwriteCodes) {
  TCustomZipSFX sfx;
  const struct {
    int length;
    int s;
  } sizes[] = {{0, 20}, {1, 20}, {2, 20}, {3, 24}, {6, 24}, {255, 276}};
  for (const auto& c : sizes) {
    sfx.SFXCaption = QString(c.length, 'c');
    TSFXHeaderStream h(sfx);
    EXPECT_EQ(h.Data.size(), c.s + 8) << c.length;
    EXPECT_EQ(U16At(h.Data, 4), c.s) << c.length;
    EXPECT_EQ(U32At(h.Data, c.s + 4), uint32_t(c.s));
    EXPECT_EQ(h.Data.mid(18, c.length), QByteArray(c.length, 'c'));
  }
  const struct {
    QString TCustomZipSFX::*field;
    int id;
  } limits[] = {{&TCustomZipSFX::SFXMessage, 10805},
                {&TCustomZipSFX::SFXDefaultDir, 10806},
                {&TCustomZipSFX::SFXCaption, 10807},
                {&TCustomZipSFX::SFXCommandLine, 10808},
                {&TCustomZipSFX::FallbackPath, 10809}};
  for (const auto& l : limits) {
    TCustomZipSFX t;
    t.*l.field = QString(256, 'x');
    t.SFXCaption += QString(300, 'y');  // the first check that fails is reported
    try {
      TSFXHeaderStream h(t);
      ADD_FAILURE() << l.id;
    } catch (const EZipArchiver& e) {
      EXPECT_EQ(e.ResId(), qMin(l.id, 10807));
    }
  }
  TCustomZipSFX m;
  m.SFXMessage = QString(256, 'x');
  m.SFXCaption = QString(300, 'y');
  try {
    TSFXHeaderStream h(m);
    ADD_FAILURE();
  } catch (const EZipArchiver& e) {
    EXPECT_EQ(Message(e), "SFX Message string exceeds 255 characters!");
  }

  sfx.SetOptions({SFXAutoRun, SFXCheckSize});
  EXPECT_EQ(sfx.Options, 0x0008);
  EXPECT_EQ(sfx.GetOptions(), SFXOpts{SFXAutoRun});
  sfx.Options = 0x0400 | 0x0100 | 0x0015;
  EXPECT_EQ(sfx.GetOptions(), (SFXOpts{SFXAskCmdLine, SFXHideOverWriteBox, SFXNoSuccessMsg}));
  sfx.SetOptions({SFXAskFiles});
  EXPECT_EQ(sfx.Options, 0x0002);

  const struct {
    int mode;
    int code;
    OvrOpts back;
  } modes[] = {{OvrNever, 1, OvrNever},
               {OvrAlways, 0, OvrAlways},
               {OvrConfirm, 2, OvrConfirm},
               {7, 2, OvrConfirm}};
  for (const auto& c : modes) {
    sfx.SetOverWriteMode(c.mode);
    EXPECT_EQ(sfx.OverwriteCode, c.code);
    EXPECT_EQ(sfx.GetOverWriteMode(), c.back);
  }
  sfx.OverwriteCode = 9;
  EXPECT_EQ(sfx.GetOverWriteMode(), OvrConfirm);

  const struct {
    QString text;
    uint32_t style;
    QString stored;
  } messages[] = {{QString(QChar(1)) + "OK?", 0x41, "OK?"},
                  {QString(QChar(2)) + "Igen?", 0x24, "Igen?"},
                  {"Kész", 0, "Kész"},
                  {"", 0, ""}};
  for (const auto& c : messages) {
    sfx.SetMessage(c.text);
    EXPECT_EQ(sfx.MessageStyle, c.style);
    EXPECT_EQ(sfx.SFXMessage, c.stored);
  }
}

TEST_F(ZipSFXTest, OlderSettingsRecords) {
  QByteArray mpu = "garbage" + QByteArray("MPU") + char(0x01 | 0x10 | 0x40) + char(4) + char(3) +
                   char(2) + "Capt" + "C:\\" + "go";
  QByteArray mpv = "xx" + QByteArray("MPV") + char(0x02 | 0x08 | 0x80) + QByteArray(4, '\0') +
                   char(3) + "Cap" + char(0) + char(3) + "run" + char(4) + char(1) + "Msg";
  {
    QBuffer buf(&mpu);
    buf.open(QIODevice::ReadOnly);
    buf.seek(mpu.size());
    TCustomZipSFX sfx;
    sfx.MessageStyle = 0x24;
    sfx.SFXMessage = "old";
    ASSERT_TRUE(TSFXHeaderStream(sfx, &buf).ReadOldHeader());
    EXPECT_EQ(buf.pos(), mpu.size());
    EXPECT_EQ(sfx.Options, 0x0100 | 0x0001 | 0x0008);
    EXPECT_EQ(sfx.OverwriteCode, 1);
    EXPECT_EQ(sfx.SFXCaption, "Capt");
    EXPECT_EQ(sfx.SFXDefaultDir, "C:\\");
    EXPECT_EQ(sfx.SFXCommandLine, "go");
    EXPECT_EQ(sfx.SFXMessage, "");
    EXPECT_EQ(sfx.MessageStyle, 0x24u);  // unchanged by this variant
  }
  {
    QBuffer buf(&mpv);
    buf.open(QIODevice::ReadOnly);
    buf.seek(mpv.size());
    TCustomZipSFX sfx;
    ASSERT_TRUE(TSFXHeaderStream(sfx, &buf).ReadOldHeader());
    EXPECT_EQ(sfx.Options, 0x0100 | 0x0002 | 0x0010);
    EXPECT_EQ(sfx.OverwriteCode, 0);
    EXPECT_EQ(sfx.SFXCaption, "Cap");
    EXPECT_EQ(sfx.SFXDefaultDir, "");
    EXPECT_EQ(sfx.SFXCommandLine, "run");
    EXPECT_EQ(sfx.SFXMessage, "Msg");
    EXPECT_EQ(sfx.MessageStyle, 0x41u);
  }
  QByteArray none = "nothing old here";
  QBuffer buf(&none);
  buf.open(QIODevice::ReadOnly);
  buf.seek(none.size());
  TCustomZipSFX sfx;
  EXPECT_FALSE(TSFXHeaderStream(sfx, &buf).ReadOldHeader());
  EXPECT_FALSE(TSFXHeaderStream(sfx, &buf).ReadHeader());
  EXPECT_EQ(sfx.OverwriteCode, 2);
}

QByteArray WithComment(QByteArray zip, const QByteArray& comment) {
  zip[zip.size() - 2] = char(comment.size());
  return zip + comment;
}

TEST_F(ZipSFXTest, ConvertingAnArchiveShiftsItsOffsetsAndDetachedKeepsOnlyTheDirectory) {
  QByteArray zip = WithComment(MakeRawZip({{"elso.txt", "egy"}, {"masodik.txt", "ketto-ketto"}}),
                               "archive comment");
  WriteFileAt(Path("Mentes.zip"), zip);
  ZipDirectory dir;
  ASSERT_EQ(ReadZipDirectory(Path("Mentes.zip"), dir), 0);

  TCustomZipSFX sfx;
  sfx.SFXPath = StubDir();
  sfx.SourceFile = Path("Mentes.zip");
  sfx.TargetFile = Path("Mentes.exe");
  sfx.BuildSFX(false);
  QByteArray exe = ReadFileBytes(Path("Mentes.exe"));
  ASSERT_EQ(exe.size(), 1028 + zip.size());
  ZipDirectory sdir;
  ASSERT_EQ(ReadZipDirectory(Path("Mentes.exe"), sdir), 0);
  EXPECT_EQ(sdir.Eoc.CentralOffset, dir.Eoc.CentralOffset + 1028);
  ASSERT_EQ(sdir.Entries.size(), 2);
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(sdir.Entries[i].RelOffLocalHdr, dir.Entries[i].RelOffLocalHdr + 1028);
  EXPECT_EQ(sdir.ZipComment, "archive comment");
  EXPECT_EQ(exe.mid(1028, dir.Eoc.CentralOffset), zip.left(dir.Eoc.CentralOffset));
  QString out;
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "Mentes.exe"}, &out), 0) << out.toStdString();

  // Building over its own source is refused, the archive kept.
  sfx.TargetFile = sfx.SourceFile;
  try {
    sfx.BuildSFX(false);
    ADD_FAILURE();
  } catch (const EZipArchiver& e) {
    EXPECT_EQ(Message(e), "Source archive is the same as the destination archive!");
  }
  EXPECT_EQ(ReadFileBytes(Path("Mentes.zip")), zip);

  // A failed build leaves the old target as it was.
  sfx.TargetFile = Path("Mentes.exe");
  sfx.SFXCommandLine = QString(256, 'x');
  EXPECT_THROW(sfx.BuildSFX(false), EZipArchiver);
  EXPECT_EQ(ReadFileBytes(Path("Mentes.exe")), exe);
  sfx.SFXCommandLine.clear();

  sfx.Options = kSFXDetachedBit;
  sfx.TargetFile = Path("det.exe");
  sfx.BuildSFX(false);
  QByteArray det = ReadFileBytes(Path("det.exe"));
  QByteArray record = QByteArray("DZ\x14\x01", 4) + Le32(6) + Le32(3) + "MENTESZIP" +
                      QByteArray("DZ\x14\x02", 4) + Le32(6) + Le32(3);
  EXPECT_EQ(det.mid(1028, record.size()), record);
  const qint64 partStart = 1028 + record.size();
  QByteArray part = det.mid(partStart);
  ASSERT_EQ(part.size(), 2 * 46 + 8 + 11 + 22);
  EXPECT_EQ(part.mid(46, 8), "elso.txt");
  EXPECT_EQ(U16At(part, 30), 0);
  EXPECT_EQ(U16At(part, 32), 0);
  EXPECT_EQ(U32At(part, 42), dir.Entries[0].RelOffLocalHdr);
  QByteArray eoc = part.right(22);
  EXPECT_EQ(eoc.left(4), QByteArray("PK\5\6"));
  EXPECT_EQ(U16At(eoc, 4), 0xFFFF);
  EXPECT_EQ(U16At(eoc, 20), 0);
  EXPECT_EQ(U32At(eoc, 12), 2u * 46 + 8 + 11);

  QFile f(Path("det.exe"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  f.seek(partStart);
  TCustomZipSFX back;
  ASSERT_TRUE(TSFXHeaderStream(back, &f).ReadHeader());
  EXPECT_EQ(back.Options, kSFXDetachedBit);
}

TEST_F(ZipSFXTest, TheInMemoryEmptyArchive) {
  auto s = TZipArchiveStream::CreateEmpty();
  char buf[40];
  EXPECT_EQ(s->Seek(-2, 2), 20);
  EXPECT_EQ(s->Read(buf, 40), 2);
  EXPECT_EQ(s->Seek(-30, 1), 0);
  EXPECT_EQ(s->Read(buf, 4), 4);
  EXPECT_EQ(QByteArray(buf, 4), QByteArray("PK\5\6"));
  EXPECT_EQ(s->Seek(50, 0), 22);
  EXPECT_EQ(s->Write(buf, 4), 0);
}

// A small PE32 image: .rsrc at virtual 0x1000, raw 0x200, icon 1 (language 0x409) of 744 bytes
// at virtual 0x1058.
QByteArray TestPE() {
  QByteArray f(0x600, '\0');
  f.replace(0, 2, "MZ");
  f.replace(60, 4, Le32(0x40));
  f.replace(0x40, 4, QByteArray("PE\0\0", 4));
  f.replace(0x44, 2, Le16(0x14C));
  f.replace(0x46, 2, Le16(1));    // sections
  f.replace(0x54, 2, Le16(224));  // optional header size
  const int opt = 0x58;
  f.replace(opt, 2, Le16(0x10B));
  f.replace(opt + 112, 8, Le32(0x1000) + Le32(0x400));
  const int sec = opt + 224;
  f.replace(sec, 5, ".rsrc");
  f.replace(sec + 8, 4, Le32(0x400));
  f.replace(sec + 12, 4, Le32(0x1000));
  f.replace(sec + 16, 4, Le32(0x400));
  f.replace(sec + 20, 4, Le32(0x200));
  auto dirAt = [&f](int off, uint32_t id, uint32_t target) {
    f.replace(0x200 + off + 14, 2, Le16(1));
    f.replace(0x200 + off + 16, 8, Le32(id) + Le32(target));
  };
  dirAt(0x00, 3, 0x80000018);
  dirAt(0x18, 1, 0x80000030);
  dirAt(0x30, 0x409, 0x48);
  f.replace(0x200 + 0x48, 8, Le32(0x1058) + Le32(744));
  for (int i = 0; i < 744; ++i) f[0x258 + i] = char(0xEE);
  return f;
}

QByteArray TestIco(const QList<int>& sizes) {
  QByteArray ico = Le16(0) + Le16(1) + Le16(uint16_t(sizes.size()));
  uint32_t offset = 6 + 16 * sizes.size();
  QByteArray images;
  for (int i = 0; i < sizes.size(); ++i) {
    ico += QByteArray(1, char(16 * (i + 1))) + char(16 * (i + 1)) + char(0) + char(0) + Le16(1) +
           Le16(32) + Le32(sizes[i]) + Le32(offset);
    images += QByteArray(sizes[i], char('a' + i));
    offset += sizes[i];
  }
  return ico + images;
}

QString IconError(QByteArray& pe, const QByteArray& ico) {
  QBuffer buf(&pe);
  buf.open(QIODevice::ReadWrite);
  try {
    ReplaceIcon(buf, ico);
  } catch (const EZipArchiver& e) {
    return e.Message();
  }
  return {};
}

TEST_F(ZipSFXTest, IconReplacement) {
  QByteArray pe = TestPE(), before = pe;
  EXPECT_EQ(IconError(pe, TestIco({296, 744})), "");
  QByteArray expected = before;
  expected.replace(0x258, 744, QByteArray(744, 'b'));
  EXPECT_EQ(pe, expected);

  pe = before;
  EXPECT_EQ(IconError(pe, TestIco({296})), "No matching icon found.");
  EXPECT_EQ(pe, before);
  EXPECT_EQ(IconError(pe, "not an icon"), "No icon found.");

  const int opt = 0x58;
  const struct {
    const char* name;
    std::function<void(QByteArray&)> breakIt;
    const char* message;
  } cases[] = {
      {"no MZ", [](QByteArray& f) { f[0] = 'X'; }, "Error: input file is not an .EXE file"},
      {"e_lfanew past the end", [](QByteArray& f) { f.replace(60, 4, Le32(0x5F0)); },
       "Error: input file is not an .EXE file"},
      {"PE32+", [](QByteArray& f) { f.replace(opt, 2, Le16(0x20B)); },
       "Error: input file is not an .EXE file"},
      {"no resources", [](QByteArray& f) { f.replace(opt + 116, 4, Le32(0)); },
       "No resources found in executable."},
      {"no section at the resources", [](QByteArray& f) { f.replace(opt + 112, 4, Le32(0x2000)); },
       "No resources found in executable."},
      {"sections past the end",
       [](QByteArray& f) {
         f.replace(0x46, 2, Le16(60));
         f.replace(opt + 112, 4, Le32(0x2000));
       },
       "Error while reading executable sections."},
      {"looping directory",
       [](QByteArray& f) { f.replace(0x200 + 0x30 + 20, 4, Le32(0x80000000)); },
       "No icon resources found in executable."},
      {"directory past the section",
       [](QByteArray& f) { f.replace(0x200 + 0x18 + 20, 4, Le32(0x80000FF0)); },
       "Error while browsing resources."},
      {"no icon type", [](QByteArray& f) { f.replace(0x200 + 16, 4, Le32(14)); },
       "No icon resources found in executable."},
      {"data past the end", [](QByteArray& f) { f.replace(0x200 + 0x48, 4, Le32(0x1300)); },
       "Cannot copy icon."},
  };
  for (const auto& c : cases) {
    QByteArray broken = TestPE();
    c.breakIt(broken);
    QByteArray copy = broken;
    EXPECT_EQ(IconError(broken, TestIco({744})), c.message) << c.name;
    EXPECT_EQ(broken, copy) << c.name;
  }
}

TEST_F(ZipSFXTest, TheIconGoesIntoTheBuiltStub) {
  WriteFileAt(Path("pe/ZASFXUS.BIN"), TestPE());
  TCustomZipSFX sfx;
  sfx.SFXPath = Path("pe/");
  sfx.SetIcon(TestIco({744}));
  sfx.TargetFile = Path("icon.exe");
  sfx.MakeAutoSFX();
  QByteArray exe = ReadFileBytes(Path("icon.exe"));
  EXPECT_EQ(exe.mid(0x258, 744), QByteArray(744, 'a'));
  EXPECT_EQ(exe.size(), 0x600 + 28 + 22);
}

TEST_F(ZipSFXTest, LanguageNames) {
  EXPECT_EQ(SFXLanguageName(0x040E), "magyar");
  EXPECT_EQ(SFXLanguageName(0x0409), "American English");
  EXPECT_EQ(SFXLanguageName(0x03FF), "");
  EXPECT_TRUE(SFXLanguageList().isEmpty());  // the program carries no stub resources
}

}  // namespace
