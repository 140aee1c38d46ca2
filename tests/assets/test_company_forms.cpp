#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "app_globals.h"
#include "frm_kulcs_ell.h"
#include "gui_test_util.h"
#include "main_form.h"
#include "report_renderer.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"

namespace {

class CompanyForms : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    db.Exec("INSERT INTO CEG (CEGNEV, ADOSZAM) VALUES ('Kulcs Kft.', '12345678-2-42')");
    saved = Globals();
    Globals().ProgramDir = root.path() + "/";
    Globals().UserDir = root.path() + "/user/";
    QDir().mkpath(Globals().UserDir);
    WriteScript(root.path(), "Gravlen", "exit 0\n");  // found; the run itself is recorded
    savedRun = SetRendererRunAndWait([this](const QString&, const QStringList& arguments) {
      shown << arguments.value(0).section('/', -1);
      return true;
    });
  }
  void TearDown() override {
    SetRendererRunAndWait(savedRun);
    Globals() = saved;
  }
  // The item of the main menu's menu, triggered; the title of the dialog it opened.
  QString OpenFromMenu(const QString& menuTitle, const QString& item) {
    const QString cwd = QDir::currentPath();
    WriteFileBytes(Globals().ProgramDir + "ZARN.INI", "[INI]\r\nHOST=127.0.0.1\r\n");
    QString title;
    {
      TMainForm main({"zarn"});
      ConfigureTestServer(*main.DB1, db.Name());
      main.DB1->Connect();
      for (QAction* m : main.menuBar()->actions()) {
        if (m->text() != menuTitle || !m->menu()) continue;
        for (QAction* a : m->menu()->actions()) {
          if (a->text() != item) continue;
          OnNextModal([&](QWidget* w) {
            title = w->windowTitle();
            static_cast<QDialog*>(w)->reject();
          });
          a->trigger();
        }
      }
    }
    QDir::setCurrent(cwd);
    return title;
  }

  TestDatabase db;
  ScriptedUi ui;
  QTemporaryDir root;
  AppGlobals saved;
  TRunAndWait savedRun;
  QStringList shown;
};

TEST_F(CompanyForms, RateKeyCheckFormRunsTheCheckForTheChosenYear) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Eszterga')");
  db.Exec("INSERT INTO KULCSOK (LELTSZAM, EV, KULCS, KULCSSZ) VALUES ('00001', 2023, 20, 10)");
  TfrmKulcsEll form(db.Db());
  EXPECT_EQ(form.windowTitle(), "Amortizációs kulcsok ellenőrzése");
  EXPECT_EQ(form.lblCegnev->text(), "Kulcs Kft.");
  EXPECT_EQ(form.speEv->value(), QDate::currentDate().year());
  EXPECT_EQ(form.speEv->minimum(), 1900);
  EXPECT_EQ(form.speEv->maximum(), 2900);
  EXPECT_EQ(form.bbnOk->text(), "&Rendben");
  EXPECT_EQ(form.bbnMegsem->text(), "&Mégsem");

  form.speEv->setValue(2024);
  ui.Answer(mbYes);
  form.bbnOk->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(shown, QStringList({"kulcsell.xml"}));
  EXPECT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(db.Value("SELECT CONCAT(KULCS, '/', KULCSSZ) FROM KULCSOK WHERE EV = 2024"), "20/10");
}

TEST_F(CompanyForms, MenuItemsOpenTheirForms) {
  EXPECT_EQ(OpenFromMenu("&Szervíz", "Amortizációs kulcsok ellenőrzése"),
            "Amortizációs kulcsok ellenőrzése");
  EXPECT_EQ(OpenFromMenu("&Egyéb", "&Cég adatok"), "Cég fő adatai");
}

}  // namespace
