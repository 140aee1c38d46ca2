#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "company_databases.h"
#include "scripted_ui.h"
#include "self_copy.h"
#include "start_settings.h"
#include "test_util.h"

TEST(StartSettings, CleanUserName) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"J. Kis-Tóth", "JKisTóth"},       // full stop, blank and hyphen go, ó stays
      {"a,b/c\\d:e", "abcde"},
      {"x';drop`y[z]", "xdropyz"},       // nothing that could end an SQL name
      {"Ödön_2", "Ödön_2"},
      {"..", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CleanUserName(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(StartSettings, MissingConnectionSettingsAreWrittenWithDefaults) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("ZARN.INI");
  const ConnectionSettings s = LoadConnectionSettings(ini);
  EXPECT_EQ(s.Host, "Localhost");
  EXPECT_EQ(s.Port, "3306");
  EXPECT_EQ(s.User, "root");
  EXPECT_EQ(s.Password, "");
  EXPECT_EQ(ReadFileBytes(ini).toStdString(),
            "[INI]\r\nHOST=Localhost\r\nPORT=3306\r\nUSER=root\r\nPASSWORD=\r\n\r\n");
}

TEST(StartSettings, PresentConnectionSettingsAreKeptAndCompleted) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("ZARN.INI");
  WriteFileBytes(ini, "[INI]\r\nHOST=db.local\r\nPASSWORD=titok\r\n");
  const ConnectionSettings s = LoadConnectionSettings(ini);
  EXPECT_EQ(s.Host, "db.local");
  EXPECT_EQ(s.Password, "titok");
  EXPECT_EQ(s.Port, "3306");
  const QByteArray text = ReadFileBytes(ini);
  EXPECT_TRUE(text.contains("PORT=3306\r\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("USER=root\r\n")) << text.toStdString();
}

TEST(StartSettings, UserSettingsTakeOnlyACompanyDatabaseName) {
  const struct {
    const char* alias;
    const char* taken;
  } cases[] = {
      {"ZARNDAT012", "ZARNDAT012"},
      {"ZARNDAT1000", "ZARNDAT1000"},
      {"ZARNDAT01", "ZARNDAT001"},
      {"ZARN", "ZARNDAT001"},
      {"ZARNDAT001; drop database ZARN", "ZARNDAT001"},
      {"", "ZARNDAT001"},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("ZARN.INI");
    WriteFileBytes(ini, QByteArray("[USERINI]\r\nDATALIAS=") + c.alias +
                            "\r\nGRSZORZO=150\r\nCR_TAB=1\r\n");
    const UserSettings s = LoadUserSettings(ini);
    EXPECT_EQ(s.DataAlias, c.taken) << c.alias;
    EXPECT_DOUBLE_EQ(s.GridScale, 1.5);
    EXPECT_DOUBLE_EQ(s.FontScale, 1.0);
    EXPECT_EQ(s.CrTabMode, 1);
  }
}

TEST(StartSettings, TaxNumberArgument) {
  const struct {
    const char* arg;
    const char* tax;
  } cases[] = {
      {"/ADOSZ=12345678-2-42", "12345678-2-42"},
      {"/ADOSZ= 123 ", " 123 "},
      {"/ADOSZ=   ", ""},
      {"/ADOSZ=", ""},
      {"/adosz=123", ""},
      {"/ADOSZ=123456789012345678901234", "12345678901234567890"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TaxNumberFromArgument(c.arg), c.tax) << c.arg;
}

TEST(StartSettings, CompanyDatabaseNamesAndPorts) {
  EXPECT_EQ(CompanyDatabaseName(1), "ZARNDAT001");
  EXPECT_EQ(CompanyDatabaseName(10), "ZARNDAT010");
  EXPECT_EQ(CompanyDatabaseName(100), "ZARNDAT100");
  EXPECT_EQ(CompanyDatabaseName(1000), "ZARNDAT1000");
  for (const char* ok : {"1", "3306", "65535"}) EXPECT_TRUE(IsValidPort(ok)) << ok;
  for (const char* bad : {"0", "65536", "-1", "", "33o6"}) EXPECT_FALSE(IsValidPort(bad)) << bad;
}

TEST(StartSettings, SelfCopyStart) {
  QTemporaryDir dir;
  const QString patch = dir.filePath("patch/zarn");
  WriteFileBytes(patch, "new program");
  WriteFileBytes(dir.filePath("inst/zarn"), "old program");
  EXPECT_FALSE(RunSelfCopyMode(dir.filePath("inst/zarn")));  // an ordinary start

  ScriptedUi ui;
  ui.Answer(dir.filePath("inst").replace('/', '\\'));  // a path as the Windows texts write it
  EXPECT_TRUE(RunSelfCopyMode(patch));
  EXPECT_EQ(ReadFileBytes(dir.filePath("inst/zarn")), "new program");
  ui.Answer(dir.filePath("nowhere"));
  EXPECT_TRUE(RunSelfCopyMode(patch));
  ui.Cancel();
  EXPECT_TRUE(RunSelfCopyMode(patch));
  QStringList messages;
  for (const auto& call : ui.Calls())
    if (call.kind == ScriptedUi::Kind::MessageBox) messages << call.text();
  EXPECT_EQ(messages, (QStringList{QString::fromUtf8("Javitás sikeressen végrehajtva."),
                                     QString::fromUtf8("HIBA! A megadott helyen nem található ZARN.EXE fájl.")}));
}
