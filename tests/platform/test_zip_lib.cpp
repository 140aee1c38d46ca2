#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "library_module.h"
#include "test_util.h"
#include "zip_directory.h"
#include "zip_lib.h"

namespace {

TEST(LibraryModule, BuiltInLibrariesFakesAndMissingOnes) {
  const LibraryModule* zip = LoadLibraryModule("ziplib.dll");
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(LibraryProcAddress(zip, "ZipLibExec"), reinterpret_cast<void*>(&ZipLibExec));
  EXPECT_EQ(LibraryProcAddress(zip, "UnzLibExec"), nullptr);
  EXPECT_NE(LoadLibraryModule("/some/dir/UNZLIB.DLL"), nullptr);
  EXPECT_EQ(LoadLibraryModule("OTHER.DLL"), nullptr);
  RegisterLibraryModule("ZIPLIB.DLL", std::nullopt);
  EXPECT_EQ(LoadLibraryModule("ZIPLIB.DLL"), nullptr);
  LibraryModule fake;
  fake.exports.insert("ZipLibExec", nullptr);
  RegisterLibraryModule("/x/ZIPLIB.DLL", fake);
  EXPECT_NE(LoadLibraryModule("/x/ZIPLIB.DLL"), nullptr);
  RestoreLibraryModule("/x/ZIPLIB.DLL");
  RestoreLibraryModule("ZIPLIB.DLL");
  EXPECT_EQ(LoadLibraryModule("ZIPLIB.DLL"), zip);
  EXPECT_EQ(GetZipLibVersion(), 177);
  EXPECT_EQ(GetUnzLibVersion(), 177);
}

int32_t Quiet(ZipCallbackStruct*) { return 0; }

TEST(ZipLib, RecordsAreCheckedAndANullRecordOnlyAsksToAbort) {
  ZipLibParams zp;
  std::memset(&zp, 0, sizeof zp);
  zp.Callback = &Quiet;
  EXPECT_EQ(ZipLibExec(&zp), -6);  // no check value
  zp.fCheck = kZipRecordCheck;
  zp.Callback = nullptr;
  EXPECT_EQ(ZipLibExec(&zp), -6);
  UnzLibParams up;
  std::memset(&up, 0, sizeof up);
  up.Callback = &Quiet;
  up.fCheck = 6;
  EXPECT_EQ(UnzLibExec(&up), -6);
  EXPECT_EQ(ZipLibExec(nullptr), 0);
  EXPECT_EQ(UnzLibExec(nullptr), 0);
}

// A callback that cancels at the first item.
int32_t CancelAtItem(ZipCallbackStruct* rec) { return (rec->ActionCode & 63) == zacItem ? 1 : 0; }

TEST(ZipLib, ACancelledAddLeavesNoArchive) {
  QTemporaryDir tmp;
  WriteFileBytes(tmp.path() + "/a.txt", "alma");
  QByteArray zipName = (tmp.path() + "/c.zip").toUtf8(), pattern = (tmp.path() + "/a.txt").toUtf8();
  ZipFileData fd;
  std::memset(&fd, 0, sizeof fd);
  fd.FileSpec = pattern.constData();
  ZipLibParams p;
  std::memset(&p, 0, sizeof p);
  p.Callback = &CancelAtItem;
  p.PZipFN = zipName.constData();
  p.Argc = 1;
  p.FDs = &fd;
  p.fLevel = 9;
  p.fCheck = kZipRecordCheck;
  EXPECT_EQ(ZipLibExec(&p), -4);
  EXPECT_FALSE(QFile::exists(tmp.path() + "/c.zip"));
}

QByteArray EmptyEnd(uint16_t entries, uint32_t size, uint32_t offset, uint16_t commentLen) {
  QByteArray e("PK\5\6\0\0\0\0", 8);
  for (uint32_t v : {uint32_t(entries), uint32_t(entries)}) e += char(v & 0xFF), e += char(v >> 8);
  for (uint32_t v : {size, offset})
    for (int i = 0; i < 4; ++i) e += char((v >> (8 * i)) & 0xFF);
  e += char(commentLen & 0xFF);
  e += char(commentLen >> 8);
  return e;
}

TEST(ZipDirectory, EndRecordCandidatesMustHoldTogether) {
  QTemporaryDir tmp;
  struct Case {
    const char* what;
    QByteArray bytes;
    int result;
    qint64 eoc;
  } cases[] = {
      {"empty archive", EmptyEnd(0, 0, 0, 0), 0, 0},
      {"comment longer than the file", EmptyEnd(0, 0, 0, 500), 11036, -1},
      {"directory beyond the record", EmptyEnd(1, 46, 100, 0), 11036, -1},
      {"directory without a central header", QByteArray(60, 'x') + EmptyEnd(1, 46, 0, 0), 11036,
       -1},
      {"a false record inside the comment",
       EmptyEnd(0, 0, 0, 30) + "ab" + EmptyEnd(5, 99, 99, 0) + "cdefgh", 0, 0},
      {"spanning marker then a local header", QByteArray("PK\7\10PK\3\4", 8) + EmptyEnd(0, 0, 0, 0),
       0, 8},
  };
  for (const Case& c : cases) {
    WriteFileBytes(tmp.path() + "/x.zip", c.bytes);
    ZipDirectory dir;
    EXPECT_EQ(ReadZipDirectory(tmp.path() + "/x.zip", dir), c.result) << c.what;
    EXPECT_EQ(dir.EocPosition, c.eoc) << c.what;
  }
  ZipDirectory dir;
  ReadZipDirectory(tmp.path() + "/x.zip", dir);
  EXPECT_TRUE(dir.FirstIsLocalHeader);
  EXPECT_EQ(ReadZipDirectory(tmp.path() + "/missing.zip", dir), 11002);
}

TEST(ZipDirectory, NamesByFlagHostAndCodePage) {
  const QByteArray utf8 = "árvíz", cp852("\xa0rv\xa1z"), cp1250("\xe1rv\xedz");
  EXPECT_EQ(ZipDecodeText(utf8, true, true), "árvíz");
  EXPECT_EQ(ZipDecodeText(cp852, false, true), "árvíz");
  EXPECT_EQ(ZipDecodeText(utf8, false, false), "árvíz");
  EXPECT_EQ(ZipDecodeText(cp1250, false, false), "árvíz");
  EXPECT_TRUE(ZipNameIsOem(0x0014, false, true));    // FAT, cpAuto
  EXPECT_FALSE(ZipNameIsOem(0x0014, false, false));  // FAT, cpNone
  EXPECT_TRUE(ZipNameIsOem(0x0614, false, false));   // HPFS
  EXPECT_TRUE(ZipNameIsOem(0x0B32, false, false));   // NTFS 5.0
  EXPECT_FALSE(ZipNameIsOem(0x0B14, false, true));
  EXPECT_FALSE(ZipNameIsOem(0x031E, false, true));  // Unix
  EXPECT_TRUE(ZipNameIsOem(0x031E, true, false));   // cpOEM
  EXPECT_EQ(ZipEncodeName("árvíz", true), cp852);
  EXPECT_EQ(ZipEncodeName("árvíz", false), utf8);
}

}  // namespace
