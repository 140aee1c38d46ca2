#include <gtest/gtest.h>

#include <QFile>

#include "scripted_ui.h"
#include "vexor_export.h"
#include "vexor_fixture.h"

namespace {

class VexorExport : public ::testing::Test, protected VexorFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(db.Ok()); }
  ScriptedUi ui;
};

TEST_F(VexorExport, PostingWritesTheCommandFileAndStartsTheSiblingWithIt) {
  WriteFileBytes(Globals().ProgramDir + "ZARNDAT001/VEXORAB.INI", "[INI]\r\nVEXORAB=KONYV05\r\n");
  VexorSettings settings = LoadVexorSettings();
  settings.Vexor = program;
  ASSERT_TRUE(PostAssetToVexor(db.Db(), asset, true, " 25 ", settings));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('\n').toStdString();

  const QByteArray xml = ReadFileBytes(CommandFile());
  ExpectGolden(xml, "interchange/golden/vexorint.xml");
  EXPECT_EQ(xml.size(), 1185);
  for (const char* part :
       {"   KHO=\"3\"\r\n", "   FIZHAT=\"2005.03.15\"\r\n", "   FIZHAT=\"2005.04.04\"\r\n",
        "   AFAERT=\"30864.195\"\r\n", "   APPORT=\"IGEN\"\r\n", "   SZOVEG=\"Kapott g\x82p\"",
        "   VEXORAB=\"KONYV05\">\r\n",
        "   KELTE=\"2005.03.05\"\r\n   TELJESITES=\"2005.03.05\"\r\n"})
    EXPECT_TRUE(xml.contains(part)) << part;
  EXPECT_FALSE(xml.contains("SEVEN"));
  EXPECT_LT(xml.indexOf("APP-7"), xml.indexOf("2005.03.25"));  // card order

  // One argument, no quotes, blanks in the path kept.
  EXPECT_EQ(Arguments(), "/CMD=" + Globals().UserDir + "VEXORINT.XML\n");
  EXPECT_EQ(ReadFileBytes(Globals().ProgramDir + "copy.xml"), xml);
  // The rate used becomes the default.
  EXPECT_EQ(LoadVexorSettings().Afa, 25);
}

TEST_F(VexorExport, BadRatesAndMissingProgramsAreReported) {
  VexorSettings settings = LoadVexorSettings();
  settings.Vexor = program;
  for (const char* rate : {"-5", "x", "", "2.5"}) {
    ui.Clear();
    EXPECT_FALSE(PostAssetToVexor(db.Db(), asset, true, rate, settings)) << rate;
    ASSERT_EQ(ui.Calls().size(), 1) << rate;
    EXPECT_EQ(ui.Calls()[0].text(), "Nem megfelelő ÁFA% !");
    EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
  }
  EXPECT_FALSE(QFile::exists(CommandFile()));
  EXPECT_EQ(Arguments(), "");

  ui.Clear();
  settings.Vexor = Globals().ProgramDir + "nincs.exe";
  EXPECT_FALSE(PostAssetToVexor(db.Db(), asset, false, "0", settings));
  EXPECT_EQ(ui.Texts(), QStringList{"A Vexor könyvelőprogram nem indítható: " + settings.Vexor});
  // Without a chosen accounting database VEXORAB is left out; a rate of 0 gives no VAT.
  const QByteArray xml = ReadFileBytes(CommandFile());
  EXPECT_TRUE(xml.contains("<CMD\r\n   ADOSZAM=\"12345678-2-42\">\r\n<UJBIZONYLAT"));
  EXPECT_TRUE(xml.contains("   AFAERT=\"0\"\r\n"));
  EXPECT_TRUE(xml.contains("   APPORT=\"NEM\"\r\n"));
}

TEST_F(VexorExport, SettingsWithTheirDefaultsAndTheRegistryPath) {
  VexorSettings s = LoadVexorSettings();
  EXPECT_TRUE(s.Ablak);
  EXPECT_FALSE(s.Valasz);
  EXPECT_EQ(s.Afa, 25);
  EXPECT_EQ(s.Vexor, "");

  WriteFileBytes(
      Globals().ProgramDir + "registry.ini",
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\HALVOBT\\VEXOR]\r\nEXEPATH=/opt/vexor/vexor2003\r\n");
  WriteSettings("ABLAK= n \r\nVALASZ=i\r\nAFA=20\r\nVEXOR=  \r\n");
  s = LoadVexorSettings();
  EXPECT_FALSE(s.Ablak);
  EXPECT_TRUE(s.Valasz);
  EXPECT_EQ(s.Afa, 20);
  EXPECT_EQ(s.Vexor, "/opt/vexor/vexor2003");
  s.Vexor = QString(300, 'v');
  SaveVexorSettings(s);
  EXPECT_EQ(ReadFileBytes(Globals().UserDir + "vexorint.ini"),
            "[INI]\r\nABLAK=N\r\nVALASZ=I\r\nAFA=20\r\nVEXOR=" + QByteArray(255, 'v') + "\r\n\r\n");

  EXPECT_EQ(ReadVexorDatabase(), "@@@");
  WriteVexorDatabase("KONYV05");
  EXPECT_EQ(ReadVexorDatabase(), "KONYV05");
}

}  // namespace
