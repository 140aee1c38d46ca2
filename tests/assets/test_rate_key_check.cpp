#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app_globals.h"
#include "codepage.h"
#include "exceptions.h"
#include "rate_key_check.h"
#include "report_renderer.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"

namespace {

// Seven assets covering every way out of the proposals, and an old rate row without a number.
class RateKeyCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    db.Exec("INSERT INTO CEG (CEGNEV) VALUES ('Kulcs Kft.')");
    db.Exec(
        "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Eszterga'), "
        "('00002', 'Csőhajlító'), ('00003', 'Targonca'), ('00004', 'Fűrészgép'), "
        "('00005', 'Hegesztő'), ('00006', 'Szerszámgép'), ('00007', 'Őrlő')");
    // Rates as (year, KULCS tax law, KULCSSZ accounting law).
    db.Exec(
        "INSERT INTO KULCSOK (LELTSZAM, EV, KULCS, KULCSSZ) VALUES "
        "('00001', 2023, 20, 10), ('00001', 2024, 20, 10), ('00002', 2024, 20, 10), "
        "('00002', 2025, 20, 10), ('00004', 2022, 50, 50), ('00005', 2024, -1, -1), "
        "('00006', 2024, 14.5, 12), ('00007', 2024, 10, 10), ('', 0, 0, 0)");
    db.Exec(
        "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, NETTO, NETTOSZ) VALUES "
        "('00001', '2023-01-10', '0', 1000000, 1000000), "
        "('00001', '2024-12-31', '4', 600000, 800000), "
        "('00002', '2024-01-15', '0', 500000, 500000), "
        "('00002', '2024-01-15', '2', 500000, 500000), "
        "('00003', '2024-02-01', '0', 300000, 300000), "
        "('00004', '2022-01-01', '0', 100000, 100000), "
        "('00004', '2023-05-10', '6', 0, 0), "
        "('00005', '2024-03-01', '0', 200000, 200000), "
        "('00005', '2024-03-01', '2', 200000, 200000), "
        "('00006', '2024-06-01', '0', 400000, 400000), "
        "('00007', '2024-01-01', '0', 1000, 1000), "
        "('00007', '2024-12-31', '4', 0, 500)");
    savedGlobals = Globals();
    Globals().ProgramDir = BinDir() + "/";  // where the renderer is
    savedRun = SetRendererRunAndWait([this](const QString&, const QStringList& arguments) {
      shown << arguments.value(0).section('/', -1);
      return true;
    });
  }
  void TearDown() override {
    SetRendererRunAndWait(savedRun);
    Globals() = savedGlobals;
  }

  QString UserDir() const { return dir.path() + "/"; }
  QStringList Values(const QString& field) const {
    QStringList out;
    const QString data = ToUnicode(ReadFileBytes(UserDir() + "kulcsell.xml"), CodePage::Cp1250);
    for (const QString& line : data.split("\r\n"))
      if (line.startsWith(field + "=")) out << line.mid(field.size() + 1);
    return out;
  }
  QString Rates(const QString& where) {
    TUniSQLQuery q;
    q.SetDatabase(&db.Db());
    q.SetSQL("SELECT LELTSZAM, EV, KULCS, KULCSSZ FROM KULCSOK WHERE " + where +
             " ORDER BY LELTSZAM, EV");
    q.Open();
    QStringList rows;
    for (q.First(); !q.Eof(); q.Next())
      rows << QStringList{q.Fields(0)->AsString(), q.Fields(1)->AsString(), q.Fields(2)->AsString(),
                          q.Fields(3)->AsString()}
                  .join(' ');
    return rows.join('|');
  }
  // Whether the connection sees a work table of that name.
  static bool Sees(TUniSQLDatabase& connection, const QString& table) {
    try {
      RunStatements(connection, "SELECT 1 FROM " + table + " LIMIT 1");
      return true;
    } catch (const Exception&) {
      return false;
    }
  }
  static bool SeesAnyWorkTable(TUniSQLDatabase& connection) {
    for (const char* t : {"wkulcsok1", "wkulcsok2", "wkarttet1", "wkarttet2"})
      if (Sees(connection, t)) return true;
    return false;
  }

  TestDatabase db;
  ScriptedUi ui;
  QTemporaryDir dir;
  TRunAndWait savedRun;
  AppGlobals savedGlobals;
  QStringList shown;
};

const QString kListed = "00001 2025 20 10|00006 2025 14.5 12|00007 2025 10 10";

TEST_F(RateKeyCheckTest, ListsTheAssetsThatNeedRatesAndYesFillsThemIn) {
  ui.Answer(mbYes);
  EXPECT_TRUE(RunRateKeyCheck(db.Db(), 2025, UserDir(), QDate(2025, 3, 15)));

  EXPECT_EQ(Values("wfdLeltszam"), QStringList({"00001", "00006", "00007"}));
  EXPECT_EQ(Values("wfdKulcssz"), QStringList({"10", "12", "10"}));
  EXPECT_EQ(Values("wfdKulcs"), QStringList({"20", "14.5", "10"}));
  EXPECT_EQ(shown, QStringList({"kulcsell.xml"}));
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].caption, "AUTOMATIKUS HIBAJAVÍTÁS");
  EXPECT_EQ(ui.Calls()[0].text(), RateKeyCheck::Question);
  EXPECT_EQ(ui.Calls()[0].buttons, mbYes | mbNo);
  EXPECT_EQ(ui.Calls()[0].defaultButton, mbNo);
  EXPECT_EQ(Rates("EV = 2025"),
            "00001 2025 20 10|00002 2025 20 10|00006 2025 14.5 12|"
            "00007 2025 10 10");
  EXPECT_FALSE(SeesAnyWorkTable(db.Db()));

  for (const char* ext : {".xml", ".def", ".frm"})
    ExpectGolden(ReadFileBytes(UserDir() + "kulcsell" + ext),
                 QString("assets/golden/kulcsell") + ext);
  const QString page = ReportPdfText(UserDir(), "kulcsell");
  EXPECT_TRUE(page.contains("HIÁNYZÓ AMORTIZÁCIÓS KULCSOK")) << page.toStdString();
  for (const char* line : {"00001 Eszterga 10 20", "00006 Szerszámgép 12 14.5", "00007 Őrlő 10 10"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(line))) << line << "\n" << page.toStdString();
}

TEST_F(RateKeyCheckTest, NoInsertsNothingAndAYearWithoutGapsAsksNothing) {
  const QString before = Rates("1=1");
  ui.Answer(mbNo);
  EXPECT_TRUE(RunRateKeyCheck(db.Db(), 2025, UserDir()));
  EXPECT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(Rates("1=1"), before);
  EXPECT_FALSE(SeesAnyWorkTable(db.Db()));

  ui.Clear();
  shown.clear();
  EXPECT_TRUE(RunRateKeyCheck(db.Db(), 2024, UserDir()));
  EXPECT_TRUE(ui.Calls().isEmpty());
  EXPECT_EQ(shown, QStringList({"kulcsell.xml"}));
  EXPECT_EQ(Values("wfdLeltszam"), QStringList());
  EXPECT_EQ(Values("wfdEv"), QStringList({"2024"}));
  EXPECT_EQ(Rates("1=1"), before);
}

TEST_F(RateKeyCheckTest, TwoConnectionsCheckingAtOnceKeepTheirOwnWorkTables) {
  auto other = db.Connect();
  {
    RateKeyCheck first(db.Db());
    first.Build(2025);
    EXPECT_FALSE(SeesAnyWorkTable(*other));

    // The other workstation checks 2026 meanwhile: every asset with rates stops before it.
    QTemporaryDir otherDir;
    ui.Answer(mbNo);
    EXPECT_TRUE(RunRateKeyCheck(*other, 2026, otherDir.path() + "/"));
    const QString data =
        ToUnicode(ReadFileBytes(otherDir.path() + "/kulcsell.xml"), CodePage::Cp1250);
    EXPECT_TRUE(data.contains("wfdLeltszam=00002")) << data.toStdString();
    EXPECT_FALSE(SeesAnyWorkTable(*other));

    EXPECT_TRUE(first.WriteReport(UserDir(), QDate(2025, 3, 15)));
    EXPECT_EQ(Values("wfdLeltszam"), QStringList({"00001", "00006", "00007"}));
    EXPECT_TRUE(Sees(db.Db(), "wkulcsok2"));
  }
  EXPECT_FALSE(SeesAnyWorkTable(db.Db()));
}

TEST_F(RateKeyCheckTest, AFailingBuildIsShownInsertsNothingAndLeavesNoWorkTable) {
  // A rate table the check cannot read: the third work table fails after the first two exist.
  db.Exec("ALTER TABLE KARTTET RENAME TO KARTTET_EL");
  const QString before = Rates("1=1");
  EXPECT_FALSE(RunRateKeyCheck(db.Db(), 2025, UserDir()));
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
  EXPECT_TRUE(ui.Calls()[0].text().startsWith("MySQL Error")) << ui.Calls()[0].text().toStdString();
  EXPECT_TRUE(shown.isEmpty());
  EXPECT_EQ(Rates("1=1"), before);
  EXPECT_FALSE(SeesAnyWorkTable(db.Db()));
}

}  // namespace
