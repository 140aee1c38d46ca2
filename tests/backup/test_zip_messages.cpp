#include <gtest/gtest.h>

#include <QSet>

#include "scripted_ui.h"
#include "test_util.h"
#include "zip_archiver.h"
#include "zip_messages.h"

namespace {

TEST(ZipMessages, EveryIdHasItsTextAndNothingElseHasOne) {
  QByteArray golden = ReadFileBytes(SourceDir() + "/tests/backup/golden/zip_messages.txt");
  QSet<int> ids;
  for (const QByteArray& line : golden.split('\n')) {
    if (line.isEmpty()) continue;
    int tab = line.indexOf('\t');
    int id = line.left(tab).toInt();
    QString text = QString::fromUtf8(line.mid(tab + 1)).replace("\\n", "\n");
    EXPECT_EQ(ZipLoadStr(id), text) << id;
    EXPECT_EQ(ZipResLoadStr(id), text) << id;
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), 160);
  for (int id = 10000; id <= 11700; ++id)
    if (!ids.contains(id)) {
      EXPECT_EQ(ZipLoadStr(id), QString()) << id;
    }
  EXPECT_EQ(ZipLoadStr(9999), QString());
  EXPECT_EQ(ZipLoadStr(10204), "Warning - Garbage at the end of the zipfile!");
  EXPECT_EQ(ZipLoadStrDef(12345, "x"), "x");
}

TEST(ZipMessages, FormattingAndTheLanguageHook) {
  EXPECT_EQ(ZipFmtLoadStr(11034, {2, 3}), "Please insert disk volume 2 of 3");
  EXPECT_EQ(ZipFmtLoadStr(10304, {-7}), "Error -7 occurred during Auto SFX creation.");
  EXPECT_EQ(ZipFmtLoadStr(10110, {0, 5}), "Index (0) outside range 1..5");
  EXPECT_EQ(ZipFmtLoadStr(12345, {1}), QString());
  EXPECT_EQ(ZipFormat("%.3d|%s|%%", {7, "a"}), "007|a|%");
  SetZipLanguageHook(
      [](int id) { return id == 10102 ? QStringLiteral("Nincs zip fájl") : QString(); });
  EXPECT_EQ(ZipLoadStr(10102), "Nincs zip fájl");
  EXPECT_EQ(ZipResLoadStr(10102), "Error - no zip file specified!");
  EXPECT_EQ(ZipLoadStr(10103), "Requested memory not available");
  SetZipLanguageHook(nullptr);
}

TEST(ZipMessages, ExceptionConstructorsAndTheirFallbacks) {
  const QString note = "\nthe message table is probably not linked to the executable";
  struct Case {
    EZipArchiver e;
    QString text;
    bool display;
    int id;
  } cases[] = {
      {EZipArchiver::CreateResFmt(10308, {"/x"}), "Destination directory '/x' must exist!", true,
       10308},
      {EZipArchiver::CreateResFmt(12000, {1}), "id = 12000 " + note, true, 12000},
      {EZipArchiver::CreateDisp("szöveg", false), "szöveg", false, 0},
      {EZipArchiver::CreateResDisp(10118, false), "DLL Error - Aborting", false, 10118},
      {EZipArchiver::CreateResDisp(12001, true), "id = 12001 " + note, true, 12001},
      {EZipArchiver::CreateResDisk(11046, 4), "Please insert disk volume 4", true, 11046},
      {EZipArchiver::CreateResDisk(12002, 4), "id = 12002 [disk = 4]" + note, true, 12002},
      {EZipArchiver::CreateResDrive(10651, "UNZLIB.DLL"),
       "Unable to load UNZLIB.DLL - It is old or corrupt", true, 10651},
      {EZipArchiver::CreateResDrive(12003, "A:"), "id = 12003 [drive = A:]" + note, true, 12003},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.e.Message(), c.text);
    EXPECT_EQ(c.e.DisplayMsg(), c.display) << c.text.toStdString();
    EXPECT_EQ(c.e.ResId(), c.id);
  }
}

TEST(ZipMessages, ShowZipMessageBoxesUnlessUnattendedThenRaisesOnMessage) {
  ScriptedUi ui;
  TZipArchiver zip;
  QList<QPair<int, QString>> seen;
  zip.OnMessage = [&](QObject* sender, int code, const QString& text) {
    EXPECT_EQ(sender, &zip);
    seen.append({code, text});
  };
  zip.Engine().ShowZipMessage(12345);
  const QString missing =
      "the message table is probably not linked to the executable\nMissing String ID is: 12345 ";
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].text(), missing);
  ASSERT_EQ(seen.size(), 1);
  EXPECT_EQ(seen[0], qMakePair(12345, missing));
  EXPECT_EQ(zip.ErrCode(), 12345);

  zip.Engine().Props.Unattended = true;
  zip.Engine().ShowZipMessage(10204, "!");
  EXPECT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(seen.last(),
            qMakePair(10204, QString("Warning - Garbage at the end of the zipfile!!")));
  EXPECT_EQ(zip.Engine().Message(), "Warning - Garbage at the end of the zipfile!!");
}

}  // namespace
