#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "codepage.h"
#include "data_set_model.h"
#include "date_edit.h"
#include "form_gepi_felad.h"
#include "frm_vexor_exp.h"
#include "gui_test_util.h"
#include "main_form.h"
#include "memory_ini_file.h"
#include "posting_fixture.h"
#include "scripted_ui.h"
#include "test_util.h"
#include "uni_sql_query.h"
#include "vexor_fixture.h"

namespace {

class GepiFelad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    FillPostingCompany(db);
    saved = Globals();
    Globals().ProgramDir = dir.path() + "/";
  }
  void TearDown() override { Globals() = saved; }
  // A form after its first activation, filled in for the 2005 posting into out.xml.
  std::unique_ptr<TFormGepiFelad> Filled() {
    auto form = std::make_unique<TFormGepiFelad>(db.Db());
    form->show();
    form->DatumTol->SetValue(QDate(2005, 1, 1));
    form->DatumIg->SetValue(QDate(2005, 12, 31));
    form->dateEdit1->SetValue(QDate(2006, 1, 15));
    form->EditKEv->setText("2005");
    form->EditKNaplo->setText("v1");
    form->EditXml->setText(out);
    return form;
  }
  QString Saved(const QString& key) {
    TMemoryIniFile ini(dir.path() + "/ZARN.INI");
    return ini.ReadString("GFELAD", key, "-");
  }

  TestDatabase db;
  ScriptedUi ui;
  QTemporaryDir dir;
  QString out = dir.path() + "/out.xml";
  AppGlobals saved;
};

TEST_F(GepiFelad, FirstActivationSetsTheDefaultsOnce) {
  WriteFileBytes(dir.path() + "/ZARN.INI", "[GFELAD]\r\nNAPLO=N2\r\nKOD=1\r\n");
  TFormGepiFelad form(db.Db());
  form.show();
  const int year = QDate::currentDate().year();
  EXPECT_EQ(form.DatumTol->Value(), QDate(year, 1, 1));
  EXPECT_EQ(form.DatumIg->Value(), QDate(year, 12, 31));
  EXPECT_EQ(form.dateEdit1->Value(), QDate::currentDate());
  EXPECT_EQ(form.EditKEv->text(), QString::number(year));
  EXPECT_EQ(form.EditKHo->text(), "12");
  EXPECT_EQ(form.EditKNaplo->text(), "N2");
  EXPECT_EQ(form.EditBizszam->text(), "ECS");
  EXPECT_EQ(form.EditXml->text(), "ECSFELAD.XML");
  EXPECT_EQ(form.CBkod->currentText(), "852");
  EXPECT_EQ(form.LabelCeg->text(), "Minta & Fia Kft");
  EXPECT_EQ(form.LabelAdosz->text(), "12345678-2-42");
  EXPECT_FALSE(form.ProgressBar1->isVisible());
  EXPECT_EQ(form.focusWidget(), form.DatumTol);
  form.chbEcsAdatok->click();
  EXPECT_FALSE(form.EditBizszam->isEnabled());
  EXPECT_FALSE(form.EditKHo->isEnabled());

  // Back from a message the typed period stays.
  form.DatumTol->SetValue(QDate(2005, 2, 1));
  form.FormActivate();
  EXPECT_EQ(form.DatumTol->Value(), QDate(2005, 2, 1));
}

TEST_F(GepiFelad, ChecksRefuseInTheirOrder) {
  const QString range = "Könyvelési hónapnak 00 - 14 között kell lennie!";
  const QString year = "Könyvelési évnek 1900 - 2100 között kell lennie!";
  const struct Case {
    const char* field;
    QString value;
    QString message;
    const char* focus;
    QString monthShown;
  } cases[] = {
      {"DatumIg", "2004.12.31", "Nem jó dátum határok!", "DatumTol", "12"},
      {"EditBizszam", "  ", "Bizonylatszámot meg kell adni!", "EditBizszam", "12"},
      {"EditKEv", " ", "Könyvelési évet meg kell adni!", "EditKEv", "12"},
      {"EditKEv", "205", year, "EditKEv", "12"},
      {"EditKEv", "2101", year, "EditKEv", "12"},
      {"EditKEv", "19a0", year, "EditKEv", "12"},
      {"EditKHo", "", range, "EditKHo", "0"},
      {"EditKHo", "15", range, "EditKHo", "15"},
      {"EditKHo", "0a", range, "EditKHo", "0a"},
      {"EditKHo", "1.", range, "EditKHo", "1."},
      {"EditKHo", "123", range, "EditKHo", "123"},
      {"EditKNaplo", " ", "Naplót meg kell adni!", "EditKNaplo", "12"},
      {"EditXml", " ", "XML filenév kötelező!", "EditXml", "12"},
      {"EditXml", "ECSFELAD.XML", "Az XML file könyvtára nem elérhető!", "EditXml", "12"},
      {"EditXml", "/nincs/ilyen/x.xml", "Az XML file könyvtára nem elérhető!", "EditXml", "12"},
      {"EditXml", "", "XML filenév kötelező!", "EditXml", "12"},  // the directory alone
  };
  for (const Case& c : cases) {
    ui.Clear();
    auto form = Filled();
    form->EditKHo->setText("12");
    const QString value =
        c.value.isEmpty() && QString(c.field) == "EditXml" ? dir.path() + "/" : c.value;
    if (QString(c.field) == "DatumIg")
      form->DatumIg->SetValue(QDate(2004, 12, 31));
    else
      form->findChild<QLineEdit*>(c.field)->setText(value);
    form->BtnOKClick();
    EXPECT_EQ(ui.Texts(), QStringList{c.message}) << c.field << " " << c.value.toStdString();
    ASSERT_NE(form->focusWidget(), nullptr);
    EXPECT_EQ(form->focusWidget()->objectName(), c.focus) << c.message.toStdString();
    EXPECT_EQ(form->EditKHo->text(), c.monthShown);
    EXPECT_TRUE(form->isVisible());
  }
  EXPECT_FALSE(QFile::exists(out));
  EXPECT_EQ(Saved("NAPLO"), "-");
}

TEST_F(GepiFelad, WritesTheFileSavesTheSettingsAndCloses) {
  // A code system of 5 selects nothing: the 852 form, saved as -1.
  WriteFileBytes(dir.path() + "/ZARN.INI", "[GFELAD]\r\nKOD=5\r\n");
  auto form = Filled();
  EXPECT_EQ(form->CBkod->currentIndex(), -1);
  form->EditKHo->setText("1");
  form->BtnOKClick();
  EXPECT_EQ(ui.Texts(), QStringList{"Feladás elkészült"});
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(form->EditKHo->text(), "01");
  EXPECT_EQ(form->EditKNaplo->text(), "V1");
  const QByteArray file = ReadFileBytes(out);
  EXPECT_TRUE(file.startsWith("<?xml version=\"1.0\" encoding=\"852\" ?>\r\n"));
  EXPECT_TRUE(file.contains(
      " PENZNEM=\"HUF\" KEV=\"2005\" KHO=\"01\" \r\n KNAPLO=\"V1\" FIZHAT=\"2006.01.15\""));
  EXPECT_EQ(Saved("KOD"), "-1");
  EXPECT_EQ(Saved("NAPLO"), "V1");
  EXPECT_EQ(Saved("XMLFILE"), out);

  // Month 14 passes; with neither part ticked the file is four lines.
  ui.Clear();
  form = Filled();
  form->EditKHo->setText("14");
  form->chbEcsAdatok->setChecked(false);
  form->chbAktivalasAdatok->setChecked(false);
  form->CBkod->setCurrentIndex(0);
  form->BtnOKClick();
  EXPECT_EQ(ui.Texts(), QStringList{"Feladás elkészült"});
  EXPECT_EQ(ReadFileBytes(out).count("\r\n"), 4);
  EXPECT_EQ(Saved("KOD"), "0");
}

// Every input typed key by key, each field reached as by Tab: the period, the year and month,
// a journal and a document number with "c", "k", "Cs", an accented capital and digits, the
// payment date and a file name with accents.
TEST_F(GepiFelad, TypedInputsReachTheFileAndTheSettings) {
  auto form = std::make_unique<TFormGepiFelad>(db.Db());
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  const QString file = dir.path() + QString::fromUtf8("/Feladás Ékszer.xml");
  const QString number = QString::fromUtf8("Cs-k/É12");
  const std::pair<QWidget*, QString> inputs[] = {
      {form->DatumTol, "2005.01.01"},  {form->DatumIg, "2005.12.31"},
      {form->EditKEv, "2005"},         {form->EditKHo, "3"},
      {form->EditKNaplo, "v1"},        {form->EditBizszam, number},
      {form->dateEdit1, "2006.01.15"}, {form->EditXml, file}};
  for (const auto& [edit, text] : inputs) {
    edit->setFocus(Qt::TabFocusReason);
    TypeText(form.get(), text);
  }
  form->BtnOK->setFocus(Qt::TabFocusReason);
  PressKey(form.get(), Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.Texts().isEmpty(); }));
  EXPECT_EQ(ui.Texts(), QStringList{"Feladás elkészült"});
  // The default code system is ISO 8859-2, where "É" is the byte it is in Windows-1250.
  const QString xml = ToUnicode(ReadFileBytes(file), CodePage::Cp1250);
  EXPECT_TRUE(xml.contains("<VEGYES BIZSZAM=\"" + number)) << xml.toStdString();
  EXPECT_TRUE(
      xml.contains(" PENZNEM=\"HUF\" KEV=\"2005\" KHO=\"03\" \r\n KNAPLO=\"V1\" "
                   "FIZHAT=\"2006.01.15\""))
      << xml.toStdString();
  EXPECT_EQ(Saved("BIZSZAM"), number);
  EXPECT_EQ(Saved("XMLFILE"), file);
}

TEST_F(GepiFelad, AnUnwritableTargetIsReportedAndTheFormStaysUsable) {
  QDir().mkpath(dir.path() + "/out.xml");  // a directory where the file should go
  auto form = Filled();
  form->BtnOKClick();
  ASSERT_EQ(ui.Texts().size(), 1);
  EXPECT_TRUE(ui.Texts()[0].contains("out.xml")) << ui.Texts()[0].toStdString();
  EXPECT_NE(form->result(), QDialog::Accepted);
  EXPECT_TRUE(form->BtnOK->isEnabled());
  EXPECT_TRUE(form->BtnBezar->isEnabled());
  EXPECT_FALSE(form->ProgressBar1->isVisible());
  EXPECT_TRUE(QFileInfo(out).isDir());
}

TEST_F(GepiFelad, BrowsingTakesTheChosenName) {
  auto form = Filled();
  ui.Answer(dir.path() + "/valasztott.xml");
  form->BtnTalloz->click();
  EXPECT_EQ(form->EditXml->text(), dir.path() + "/valasztott.xml");
  ui.Cancel();
  form->BtnTalloz->click();
  EXPECT_EQ(form->EditXml->text(), dir.path() + "/valasztott.xml");
}

class VexorForms : public ::testing::Test, protected VexorFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.Exec("DROP DATABASE IF EXISTS VEXOR2003");
  }
  void TearDown() override { db.Exec("DROP DATABASE IF EXISTS VEXOR2003"); }
  void Ask() { TfrmVexorExp::AskAndPost(db.Db(), asset, true); }
  ScriptedUi ui;
};

TEST_F(VexorForms, AskAndPostFollowsTheSettings) {
  // Asked: "Igen" posts with the rate in the box.
  WriteSettings("ABLAK=I\r\nAFA=20\r\nVEXOR=" + program.toUtf8() + "\r\n");
  bool asked = false;
  OnNextModal([&](QWidget* w) {
    auto* form = qobject_cast<QDialog*>(w);
    ASSERT_EQ(TfrmVexorExp::Current(), form);
    asked = true;
    EXPECT_TRUE(TfrmVexorExp::Current()->pnlMain->isVisible());
    EXPECT_FALSE(TfrmVexorExp::Current()->pnlSetup->isVisible());
    EXPECT_EQ(TfrmVexorExp::Current()->edtAFA->text(), "20");
    TfrmVexorExp::Current()->edtAFA->setText("5");
    TfrmVexorExp::Current()->bbnIgen->click();
  });
  Ask();
  EXPECT_TRUE(asked);
  EXPECT_EQ(Arguments(), "/CMD=" + CommandFile() + "\n");
  EXPECT_TRUE(ReadFileBytes(CommandFile()).contains("   AFAKULCS=\"5\"\r\n"));
  EXPECT_EQ(LoadVexorSettings().Afa, 5);

  // A bad rate keeps the question up; "Nem" then posts nothing.
  QFile::remove(CommandFile());
  QFile::remove(Globals().ProgramDir + "args.txt");
  for (const char* rate : {"-5", "x"}) {
    ui.Clear();
    OnNextModal([&](QWidget*) {
      TfrmVexorExp::Current()->edtAFA->setText(rate);
      TfrmVexorExp::Current()->bbnIgen->click();
      EXPECT_TRUE(TfrmVexorExp::Current()->isVisible());
      TfrmVexorExp::Current()->bbnNem->click();
    });
    Ask();
    EXPECT_EQ(ui.Texts(), QStringList{"Nem megfelelő ÁFA% !"});
  }
  EXPECT_FALSE(QFile::exists(CommandFile()));
  EXPECT_EQ(Arguments(), "");

  // Not asked: "VALASZ" decides; without a program nothing happens.
  WriteSettings("ABLAK=N\r\nVALASZ=N\r\nVEXOR=" + program.toUtf8() + "\r\n");
  Ask();
  EXPECT_EQ(Arguments(), "");
  WriteSettings("ABLAK=I\r\nVALASZ=I\r\nVEXOR= \r\n");
  Ask();
  EXPECT_EQ(Arguments(), "");
  WriteSettings("ABLAK=N\r\nVALASZ=I\r\nAFA=15\r\nVEXOR=" + program.toUtf8() + "\r\n");
  Ask();
  EXPECT_EQ(Arguments(), "/CMD=" + CommandFile() + "\n");
  EXPECT_TRUE(ReadFileBytes(CommandFile()).contains("   AFAKULCS=\"15\"\r\n"));
  EXPECT_EQ(TfrmVexorExp::Current(), nullptr);
}

TEST_F(VexorForms, SetupChoosesTheAccountingDatabase) {
  db.Exec("CREATE DATABASE VEXOR2003");
  db.Exec("CREATE TABLE VEXOR2003.CEGEK (CEGNEV VARCHAR(40), DBName VARCHAR(20))");
  db.Exec(
      "INSERT INTO VEXOR2003.CEGEK VALUES ('Béta Bt', 'KONYV02'), ('Alfa Kft', 'KONYV01'), "
      "('Minta & Fia Kft', 'KONYV05')");
  WriteFileBytes(Globals().ProgramDir + "ZARNDAT001/VEXORAB.INI", "[INI]\r\nVEXORAB=KONYV05\r\n");
  WriteSettings("ABLAK=N\r\nVALASZ=I\r\nAFA=20\r\nVEXOR=/opt/v\r\n");
  OnNextModal([&](QWidget*) {
    TfrmVexorExp* form = TfrmVexorExp::Current();
    EXPECT_FALSE(form->pnlMain->isVisible());
    EXPECT_TRUE(form->DBGcegek->isVisible());
    EXPECT_TRUE(form->LabelCegAB->isVisible());
    EXPECT_TRUE(form->chbKonyvelni->isVisible());
    EXPECT_TRUE(form->chbKonyvelni->isChecked());
    EXPECT_EQ(form->Qcegek->FieldByName("DBName")->AsString(), "KONYV05");
    EXPECT_EQ(form->DBGcegek->currentIndex().row(), 2);  // in CEGNEV order
    // A bad rate keeps the window open; then the first company and a new rate are saved.
    // Typed key by key over the rate, selected.
    const auto type = [form](const char* rate) {
      form->edtSetupAfasz->setFocus(Qt::TabFocusReason);
      form->edtSetupAfasz->selectAll();  // after a refusal the focus is there already
      TypeText(form, QString::fromLatin1(rate));
    };
    for (const char* rate : {"x", "-1"}) {
      type(rate);
      form->bbnSetupOk->click();
      EXPECT_TRUE(form->isVisible());
    }
    form->DBGcegek->selectRow(0);
    type("27");
    form->chbAblak->click();
    EXPECT_FALSE(form->chbKonyvelni->isVisible());
    form->bbnSetupOk->click();
  });
  TfrmVexorExp::ShowPostingSetup(db.Db());
  EXPECT_EQ(ui.Texts(), QStringList({"Nem megfelelő ÁFA% !", "Nem megfelelő ÁFA% !"}));
  EXPECT_EQ(ReadVexorDatabase(), "KONYV01");
  const VexorSettings s = LoadVexorSettings();
  EXPECT_EQ(s.Afa, 27);
  EXPECT_TRUE(s.Ablak);
  EXPECT_EQ(s.Vexor, "/opt/v");

  // Without the sibling's database the grid stays hidden and the link file untouched.
  db.Exec("DROP DATABASE VEXOR2003");
  QFile::remove(Globals().ProgramDir + "ZARNDAT001/VEXORAB.INI");
  OnNextModal([&](QWidget*) {
    EXPECT_FALSE(TfrmVexorExp::Current()->DBGcegek->isVisible());
    EXPECT_FALSE(TfrmVexorExp::Current()->LabelCegAB->isVisible());
    TfrmVexorExp::Current()->bbnSetupOk->click();
  });
  TfrmVexorExp::ShowPostingSetup(db.Db());
  EXPECT_FALSE(QFile::exists(Globals().ProgramDir + "ZARNDAT001/VEXORAB.INI"));
  EXPECT_EQ(LoadVexorSettings().Afa, 27);
}

TEST_F(VexorForms, MainMenuLeadsToBothForms) {
  const QString cwd = QDir::currentPath();
  WriteFileBytes(Globals().ProgramDir + "ZARN.INI", "[INI]\r\nHOST=127.0.0.1\r\n");
  {
    TMainForm main({"zarn"});
    ConfigureTestServer(*main.DB1, db.Name());
    main.DB1->Connect();
    QMap<QString, QMenu*> menus;
    QStringList titles;
    for (QAction* a : main.menuBar()->actions()) {
      titles << a->text();
      menus[a->text()] = a->menu();
    }
    EXPECT_EQ(titles.indexOf("&Egyéb"), titles.indexOf("&Szervíz") + 1);
    ASSERT_TRUE(menus.value("&Egyéb") && menus.value("&Szervíz"));
    QStringList service;
    for (QAction* a : menus["&Szervíz"]->actions()) service << a->text();
    EXPECT_LT(service.indexOf("&Cég váltás"), service.indexOf("Könyvelési &beállítások"));
    EXPECT_LT(service.indexOf("Könyvelési &beállítások"), service.indexOf("SQL beállítások"));
    EXPECT_EQ(menus["&Egyéb"]->actions().value(0)->text(), "&Gépi feladás");

    QStringList opened;
    for (QAction* a :
         {menus["&Egyéb"]->actions().value(0),
          menus["&Szervíz"]->actions().value(service.indexOf("Könyvelési &beállítások"))}) {
      OnNextModal([&](QWidget* w) {
        opened << w->windowTitle();
        if (auto* label = w->findChild<QLabel*>("LabelCeg")) opened << label->text();
        static_cast<QDialog*>(w)->reject();
      });
      a->trigger();
    }
    EXPECT_EQ(opened, (QStringList{"Gépi feladás", "Minta & Fia Kft", "Könyvelés"}));
  }
  QDir::setCurrent(cwd);
}

}  // namespace
