#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app_globals.h"
#include "codepage.h"
#include "dos_takeover.h"
#include "form_csv_inport.h"
#include "form_xml_input.h"
#include "gui_test_util.h"
#include "import_test_util.h"
#include "main_form.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"

namespace {

const char* const kCsvFiles[][2] = {
    {"CEG.CSV", "Gépész Kft;12345678-1-12;;"},
    {"KARTFEJ.CSV",
     "00012;\"Esztergagép\";\"Csepel\";\"E-400\";\"\";2005.03.15;T;1200000;0;10;2005-04-01;"
     "1900-01-01;1900-01-01;1311;1319;571;1.00;K1;7;161;\"\""},
    {"KARTTET.CSV",
     "00012;2005-03-15;0;SZ-1;\"Beszerzés\";1200000;0;1200000;0;0;0;0;0;0;0;0;1.00;0"},
    {"KULCSOK.CSV", "00012;2005;14.5;14.5"},
    {"PONTOSOK.CSV", "2005-01-01;2005-12-31;I"},
};

class ImportForms : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    ASSERT_TRUE(dir.isValid());
    programDir = dir.filePath(QStringLiteral("prog/"));
    dosDir = dir.filePath(QStringLiteral("dos"));
    prepared = dir.filePath(QStringLiteral("prepared"));
    for (const QString& d : {programDir, dosDir, prepared}) QDir().mkpath(d);
    Globals().ProgramDir = programDir;
    for (const auto& f : kCsvFiles)
      WriteFileBytes(prepared + '/' + f[0],
                     FromUnicode(QString::fromUtf8(f[1]), CodePage::Cp1250) + "\r\n");
  }
  // The stand-in converter: records its arguments and writes the CSV files into the directory.
  void InstallConverter() {
    WriteScript(programDir, QStringLiteral("ecs2csv.bat"),
                ("printf '%s\\n' \"$1\" \"$2\" > '" + dir.path().toUtf8() +
                 "/args.txt'\n"
                 "cp '" +
                 prepared.toUtf8() + "'/*.CSV \"$2\"")
                    .constData());
    WriteFileBytes(programDir + QStringLiteral("ecs2csv.exe"), "new exe");
    WriteFileBytes(programDir + QStringLiteral("ecsadatb.dat"), "data");
  }
  int Count(const char* table) {
    return db.Value(QStringLiteral("select count(*) from ") + QLatin1String(table)).toInt();
  }

  TestDatabase db;
  QTemporaryDir dir;
  QString programDir, dosDir, prepared;
};

TEST_F(ImportForms, TakeOverRunsTheConverterAndLoadsWhatItWrote) {
  InstallConverter();
  WriteFileBytes(dosDir + QStringLiteral("/ECS2CSV.EXE"), "old exe");
  ScriptedUi ui;
  ui.Answer(dosDir);
  QString shownDir;
  OnNextModal([&](QWidget* w) {
    auto* form = dynamic_cast<TFormCSVinport*>(w);
    ASSERT_NE(form, nullptr);
    shownDir = form->EditCSVDir->text();
    form->CBuzen->setChecked(false);
    form->BtnOK->click();
  });
  TakeOverFromDos(db.Db(), db.Db(), nullptr);
  EXPECT_EQ(shownDir, dosDir + '/');
  EXPECT_EQ(ReadVexorDir(), dosDir + '/');
  EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("args.txt"))),
            "REM\n" + dosDir.toUtf8() + "/\n");
  EXPECT_FALSE(QFile::exists(dosDir + QStringLiteral("/ECS2CSV.EXE")));
  EXPECT_EQ(ReadFileBytes(dosDir + QStringLiteral("/ecs2csv.exe")), "new exe");
  for (const char* table : {"CEG", "KARTFEJ", "KARTTET", "KULCSOK", "PONTOSOK"})
    EXPECT_EQ(Count(table), 1) << table;
  EXPECT_EQ(db.Value(QStringLiteral("select CEGNEV from CEG")), QStringLiteral("Gépész Kft"));
  EXPECT_EQ(ui.Calls().size(), 1);  // the input box only
}

TEST_F(ImportForms, TakeOverStopsOnCancelAndGoesOnWithoutConverter) {
  ScriptedUi ui;
  ui.Cancel().Answer(QStringLiteral("  "));
  TakeOverFromDos(db.Db(), db.Db(), nullptr);
  TakeOverFromDos(db.Db(), db.Db(), nullptr);
  EXPECT_EQ(ReadVexorDir(), QString());

  // No converter anywhere: told, and the CSV form still opens.
  ui.Answer(dosDir + '/');
  bool opened = false;
  OnNextModal([&](QWidget* w) {
    opened = dynamic_cast<TFormCSVinport*>(w) != nullptr;
    static_cast<QDialog*>(w)->reject();
  });
  TakeOverFromDos(db.Db(), db.Db(), nullptr);
  EXPECT_TRUE(opened);
  EXPECT_EQ(ui.Texts().last(), QStringLiteral("Az átalakító (ecs2csv.bat) nem indítható."));

  // The program directory as the DOS directory: its own converter files stay.
  InstallConverter();
  ui.Answer(programDir);
  OnNextModal([&](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  TakeOverFromDos(db.Db(), db.Db(), nullptr);
  for (const char* f : {"ecs2csv.bat", "ecs2csv.exe", "ecsadatb.dat"})
    EXPECT_TRUE(QFile::exists(programDir + QLatin1String(f))) << f;
  EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("args.txt"))),
            "REM\n" + programDir.toUtf8() + "\n");
}

TEST(DosTakeOver, DriveAndRest) {
  const struct {
    const char* dir;
    const char* drive;
    const char* rest;
  } cases[] = {
      {"C:\\ADAT\\", "C:", "\\ADAT\\"},
      {"\\\\SZERVER\\ADAT\\", "REM", "\\\\SZERVER\\ADAT\\"},
      {"/home/konyv/dos/", "REM", "/home/konyv/dos/"},
      {"C:", "REM", "C:"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DosDriveAndRest(QString::fromLatin1(c.dir)),
              (QStringList{QString::fromLatin1(c.drive), QString::fromLatin1(c.rest)}))
        << c.dir;
  EXPECT_EQ(WithTrailingSeparator(QStringLiteral("C:\\ADAT")), QStringLiteral("C:\\ADAT\\"));
  EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/home/dos")), QStringLiteral("/home/dos/"));
  EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/home/dos/")), QStringLiteral("/home/dos/"));
}

TEST_F(ImportForms, CsvFormTicksAllAndImportsWithItsBoxes) {
  for (const auto& f : kCsvFiles) QFile::copy(prepared + '/' + f[0], dosDir + '/' + f[0]);
  WriteVexorDir(dosDir);
  db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES ('1', 2001, 10, 20)"));
  TFormCSVinport form(db.Db(), db.Db());
  form.show();
  EXPECT_EQ(form.EditCSVDir->text(), dosDir);
  EXPECT_EQ(form.CBterm->currentIndex(), 0);
  form.BtnMindentClick();
  EXPECT_TRUE(form.CheckBox10->isChecked());
  ScriptedUi ui;
  ui.Answer(false);  // KULCSOK: emptying refused, the table is left alone
  EXPECT_TRUE(form.ImportCsvTable(QStringLiteral("KULCSOK"), true, true) == false);
  EXPECT_EQ(db.Value(QStringLiteral("select LELTSZAM from KULCSOK")), "1");
  ui.Clear();
  for (int i = 0; i < 5; ++i) ui.Answer(true);
  form.BtnOKClick();
  EXPECT_EQ(Count("KULCSOK"), 1);
  EXPECT_EQ(db.Value(QStringLiteral("select LELTSZAM from KULCSOK")), "00012");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.LabelPONTOSOK->styleSheet(), QStringLiteral("color: green;"));
}

TEST_F(ImportForms, XmlFormTellsMissingFileAndTheCount) {
  ScriptedUi ui;
  TFormXMLinput form(db.Db());
  form.EditXMLnev->setText(dir.filePath(QStringLiteral("nincs.xml")));
  form.BtnOKClick();
  const QString path = dir.filePath(QStringLiteral("e.xml"));
  WriteFileBytes(path,
                 "<ESZKOZ LELTSZAM=\"1\" BESZERZES=\"05.01.10\"><NETTO/></ESZKOZ>\r\n"
                 "<ESZKOZ LELTSZAM=\"2\" BESZERZES=\"05.01.10\"><NETTO/></ESZKOZ>\r\n");
  ui.Answer(path);
  form.BtnTallozClick();
  EXPECT_EQ(form.EditXMLnev->text(), path);
  form.BtnOKClick();
  ASSERT_EQ(ui.Calls().size(), 3);
  EXPECT_EQ(ui.Calls()[0].text(), QStringLiteral("XML fájl nem létezik"));
  EXPECT_EQ(ui.Calls()[1].kind, ScriptedUi::Kind::OpenFile);
  EXPECT_EQ(ui.Calls()[2].text(), QStringLiteral("2db eszköz adata lett beolvasva"));
  EXPECT_EQ(Count("KARTFEJ"), 2);
}

// The file is written in one transaction: an asset the server refuses leaves the assets
// before it unwritten too, and the message says so.
TEST_F(ImportForms, XmlFormStoresNothingWhenAnAssetIsRefusedByTheServer) {
  db.Exec(
      QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('1', 'régi');"
                     "ALTER TABLE KARTTET ADD CONSTRAINT NEM_KETTO CHECK (LELTSZAM <> '2')"));
  const QString before = CompanyChecksums(db);
  const QString path = dir.filePath(QStringLiteral("e.xml"));
  QByteArray assets;
  for (int n = 1; n <= 450; ++n)  // more than one round of statements before the refused one
    assets += "<ESZKOZ LELTSZAM=\"" + QByteArray::number(n > 449 ? 2 : n + 2) +
              "\" BESZERZES=\"05.01.10\"><NETTO/></ESZKOZ>\r\n";
  WriteFileBytes(path, assets);
  ScriptedUi ui;
  TFormXMLinput form(db.Db());
  form.EditXMLnev->setText(path);
  form.BtnOKClick();
  ASSERT_EQ(ui.Calls().size(), 1);
  const QStringList lines = ui.Calls()[0].text().split('\n');
  EXPECT_TRUE(lines.first().startsWith(QStringLiteral("MySQL Error ")))
      << lines.first().toStdString();
  EXPECT_EQ(lines.last(), QStringLiteral("Az adatok nem változtak."));
  EXPECT_EQ(CompanyChecksums(db), before);
}

// The file and the folder typed key by key, as a person types a path with accents, capitals
// and digits; "&Rendben" by its letter.
TEST_F(ImportForms, TypedPathsReachTheImports) {
  ScriptedUi ui;
  const QString xmlDir = dir.filePath(QString::fromUtf8("Átvétel Ékszer"));
  QDir().mkpath(xmlDir);
  const QString xml = xmlDir + QString::fromUtf8("/Csőkút eszközök 2k.xml");
  WriteFileBytes(xml, "<ESZKOZ LELTSZAM=\"7\" BESZERZES=\"05.01.10\"><NETTO/></ESZKOZ>\r\n");
  {
    TFormXMLinput form(db.Db());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.EditXMLnev->setFocus(Qt::TabFocusReason);
    TypeText(&form, xml);
    EXPECT_EQ(form.EditXMLnev->text(), xml);
    PressKey(&form, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.Calls().isEmpty(); }));
  }
  EXPECT_EQ(ui.Texts(), QStringList({QStringLiteral("1db eszköz adata lett beolvasva")}));
  EXPECT_EQ(Count("KARTFEJ"), 1);

  ui.Clear();
  const QString csvDir = dir.filePath(QString::fromUtf8("Csík Ékszer 2k"));
  QDir().mkpath(csvDir);
  for (const auto& f : kCsvFiles) QFile::copy(prepared + '/' + f[0], csvDir + '/' + f[0]);
  TFormCSVinport form(db.Db(), db.Db());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.EditCSVDir->setFocus(Qt::TabFocusReason);
  TypeText(&form, csvDir);
  form.BtnMindentClick();
  for (int i = 0; i < 5; ++i) ui.Answer(true);
  PressKey(&form, Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.result() == QDialog::Accepted; }));
  EXPECT_EQ(db.Value(QStringLiteral("select concat(LELTSZAM, ' ', GYARTO) from KARTFEJ "
                                    "where LELTSZAM = '00012'")),
            "00012 Csepel");
}

TEST(ImportMenu, ServiceMenuLeadsToTheImportForms) {
  QTemporaryDir dir;
  Globals().ProgramDir = dir.path() + '/';
  WriteFileBytes(dir.filePath(QStringLiteral("ZARN.INI")), "[INI]\r\nHOST=127.0.0.1\r\nPORT=1\r\n");
  ScriptedUi ui;
  TMainForm form({QStringLiteral("zarn")});
  QMenu* service = nullptr;
  for (QAction* a : form.menuBar()->actions())
    if (a->text() == QStringLiteral("&Szervíz")) service = a->menu();
  ASSERT_NE(service, nullptr);
  QStringList items;
  for (QAction* a : service->actions()) items << a->text();
  const QStringList ours{QStringLiteral("CSV import"), QStringLiteral("Átvétel DOS-os VEXOR -ból"),
                         QStringLiteral("XML input (Átvétel TIRNA -ből)")};
  const qsizetype first = items.indexOf(ours[0]);
  ASSERT_GE(first, 0) << items.join('|').toStdString();
  EXPECT_EQ(items.mid(first, 3), ours);
  EXPECT_LT(items.indexOf(QStringLiteral("&Cég váltás")), first);
  EXPECT_GT(items.indexOf(QStringLiteral("SQL beállítások")), first + 2);

  QStringList titles;
  for (const QString& item : {ours[0], ours[2]}) {
    OnNextModal([&](QWidget* w) {
      titles << w->windowTitle();
      static_cast<QDialog*>(w)->reject();
    });
    service->actions().at(items.indexOf(item))->trigger();
  }
  EXPECT_EQ(titles,
            (QStringList{QStringLiteral("Betöltés CSV fájlokból"), QStringLiteral("XML input")}));
  ui.Cancel();
  service->actions().at(items.indexOf(ours[1]))->trigger();
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].kind, ScriptedUi::Kind::InputBox);
}

}  // namespace
