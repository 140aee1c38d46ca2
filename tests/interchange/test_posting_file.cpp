#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "exceptions.h"
#include "memory_ini_file.h"
#include "posting_fixture.h"
#include "test_util.h"

namespace {

class PostingFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    FillPostingCompany(db);
  }
  QByteArray Write(const PostingRequest& r) {
    WritePostingFile(db.Db(), r);
    return ReadFileBytes(r.FileName);
  }
  TestDatabase db;
  QTemporaryDir dir;
  QString file = dir.filePath("ECSFELAD.XML");
};

TEST_F(PostingFile, IsoAndDosFormsMatchTheGoldenFiles) {
  PostingRequest r = PostingRequest2005(file);
  std::vector<std::pair<int, int>> steps;
  WritePostingFile(db.Db(), r, [&](int position, int maximum) {
    steps.push_back({position, maximum});
  });
  const QByteArray iso = ReadFileBytes(file);
  ExpectGolden(iso, "interchange/golden/ecsfelad_iso.xml");
  EXPECT_EQ(iso.count("\r\n"), 49);
  EXPECT_EQ(iso.size(), 1181);
  for (const char* line : {"<CEG NEV=\"Minta &amp; Fia Kft\" ADOSZ=\"12345678-2-42\"></CEG>\r\n",
                           "\r\n  <VTETEL HUF=\"33333.5\" DEV=\"33333.5\" \r\n",
                           "\r\n   SZOVEG=\"\xc9"
                           "CS LEIR\xc1S Lsz:00001\" \r\n",
                           "<VEGYES BIZSZAM=\"AKT050315\" KELTE=\"2005.03.15\" \r\n"
                           " PENZNEM=\"HUF\" KEV=\"2005\" KHO=\"3\" \r\n",
                           "<VEGYES BIZSZAM=\"AKT050401\" KELTE=\"2005.04.01\" \r\n"
                           " PENZNEM=\"HUF\" KEV=\"2005\" KHO=\"4\" \r\n",
                           "\r\n   T=\"1321\" K=\"\"\r\n"})
    EXPECT_TRUE(iso.contains(line)) << line;
  EXPECT_FALSE(iso.contains("00003"));
  EXPECT_FALSE(iso.contains("90000"));
  EXPECT_EQ(steps,
            (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}, {0, 2}, {1, 2}, {2, 2}}));

  r.Dos852 = true;
  const QByteArray dos = Write(r);
  ExpectGolden(dos, "interchange/golden/ecsfelad_852.xml");
  EXPECT_EQ(dos.size(), 1174);
  EXPECT_TRUE(dos.startsWith("<?xml version=\"1.0\" encoding=\"852\" ?>\r\n"));
  EXPECT_TRUE(dos.contains(" SZOVEG=\"\x90RT\x90K CS\x99KKEN\x90SI LE\xd6R\x41S\">"));
  EXPECT_TRUE(dos.contains("Aktiv\xa0l\xa0s Lsz:00002"));
  // Apart from the declaration, only the letters differ.
  QByteArray isoBody = iso.mid(iso.indexOf('\n')), dosBody = dos.mid(dos.indexOf('\n'));
  ASSERT_EQ(isoBody.size(), dosBody.size());
  for (qsizetype i = 0; i < isoBody.size(); ++i)
    if (isoBody[i] != dosBody[i]) {
      EXPECT_LT(isoBody[i], 0) << i;  // a byte above 127
    }
}

TEST_F(PostingFile, EmptyPartsAndNegativeAmounts) {
  PostingRequest r = PostingRequest2005(file);
  r.EcsAdatok = r.AktivalasAdatok = false;
  EXPECT_EQ(Write(r),
            QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n<FELADAS>\r\n"
                       "<CEG NEV=\"Minta &amp; Fia Kft\" ADOSZ=\"12345678-2-42\"></CEG>\r\n"
                       "</FELADAS>\r\n"));

  // A period without rows: the depreciation voucher's header and its end; no activation voucher.
  r = PostingRequest2005(file);
  r.DatumTol = r.DatumIg = QDate(2003, 6, 30);
  const QByteArray empty = Write(r);
  EXPECT_EQ(empty.count("\r\n"), 9);
  EXPECT_TRUE(empty.endsWith("LE\xcdR\xc1S\">\r\n</VEGYES>\r\n</FELADAS>\r\n"));

  // A write-off taken back gives a negative amount; same-date activations share one voucher.
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, ECSNSZ, ECSCSSZ, NETTOSZ) VALUES "
      "('00002', '2005-06-30', '4', 0, 1500, 0), ('00001', '2005-04-01', '2', 0, 0, 10)");
  r = PostingRequest2005(file);
  const QByteArray more = Write(r);
  EXPECT_TRUE(more.contains("<VTETEL HUF=\"-1500\" DEV=\"-1500\" "));
  EXPECT_EQ(more.count("<VEGYES BIZSZAM=\"AKT"), 2);
  EXPECT_LT(more.indexOf(
                "Aktiv\xe1l\xe1s Lsz:00001\" \r\n   LIKVBIZ=\"\">\r\n  </VTETEL>\r\n\r\n  <VTETEL"),
            more.indexOf("Aktiv\xe1l\xe1s Lsz:00002"));
}

TEST_F(PostingFile, AFailedWriteKeepsTheOldFile) {
  WriteFileBytes(file, "old");
  PostingRequest r = PostingRequest2005(file);
  db.Exec("DROP TABLE KARTTET");
  EXPECT_THROW(WritePostingFile(db.Db(), r), EDatabaseError);
  EXPECT_EQ(ReadFileBytes(file), QByteArray("old"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"ECSFELAD.XML"});
  r.FileName = dir.filePath("nowhere/x.xml");
  r.EcsAdatok = r.AktivalasAdatok = false;
  EXPECT_THROW(WritePostingFile(db.Db(), r), EInOutError);
}

TEST(PostingSettings, DefaultsAndTheLongestText) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("ZARN.INI");
  WriteFileBytes(ini, "[INI]\r\nHOST=h\r\n");
  PostingSettings s = ReadPostingSettings(ini);
  EXPECT_EQ(s.Naplo, "V1");
  EXPECT_EQ(s.Bizszam, "ECS");
  EXPECT_EQ(s.XmlFile, "ECSFELAD.XML");
  EXPECT_EQ(s.Kod, 0);
  s.XmlFile = QString(300, 'x');
  s.Kod = -1;
  WritePostingSettings(ini, s);
  const PostingSettings back = ReadPostingSettings(ini);
  EXPECT_EQ(back.XmlFile, QString(255, 'x'));
  EXPECT_EQ(back.Kod, -1);
  EXPECT_TRUE(ReadFileBytes(ini).startsWith("[INI]\r\nHOST=h\r\n"));
}

}  // namespace
