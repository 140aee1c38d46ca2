#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <future>

#include "app_globals.h"
#include "balance_recalc.h"
#include "date_edit.h"
#include "form_ecs_torol.h"
#include "form_ecssz_lis.h"
#include "form_ecsszamito.h"
#include "gui_test_util.h"
#include "other_workstation.h"
#include "report_renderer.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"

namespace {

class RunForms : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    db.Exec("INSERT INTO CEG (CEGNEV) VALUES ('Próba Kft.')");
    db.Exec(
        "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MARERTEK) VALUES ('00001', 'Eszterga', 100000)");
    db.Exec(
        "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES "
        "('00001', '2004-03-10', '0', 1000000), ('00001', '2004-07-01', '2', 0)");
    db.Exec("INSERT INTO KULCSOK VALUES ('00001', 2004, 14.5, 20), ('00001', 2005, 14.5, 20)");
    RecalcAllBalances(db.Db());
    savedUserDir = Globals().UserDir;
    savedProgramDir = Globals().ProgramDir;
    Globals().UserDir = userDir.path() + "/";
    Globals().ProgramDir = BinDir() + "/";  // where the renderer is
    savedRun = SetRendererRunAndWait([this](const QString&, const QStringList& arguments) {
      renderer.append(arguments);
      return true;
    });
  }
  void TearDown() override {
    SetRendererRunAndWait(savedRun);
    Globals().UserDir = savedUserDir;
    Globals().ProgramDir = savedProgramDir;
  }
  bool RunFor(const QDate& date, const QString& leltszam = {}) {
    TFormECSszamito form(db.Db());
    form.FormActivate();
    form.dateEdit1->SetValue(date);
    form.EditLsz->setText(leltszam);
    form.BtnOKClick();
    return form.result() == QDialog::Accepted;
  }
  // The run as the user makes it: the form shown, the date (its digits) and the number typed,
  // the button clicked.
  bool TypedRun(const QString& date, const QString& number) {
    TFormECSszamito form(db.Db());
    OnNextModal([&](QWidget*) {
      TypeText(form.dateEdit1, date);
      PressKey(form.dateEdit1, Qt::Key_Tab);
      TypeText(&form, number);
      QTest::mouseClick(form.BtnOK, Qt::LeftButton);
    });
    return form.exec() == QDialog::Accepted;
  }
  QString Count(const QString& table) { return db.Value("SELECT COUNT(*) FROM " + table); }

  TestDatabase db;
  ScriptedUi ui;
  QTemporaryDir userDir;
  QString savedUserDir;
  QString savedProgramDir;
  TRunAndWait savedRun;
  QList<QStringList> renderer;
};

TEST_F(RunForms, RunWritesItsLinesAndPrintsTheRunList) {
  TFormECSszamito form(db.Db());
  form.FormActivate();
  EXPECT_EQ(form.dateEdit1->Value(), QDate(QDate::currentDate().year(), 12, 31));

  ASSERT_TRUE(RunFor(QDate(2005, 6, 30)));
  EXPECT_EQ(Count("SZAMITAS"), "2");
  EXPECT_EQ(
      db.Value("SELECT CONCAT(ECSNOV, '/', ECSNSZ, '/', NETTO) FROM KARTTET WHERE TIPUS = '4'"),
      "144800/179752/855200");
  ASSERT_EQ(renderer.size(), 1) << ui.Texts().join("\n").toStdString();
  EXPECT_EQ(renderer[0], (QStringList{userDir.path() + "/ECSSZAM.xml", userDir.path() + "/"}));
  const QByteArray data = ReadFileBytes(userDir.path() + "/ECSSZAM.xml");
  EXPECT_TRUE(data.contains("Eszterga"));
  EXPECT_TRUE(
      data.contains("Pr\xf3"
                    "ba Kft."));  // Windows-1250
  EXPECT_TRUE(QFile::exists(userDir.path() + "/ECSSZAM.frm"));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('\n').toStdString();

  // The renderer makes the list readable: title, company, asset, the lines and their sums.
  const QString pdf = userDir.path() + "/ECSSZAM.pdf";
  ASSERT_EQ(QProcess::execute(BinDir() + "/Gravlen", {"--pdf", pdf, userDir.path() + "/ECSSZAM.xml",
                                                      userDir.path() + "/"}),
            0);
  QProcess text;
  text.start("pdftotext", {"-layout", pdf, "-"});
  ASSERT_TRUE(text.waitForFinished());
  const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
  for (const char* expected :
       {"ÉCS SZÁMÍTÁS", "Próba Kft.", "00001", "Eszterga", "2004.07.01", "184", "Összesen:"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                            << page.toStdString();

  // A second run before the first one's date: Yes removes the later write-off and its lines.
  ui.Answer(mbYes);
  ASSERT_TRUE(RunFor(QDate(2004, 12, 31)));
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].defaultButton, mbNo);
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(DISTINCT ECSDATUM) AS CHAR(100)) FROM SZAMITAS"),
            "2004-12-31");
  EXPECT_EQ(Count("KARTTET WHERE TIPUS = '4'"), "1");
}

TEST_F(RunForms, BadInputIsRefusedAndChangesNothing) {
  ASSERT_TRUE(RunFor(QDate(2005, 6, 30)));
  ui.Clear();
  for (const QDate& date : {QDate(), QDate(1900, 1, 1)}) EXPECT_FALSE(RunFor(date));
  EXPECT_EQ(ui.Texts(), (QStringList{"Adja meg az értékcsökkenés számítás dátumát!",
                                     "Adja meg az értékcsökkenés számítás dátumát!"}));
  EXPECT_EQ(Count("KARTTET WHERE TIPUS = '4'"), "1");
  EXPECT_EQ(Count("SZAMITAS"), "2");
}

TEST_F(RunForms, ATypedInventoryNumberRunsThatAssetWhateverItHolds) {
  for (const char* number : {"A12/Cs", " 7"}) {
    db.Exec(QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('%1', 'Köszörű'); "
                           "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES ('%1', "
                           "'2005-01-01', '0', 365000), ('%1', '2005-01-01', '2', 0); INSERT INTO "
                           "KULCSOK VALUES ('%1', 2005, 10, 10)")
                .arg(number));
  }
  RecalcAllBalances(db.Db());

  EXPECT_TRUE(TypedRun("20051231", "A12/Cs"));
  EXPECT_TRUE(TypedRun("20051231", " 7"));
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(CONCAT('[', LELTSZAM, ']', ECSNOV) ORDER BY "
                     "LELTSZAM) AS CHAR(100)) FROM KARTTET WHERE TIPUS = '4'"),
            "[ 7]36500,[A12/Cs]36500");
  // A number no asset has, quotes and all, runs nothing and still prints its (empty) list.
  EXPECT_TRUE(TypedRun("20051231", "' or '1'='1"));
  EXPECT_EQ(Count("KARTTET WHERE TIPUS = '4'"), "2");
  EXPECT_EQ(renderer.size(), 3);
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('\n').toStdString();
}

// The person reads each message of the run at leisure; meanwhile another workstation posts an
// item.
class SlowReader : public ScriptedUi {
 public:
  explicit SlowReader(const TestDatabase& db) : m_db(db) {}
  MsgButton MessageBox(const QString& text, const QString& caption, MsgType type, int buttons,
                       MsgButton defaultButton) override {
    if (!post.valid()) {
      post = PostItemsElsewhere(m_db, {"00001"}, QDate(2005, 3, 1), 1000);
      postedWhileOpen = post.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    }
    return ScriptedUi::MessageBox(text, caption, type, buttons, defaultButton);
  }
  std::future<QStringList> post;
  bool postedWhileOpen = false;

 private:
  const TestDatabase& m_db;
};

TEST_F(RunForms, NoWorkstationWaitsWhileAMessageOfTheRunIsOpen) {
  SlowReader reader(db);
  ASSERT_TRUE(TypedRun("20061231", ""));  // no rate for 2006
  ASSERT_TRUE(reader.post.valid()) << "no message was shown";
  EXPECT_TRUE(reader.postedWhileOpen);
  EXPECT_EQ(reader.post.get(), QStringList());
  ASSERT_EQ(reader.Calls().size(), 1);
  EXPECT_EQ(reader.Calls()[0].text(),
            "Nincs megadva a leirási kulcs! Leltári szám:00001 Dátum: 2006.01.01 - 2006.12.31");
  EXPECT_EQ(reader.Calls()[0].type, MsgType::Information);
  EXPECT_EQ(reader.Calls()[0].caption, "");
  // The run and the item are both there.
  EXPECT_EQ(Count("KARTTET WHERE TIPUS = '4' AND DATUM = '2006-12-31'"), "1");
  EXPECT_EQ(Count("KARTTET WHERE TIPUS = '3'"), "1");
}

TEST_F(RunForms, DeletionFormRemovesTheChosenRun) {
  ASSERT_TRUE(RunFor(QDate(2004, 12, 31)));
  ASSERT_TRUE(RunFor(QDate(2005, 6, 30)));
  TFormECSTorol form(db.Db());
  form.FormActivate();
  ASSERT_EQ(form.CBdatum->count(), 2);
  EXPECT_EQ(form.CBdatum->currentText(), "2005.06.30");

  ui.Answer(mbNo);
  form.BtnTorolClick();
  EXPECT_EQ(Count("KARTTET WHERE TIPUS = '4'"), "2");

  ui.Answer(mbYes);
  form.BtnTorolClick();
  EXPECT_EQ(ui.Calls().last().caption, "FIGYELEM");
  EXPECT_EQ(
      db.Value("SELECT CAST(GROUP_CONCAT(DATUM) AS CHAR(100)) FROM KARTTET WHERE TIPUS = '4'"),
      "2004-12-31");
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(DISTINCT ECSDATUM) AS CHAR(100)) FROM SZAMITAS"),
            "2004-12-31");

  TFormECSSZLis list(db.Db());
  list.FormActivate();
  EXPECT_EQ(list.CBdatum->currentText(), "2004.12.31");
}

}  // namespace

namespace {

TEST(RunFormLook, DateEditShowsTheWholeDateAtEveryFontScale) {
  TestDatabase db;
  const double saved = Globals().FontScale;
  for (const double scale : {1.0, 1.5}) {
    Globals().FontScale = scale;
    TFormECSszamito form(db.Db());
    form.show();
    form.dateEdit1->SetValue(QDate(2026, 12, 31));
    const TdateEdit* edit = form.dateEdit1;
    const int textWidth = edit->fontMetrics().horizontalAdvance(edit->text());
    // The text area: the contents less the button's margin and the edit's own 2-pixel margins.
    const int room = edit->contentsRect().width() - edit->textMargins().right() - 4;
    EXPECT_LE(textWidth, room) << scale;
    EXPECT_EQ(edit->text(), QStringLiteral("2026.12.31"));
    form.close();
  }
  Globals().FontScale = saved;
}

}  // namespace
