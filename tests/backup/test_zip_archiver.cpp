#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "library_module.h"
#include "scripted_ui.h"
#include "test_util.h"
#include "zip_test_util.h"

namespace {

class ZipArchiverTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }
};

TEST_F(ZipArchiverTest, AStoredGifAddedByFullPathWithTheFormsSettings) {
  WriteFileAt(Path("src/a.gif"), "GIF89a");
  RecordingZip r;
  r.zip.FSpecArgs << Path("src/a.gif");
  r.zip.SetZipFileName(Path("work.zip"));
  EXPECT_EQ(r.zip.Count(), 0);
  EXPECT_TRUE(r.messages.isEmpty());  // a missing archive is no error
  EXPECT_EQ(r.zip.Add(), 0);
  EXPECT_EQ(r.zip.Count(), 1);
  EXPECT_EQ(r.zip.SuccessCnt(), 1);
  EXPECT_TRUE(r.zip.FSpecArgs.isEmpty());
  EXPECT_EQ(r.Texts(), QStringList{"  adding: a.gif"});

  QByteArray bytes = ReadFileBytes(Path("work.zip"));
  ASSERT_EQ(bytes.size(), 114);
  EXPECT_EQ(bytes.left(30).toHex(' '),
            QByteArray("50 4b 03 04 0a 00 00 00 00 00 c0 53 89 5d f2 ce 4a 56 06 00 00 00 06 00 "
                       "00 00 05 00 00 00"));
  EXPECT_EQ(bytes.mid(30, 11), "a.gifGIF89a");
  EXPECT_EQ(bytes.mid(41, 4), QByteArray("PK\1\2"));
  EXPECT_EQ(bytes.mid(92, 4), QByteArray("PK\5\6"));
  EXPECT_EQ(bytes.mid(92 + 12, 8).toHex(' '), QByteArray("33 00 00 00 29 00 00 00"));
  EXPECT_EQ(r.zip.Engine().ZipContents()[0].FileName, "a.gif");
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "work.zip"}), 0);
}

TEST_F(ZipArchiverTest, TheBackupsDumpIsDeflatedTestedAndACorruptionIsCaught) {
  QByteArray sql = SqlDumpText(5 * 1024 * 1024);
  WriteFileAt(Path("work/dbment.sql"), sql);
  RecordingZip r;
  r.zip.FSpecArgs << Path("work/dbment.sql");
  r.zip.SetZipFileName(Path("work/work.zip"));
  r.zip.ExtrBaseDir = Path("work");
  ASSERT_EQ(r.zip.Add(), 0);
  ASSERT_EQ(r.zip.Count(), 1);
  const ZipDirEntry& e = r.zip.Engine().ZipContents()[0];
  EXPECT_EQ(e.FileName, "dbment.sql");
  EXPECT_EQ(e.ComprMethod, 8);
  EXPECT_EQ(e.Flag, 0x0002);

  r.messages.clear();
  r.zip.FSpecArgs << "*.*";
  r.zip.SetZipFileName(Path("work/work.zip"));
  r.zip.ExtrBaseDir.clear();
  r.zip.ExtrOptions << ExtrTest;
  EXPECT_EQ(r.zip.Extract(), 0);
  EXPECT_EQ(r.zip.SuccessCnt(), 1);
  EXPECT_EQ(r.Texts(), (QStringList{"Tested file dbment.sql", "No Errors"}));

  QDir().mkpath(Path("out"));
  ASSERT_EQ(RunPeer(Path("out"), "unzip", {"-q", Path("work/work.zip")}), 0);
  EXPECT_TRUE(ReadFileBytes(Path("out/dbment.sql")) == sql);

  QByteArray zipped = ReadFileBytes(Path("work/work.zip"));
  zipped[30 + 10 + 5000] = char(zipped[30 + 10 + 5000] ^ 0x10);
  WriteFileBytes(Path("bad.zip"), zipped);
  r.messages.clear();
  r.zip.FSpecArgs << "*.*";
  r.zip.SetZipFileName(Path("bad.zip"));
  EXPECT_NE(r.zip.Extract(), 0);
  EXPECT_EQ(r.zip.SuccessCnt(), 0);
  ASSERT_FALSE(r.ErrorCodes().isEmpty());
  EXPECT_EQ(r.ErrorCodes()[0], 11021);
  EXPECT_TRUE(r.messages[0].second.startsWith("Error while reading zipped data "))
      << r.messages[0].second.toStdString();
  EXPECT_FALSE(r.Texts().contains("No Errors"));
}

TEST_F(ZipArchiverTest, AnEntryNamedLikeProgressDoesNotHideItsError) {
  WriteFileAt(Path("adding:x"), SqlDumpText(100000));
  RecordingZip r;
  r.zip.FSpecArgs << Path("adding:x");
  r.zip.SetZipFileName(Path("t.zip"));
  ASSERT_EQ(r.zip.Add(), 0);
  QByteArray zipped = ReadFileBytes(Path("t.zip"));
  zipped[30 + 8 + 200] = char(zipped[30 + 8 + 200] ^ 0x55);
  WriteFileBytes(Path("t.zip"), zipped);
  r.messages.clear();
  r.zip.SetZipFileName(Path("t.zip"));
  r.zip.ExtrOptions << ExtrTest;
  r.zip.Extract();
  EXPECT_EQ(r.zip.SuccessCnt(), 0);
  ASSERT_FALSE(r.ErrorCodes().isEmpty());
  EXPECT_NE(r.zip.ErrCode(), 0);
}

// The end record: found behind a comment, garbage reported unless it is padding, a signature
// inside the comment, and no zip at all.
TEST_F(ZipArchiverTest, TheEndRecordIsFoundAndCheckedBeforeItIsTrusted) {
  WriteFileAt(Path("a.txt"), "alma");
  RecordingZip r;
  r.zip.FSpecArgs << Path("a.txt");
  r.zip.SetZipFileName(Path("base.zip"));
  ASSERT_EQ(r.zip.Add(), 0);
  const QByteArray base = ReadFileBytes(Path("base.zip"));
  auto withComment = [&](const QByteArray& comment) {
    QByteArray z = base;
    z[z.size() - 2] = char(comment.size() & 0xFF);
    z[z.size() - 1] = char(comment.size() >> 8);
    return z + comment;
  };
  struct Case {
    const char* what;
    QByteArray bytes;
    int count;
    QList<int> errors;
  } cases[] = {
      {"100-byte comment", withComment(QByteArray(100, 'c')), 1, {}},
      {"300 zero bytes", base + QByteArray(300, '\0'), 1, {}},
      {"300 letters", base + QByteArray(300, 'x'), 1, {10204}},
      {"signature in the comment", withComment("abPK\5\6" + QByteArray(30, '\xff')), 1, {}},
      {"no zip", QByteArray(2000, 'n'), 0, {11036}},
      {"too short", "PK", 0, {11036}},
  };
  for (const Case& c : cases) {
    WriteFileBytes(Path("c.zip"), c.bytes);
    r.messages.clear();
    r.zip.SetZipFileName(Path("c.zip"));
    EXPECT_EQ(r.zip.Count(), c.count) << c.what;
    EXPECT_EQ(r.ErrorCodes(), c.errors) << c.what;
    if (c.count == 1) {
      EXPECT_EQ(r.zip.Engine().ZipContents()[0].FileName, "a.txt") << c.what;
    }
  }
  EXPECT_EQ(r.messages.last().second, "This archive is not a valid Zip archive");
  // A comment that the peer tools wrote is read back.
  WriteFileBytes(Path("p.zip"), base);
  EXPECT_EQ(RunPeer(tmp.path(), "sh", {"-c", "echo megjegyzes | zip -z p.zip"}), 0);
  r.zip.SetZipFileName(Path("p.zip"));
  EXPECT_EQ(r.zip.Engine().ZipComment(), "megjegyzes");
  r.zip.Engine().SetZipComment("uj");
  r.zip.SetZipFileName(Path("p.zip"));
  EXPECT_EQ(r.zip.Engine().ZipComment(), "uj");
  EXPECT_EQ(RunPeer(tmp.path(), "unzip", {"-t", "p.zip"}), 0);
}

TEST_F(ZipArchiverTest, ExtractionNeverWritesOutsideTheTarget) {
  QList<RawZipEntry> entries;
  for (const char* n : {"../x", "/tmp/zarn_slip_abs", "..\\x", "a/../../x", "C:x", "ok/good.txt"})
    entries.append(RawZipEntry{n, "slip"});
  entries.append(RawZipEntry{"l", "/etc", 0120777});
  entries.append(RawZipEntry{"l/x", "through the link"});
  WriteFileBytes(Path("slip.zip"), MakeRawZip(entries));
  QDir().mkpath(Path("t/inner"));
  QFile::remove("/tmp/zarn_slip_abs");
  // An existing link in the target is not followed either.
  QFile::link(Path("outside"), Path("t/inner/lnk"));
  RecordingZip r;
  r.zip.SetZipFileName(Path("slip.zip"));
  ASSERT_EQ(r.zip.Count(), 8);
  r.zip.ExtrBaseDir = Path("t/inner");
  r.zip.ExtrOptions = ExtrOpts{ExtrDirNames, ExtrOverWrite};
  r.zip.Extract();
  EXPECT_TRUE(ReadFileBytes(Path("t/inner/ok/good.txt")) == "slip");
  EXPECT_FALSE(QFileInfo::exists(Path("t/x")));
  EXPECT_FALSE(QFileInfo::exists(Path("x")));
  EXPECT_FALSE(QFileInfo::exists("/tmp/zarn_slip_abs"));
  EXPECT_FALSE(QFileInfo::exists(Path("outside")));
  EXPECT_FALSE(QFileInfo(Path("t/inner/l")).isSymLink());
  EXPECT_EQ(r.zip.SuccessCnt(), 2);  // ok/good.txt, and l/x written as a plain file
  int skipped = 0;
  for (const auto& m : r.messages)
    if (m.first == 10125) ++skipped;
  EXPECT_EQ(skipped, 6);
  EXPECT_NE(r.zip.ErrCode(), 0);
  QStringList all;
  QDir d(Path("t/inner"));
  for (const QFileInfo& fi :
       d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
    all << fi.fileName();
  all.sort();
  EXPECT_EQ(all, (QStringList{"l", "lnk", "ok"}));
}

TEST_F(ZipArchiverTest, AnEntryThatGivesMoreThanItDeclaresStopsThere) {
  const RawZipEntry big = DeflatedZeros("big.bin", 3 << 20);
  RawZipEntry liar = big;
  liar.name = "liar.bin";
  liar.size = 1 << 20;  // holds three times that
  WriteFileBytes(Path("z.zip"), MakeRawZip({big, liar}));
  for (bool test : {true, false}) {
    RecordingZip r;
    r.zip.SetZipFileName(Path("z.zip"));
    r.zip.ExtrBaseDir = Path("out");
    r.zip.ExtrOptions = test ? ExtrOpts{ExtrTest} : ExtrOpts{ExtrForceDirs};
    EXPECT_NE(r.zip.Extract(), 0) << test;
    EXPECT_EQ(r.zip.SuccessCnt(), 1) << test;
    EXPECT_TRUE(r.Texts().contains("Error while reading zipped data liar.bin"))
        << r.Texts().join('\n').toStdString();
  }
  EXPECT_EQ(ReadFileBytes(Path("out/big.bin")), QByteArray(3 << 20, '\0'));
  EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"big.bin"});
}

TEST_F(ZipArchiverTest, AddMoveDeletesTheSourcesOnlyOnceTheArchiveIsWritten) {
  WriteFileAt(Path("m/a.txt"), "a");
  WriteFileAt(Path("m/b.txt"), "b");
  RecordingZip r;
  r.zip.AddOptions << AddMove;
  r.zip.FSpecArgs << Path("m/*.txt");
  // The archive's directory does not exist: nothing written, nothing deleted.
  r.zip.SetZipFileName(Path("none/m.zip"));
  EXPECT_NE(r.zip.Add(), 0);
  EXPECT_TRUE(QFileInfo::exists(Path("m/a.txt")));
  r.zip.AddOptions << AddMove;
  r.zip.FSpecArgs << Path("m/*.txt");
  r.zip.SetZipFileName(Path("m.zip"));
  EXPECT_EQ(r.zip.Add(), 0);
  EXPECT_EQ(r.zip.Count(), 2);
  EXPECT_FALSE(QFileInfo::exists(Path("m/a.txt")));
  EXPECT_FALSE(QFileInfo::exists(Path("m/b.txt")));
}

// Fake libraries under the libraries' names.
struct FakeLib {
  static inline int version = 177;
  static inline int result = 0;
  static inline void* lastRecord = nullptr;
  static inline ZipLibParams zipCopy;
  static inline UnzLibParams unzCopy;
  static int32_t Version() { return version; }
  static int32_t Zip(void* p) {
    if (p) zipCopy = *static_cast<ZipLibParams*>(p);
    lastRecord = p;
    return result;
  }
  static int32_t Unz(void* p) {
    if (p) unzCopy = *static_cast<UnzLibParams*>(p);
    lastRecord = p;
    return result;
  }
};

struct ScopedFake {
  explicit ScopedFake(const QString& name, std::optional<LibraryModule> m) : name(name) {
    RegisterLibraryModule(name, std::move(m));
  }
  ~ScopedFake() { RestoreLibraryModule(name); }
  QString name;
};

LibraryModule FakeModule(bool zip) {
  LibraryModule m;
  auto exec = zip ? &FakeLib::Zip : &FakeLib::Unz;
  m.exports.insert(zip ? "ZipLibExec" : "UnzLibExec", reinterpret_cast<void*>(exec));
  m.exports.insert(zip ? "GetZipLibVersion" : "GetUnzLibVersion",
                   reinterpret_cast<void*>(&FakeLib::Version));
  m.exports.insert(zip ? "GetZipLibPrivVersion" : "GetUnzLibPrivVersion",
                   reinterpret_cast<void*>(&FakeLib::Version));
  return m;
}

TEST_F(ZipArchiverTest, LibrariesThatAreMissingOldOrFailing) {
  WriteFileAt(Path("a.txt"), "a");
  RecordingZip r;
  {
    ScopedFake missing("ZIPLIB.DLL", std::nullopt);
    r.zip.FSpecArgs << Path("a.txt");
    r.zip.SetZipFileName(Path("f.zip"));
    r.zip.Add();
    EXPECT_EQ(r.messages.last(), qMakePair(10650, QString("Failed to load ZIPLIB.DLL")));
  }
  r.zip.FSpecArgs << Path("a.txt");
  ASSERT_EQ(r.zip.Add(), 0);  // the real one again
  ScopedFake zip("ZIPLIB.DLL", FakeModule(true));
  ScopedFake unz("UNZLIB.DLL", FakeModule(false));
  FakeLib::version = 150;
  r.zip.FSpecArgs << "*.*";
  r.zip.Extract();
  EXPECT_EQ(r.messages.last().second, "Unable to load UNZLIB.DLL - It is old or corrupt");
  FakeLib::version = 176;
  r.zip.Extract();
  EXPECT_EQ(r.messages.last().first, 10651);
  FakeLib::version = 177;
  struct {
    int result;
    QString text;
  } results[] = {{-2, "DLL Error - Aborting"},
                 {-6, "DLL Error - Invalid structure"},
                 {-7, "critical DLL Error -7"},
                 {-4, "DLL Error - User Cancelled"}};
  for (const auto& c : results) {
    FakeLib::result = c.result;
    r.zip.FSpecArgs << Path("a.txt");
    r.zip.Add();
    EXPECT_EQ(r.messages.last().second, c.text);
    EXPECT_EQ(r.zip.SuccessCnt(), 0);
    r.zip.Extract();
    EXPECT_EQ(r.messages.last().second, c.text);
  }
  FakeLib::result = 0;
}

TEST_F(ZipArchiverTest, TheRecordsCarryTheSettings) {
  WriteFileAt(Path("a.txt"), "a");
  RecordingZip r;
  r.zip.FSpecArgs << Path("a.txt");
  r.zip.SetZipFileName(Path("s.zip"));
  ASSERT_EQ(r.zip.Add(), 0);
  ScopedFake zip("ZIPLIB.DLL", FakeModule(true));
  ScopedFake unz("UNZLIB.DLL", FakeModule(false));
  FakeLib::result = 0;
  r.zip.FSpecArgs =
      QStringList{"  " + Path("a.txt") + "  ", ">sub/*.txt", "|x.txt<titok", "y.txt< "};
  r.zip.FSpecArgsExcl = QStringList{"*.bak"};
  r.zip.Add();
  const ZipLibParams& p = FakeLib::zipCopy;
  EXPECT_EQ(p.fJunkDir, -1);
  EXPECT_EQ(p.fSystem, -1);
  EXPECT_EQ(p.fLevel, 9);
  EXPECT_EQ(p.fRecurse, 0);
  EXPECT_EQ(p.fNoDirEntries, -1);
  EXPECT_EQ(p.fGrow, -1);
  EXPECT_EQ(p.fHowToDelete, 0);
  EXPECT_EQ(p.fCheck, 7);
  EXPECT_EQ(p.Version, 177);
  EXPECT_EQ(p.PZipPassword, nullptr);
  EXPECT_EQ(p.Argc, 4);
  EXPECT_EQ(p.TotExFileSpecs, 1);
  EXPECT_TRUE(r.zip.FSpecArgs.isEmpty());
  EXPECT_TRUE(r.zip.FSpecArgsExcl.isEmpty());

  // A second run shows what the first record held (its texts are freed after the call).
  r.zip.AddOptions = AddOpts{AddDirNames, AddRecurseDirs, AddSeparateDirs, AddEncrypt};
  r.zip.Password = "titok";
  r.zip.AddStoreSuffixes = AddStoreExts{assGIF, assEXE, assEXT};
  r.zip.ExtAddStoreSuffixes = ".abc:";
  QByteArray suffix, spec2, pw3;
  int enc3 = -5, enc4 = -5, rec2 = -5, rec3 = -5;
  auto capture = [&](void* rec) {
    auto* q = static_cast<ZipLibParams*>(rec);
    suffix = q->PSuffix;
    spec2 = q->FDs[1].FileSpec;
    rec2 = q->FDs[1].Recurse;
    rec3 = q->FDs[2].Recurse;
    pw3 = q->FDs[2].FileSpecPassword;
    enc3 = q->FDs[2].Encrypt;
    enc4 = q->FDs[3].Encrypt;
    EXPECT_EQ(q->fJunkDir, 0);
    EXPECT_EQ(q->fRecurse, 0xFFFF);
    EXPECT_EQ(q->fNoDirEntries, 0);
    EXPECT_EQ(q->fEncrypt, -1);
    EXPECT_STREQ(q->PZipPassword, "titok");
  };
  static std::function<void(void*)> hook;
  hook = capture;
  LibraryModule m = FakeModule(true);
  m.exports["ZipLibExec"] = reinterpret_cast<void*>(+[](void* rec) -> int32_t {
    if (rec) hook(rec);
    return 0;
  });
  ScopedFake spy("ZIPLIB.DLL", m);
  r.zip.FSpecArgs = QStringList{"a.txt", ">sub/*.txt", "|x.txt<titok", "y.txt< "};
  r.zip.Add();
  EXPECT_EQ(suffix, ".gif:.exe:.abc");
  EXPECT_EQ(spec2, "sub/*.txt");
  EXPECT_EQ(rec2, 0xFFFF);
  EXPECT_EQ(rec3, 0);
  EXPECT_EQ(pw3, "titok");
  EXPECT_EQ(enc3, 0xFFFF);
  EXPECT_EQ(enc4, 0);

  // The forms' suffixes, and an extraction of everything.
  r.zip.AddStoreSuffixes = AddStoreExts::Range(assGIF, assJAR);
  static QByteArray formsSuffix;
  m.exports["ZipLibExec"] = reinterpret_cast<void*>(+[](void* rec) -> int32_t {
    if (rec) formsSuffix = static_cast<ZipLibParams*>(rec)->PSuffix;
    return 0;
  });
  ScopedFake spy2("ZIPLIB.DLL", m);
  r.zip.FSpecArgs << "a.txt";
  r.zip.Add();
  EXPECT_EQ(formsSuffix,
            ".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha:.rar:.ace:.cab:.gz:.gzip:.jar");
  r.zip.SetZipFileName(Path("s.zip"));
  r.zip.FSpecArgs << "*.*";
  r.zip.ExtrOptions = ExtrOpts{ExtrTest, ExtrOverWrite};
  r.zip.ExtrBaseDir = Path("");
  r.zip.PasswordReqCount = 40;
  r.zip.Extract();
  const UnzLibParams& u = FakeLib::unzCopy;
  EXPECT_EQ(u.Argc, 0);
  EXPECT_EQ(u.fTest, -1);
  EXPECT_EQ(u.fOverwrite, -1);
  EXPECT_EQ(u.fDirectories, 0);
  EXPECT_EQ(u.PExtractDir, nullptr);  // a test extracts nowhere
  EXPECT_EQ(u.fPwdReqCount, 15);
  EXPECT_EQ(u.fCheck, 7);
}

TEST_F(ZipArchiverTest, ACallInsideAnOperationIsRefused) {
  WriteFileAt(Path("a.txt"), "a");
  RecordingZip r;
  int inner = 0;
  r.zip.OnProgress = [&](QObject*, TProgressType kind, const QString&, int64_t) {
    if (kind != NewFile || inner) return;
    r.zip.FSpecArgs << Path("a.txt");
    inner = r.zip.Add();
  };
  r.zip.Verbose = true;
  r.zip.FSpecArgs << Path("a.txt");
  r.zip.SetZipFileName(Path("r.zip"));
  r.zip.Add();
  EXPECT_EQ(inner, -255);
  EXPECT_TRUE(r.Texts().contains("Re-entry"));
  EXPECT_EQ(r.zip.ErrCode() & 0x4000000, 0x4000000);
  EXPECT_EQ(r.zip.Count(), 1);
  r.zip.OnProgress = nullptr;
  r.zip.FSpecArgs << Path("a.txt");
  EXPECT_EQ(r.zip.Add(), 0);
  EXPECT_EQ(r.zip.ErrCode(), 0);

  r.zip.SetActive(false);
  EXPECT_EQ(r.zip.ErrCode(), 10109);
  EXPECT_EQ(r.zip.Count(), 0);
  EXPECT_EQ(r.zip.Add(), -255);
  r.zip.SetActive(true);
  EXPECT_EQ(r.zip.Count(), 1);
}

TEST_F(ZipArchiverTest, EventsProgressVerboseMessagesAndCancelling) {
  WriteFileAt(Path("a.txt"), SqlDumpText(300000));
  WriteFileAt(Path("b.txt"), "b");
  RecordingZip r;
  QStringList progress;
  r.zip.OnProgress = [&](QObject*, TProgressType kind, const QString& name, int64_t size) {
    if (kind != ProgressUpdate) progress << QString::number(kind) + ":" + name;
  };
  int lastTotal = -1;
  r.zip.OnTotalProgress = [&](QObject*, int64_t, int perCent) { lastTotal = perCent; };
  r.zip.Verbose = true;
  r.zip.FSpecArgs << Path("*.txt");
  r.zip.SetZipFileName(Path("v.zip"));
  ASSERT_EQ(r.zip.Add(), 0);
  EXPECT_EQ(r.Texts(), (QStringList{"Loaded ZIPLIB.DLL", "  adding: a.txt", "  adding: b.txt",
                                    "Unloaded ZIPLIB.DLL"}));
  // Reading the directory is a progress step, not a message.
  EXPECT_EQ(progress, (QStringList{"0:a.txt", "0:b.txt", "2:", "5:*Loading Directory"}));
  progress.clear();
  r.zip.ExtrOptions = ExtrOpts{ExtrTest};
  r.zip.FSpecArgs << "*.*";
  r.zip.Extract();
  EXPECT_EQ(progress, (QStringList{"3:", "4:", "0:a.txt", "0:b.txt", "2:"}));
  EXPECT_EQ(lastTotal, 101);

  // An abort asked for after a callback cancels the operation.
  r.zip.Verbose = false;
  r.zip.OnAfterCallback = [](QObject*, bool& abort) { abort = true; };
  r.messages.clear();
  r.zip.FSpecArgs << "*.*";
  r.zip.Extract();
  EXPECT_EQ(r.zip.SuccessCnt(), 0);
  EXPECT_EQ(r.messages.last().second, "DLL Error - User Cancelled");
  r.zip.FSpecArgs << Path("*.txt");
  r.zip.SetZipFileName(Path("w.zip"));
  r.zip.Add();
  EXPECT_EQ(r.zip.Count(), 0);
  EXPECT_FALSE(QFileInfo::exists(Path("w.zip")));
}

TEST_F(ZipArchiverTest, OperationsWithoutWhatTheyNeed) {
  RecordingZip r;
  struct {
    std::function<int()> op;
    int code;
  } cases[] = {
      {[&] { return r.zip.Add(); }, 10301},
      {[&] {
         r.zip.FSpecArgs << "x";
         return r.zip.Add();
       },
       10102},
      {[&] { return r.zip.Extract(); }, 10102},
      {[&] {
         r.zip.AddOptions << AddEncrypt;
         r.zip.Unattended = true;
         r.zip.FSpecArgs << "x";
         r.zip.SetZipFileName(Path("e.zip"));
         return r.zip.Add();
       },
       10302},
      {[&] {
         r.zip.AddOptions = AddOpts{AddDiskSpan};
         r.zip.Engine().SpanWriter = nullptr;  // an engine without spanning
         r.zip.FSpecArgs << "x";
         return r.zip.Add();
       },
       11048},
      {[&] {
         r.zip.AddOptions = AddOpts{};
         r.zip.Engine().SFXBuilder = nullptr;  // an engine without a builder
         r.zip.SetZipFileName(Path("new.exe"));
         r.zip.FSpecArgs << "x";
         return r.zip.Add();
       },
       10804},
      {[&] {
         r.zip.SetZipFileName(Path("missing.zip"));
         return r.zip.Extract();
       },
       11002},
  };
  for (auto& c : cases) {
    r.messages.clear();
    c.op();
    ASSERT_FALSE(r.messages.isEmpty()) << c.code;
    EXPECT_EQ(r.messages.last().first, c.code);
    EXPECT_EQ(r.zip.ErrCode(), c.code);
  }
  WriteFileAt(Path("a.txt"), "a");
  r.zip.Unattended = false;
  r.zip.FSpecArgs << Path("a.txt");
  r.zip.SetZipFileName(Path("d.zip"));
  ASSERT_EQ(r.zip.Add(), 0);
  r.zip.ExtrBaseDir = Path("no/such");
  r.zip.Extract();
  EXPECT_EQ(r.messages.last().second, "Extract directory '" + Path("no/such") + "' must exist");
  r.zip.ExtrOptions << ExtrForceDirs;
  EXPECT_EQ(r.zip.Extract(), 0);
  EXPECT_TRUE(QFileInfo::exists(Path("no/such/a.txt")));
}

}  // namespace
