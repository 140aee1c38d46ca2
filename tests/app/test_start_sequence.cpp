#include <QFile>

#include "app_globals.h"
#include "company_databases.h"
#include "exceptions.h"
#include "start_sequence.h"
#include "start_settings.h"
#include "system_db_fixture.h"

namespace {

struct FakeHost : StartHost {
  QStringList events;
  std::function<void()> onCompanyList;
  void SetStatusText(const QString& text) override { events << "status:" + text; }
  void ShowServerUnreachable() override { events << "unreachable"; }
  void ShowCompanyList() override {
    events << "companies";
    if (onCompanyList) onCompanyList();
  }
  void RecalcAllBalances(TUniSQLDatabase&) override { events << "recalc"; }
};

}  // namespace

class StartSequence : public SystemDbTest {
 protected:
  bool Activate(const QStringList& args = {"zarn"}) { return m_start.Activate(args); }
  // Companies 1..4 with their databases; 2 and 3 share a tax number, 4 has a quote in it.
  void FourCompanies() {
    TUniSQLDatabase db;
    Configure(db, "");
    CreateSystemAndFirstCompany(db, ProgramDir(), [](const QString&) {});
    Exec("ZARN", "update CEGEK set ADOSZ='111'");
    db.Disconnect();
    ConnectLike(db, db, "ZARN");
    CreateCompany(db, "B", "222", ProgramDir(), [](CompanyStep) {});
    CreateCompany(db, "C", "222", ProgramDir(), [](CompanyStep) {});
    CreateCompany(db, QString::fromUtf8("Dé"), "4'4", ProgramDir(), [](CompanyStep) {});
    m_ui.Clear();
  }

  FakeHost m_host;
  TStartSequence m_start{m_db0, m_db1, m_host};
};

TEST_F(StartSequence, FreshServerAndYesGiveAWorkingEmptyFirstCompany) {
  m_ui.Answer(mbYes);
  EXPECT_TRUE(Activate());
  ASSERT_GE(m_ui.Calls().size(), 2);
  EXPECT_EQ(m_ui.Calls()[0].text(),
            QString::fromUtf8("Nem sikerült az adatbázist megnyitni, Létrehozzam most?"));
  EXPECT_EQ(m_ui.Calls()[0].caption, "FIGYELEM");
  EXPECT_EQ(m_ui.Calls()[0].defaultButton, mbNo);
  EXPECT_EQ(m_ui.Calls()[1].lines, (QStringList{"", QString::fromUtf8("Adatbázis létrehozva")}));
  EXPECT_EQ(m_ui.Calls().size(), 2);  // a current database: no upgrade message
  EXPECT_EQ(m_host.events,
            (QStringList{"status:create database", "status:CREATE CEGEK",
                         "status:INSERT INTO CEGEK", "status:CREATE DATABASE ZARNDAT001",
                         "status:CREATE TABLES IN ZARNDAT001", "status:create index",
                         "status:", QString::fromUtf8("status:Első adatbázis    (ZARNDAT001)")}));
  EXPECT_TRUE(m_db1.Connected());
  EXPECT_EQ(m_db1.Databasename(), "ZARNDAT001");
  EXPECT_TRUE(Activate());  // once only
  EXPECT_EQ(m_ui.Calls().size(), 2);
}

// Without ZARN there is no list to offer: the server's word instead, and the start goes on.
TEST_F(StartSequence, NoCreatesNothingAndTellsWhyNoListIsOffered) {
  m_ui.Answer(mbNo);
  EXPECT_TRUE(Activate());
  EXPECT_EQ(m_host.events, QStringList{});
  ASSERT_EQ(m_ui.Calls().size(), 2);
  EXPECT_EQ(m_ui.Calls()[1].caption, "HIBA!");
  EXPECT_TRUE(m_ui.Calls()[1].text().startsWith("MySQL Error "))
      << m_ui.Calls()[1].text().toStdString();
  EXPECT_TRUE(m_ui.Calls()[1].text().contains("ZARN")) << m_ui.Calls()[1].text().toStdString();
  EXPECT_FALSE(m_db1.Connected());
  EXPECT_EQ(
      Value("information_schema", "select count(*) from SCHEMATA where SCHEMA_NAME like 'ZARN%'"),
      "0");
}

// With ZARN open a missing company database offers the list; a list that fails to open is
// told and the start goes on.
TEST_F(StartSequence, MissingCompanyDatabaseOffersTheList) {
  FourCompanies();
  Globals().DataAlias = "ZARNDAT009";
  m_host.onCompanyList = [this] {
    SelectCompanyDatabase(m_db1, "3", m_userDir.filePath("ZARN.INI"));
  };
  EXPECT_TRUE(Activate());
  EXPECT_EQ(m_host.events, (QStringList{"companies", "status:C    (ZARNDAT003)"}));

  Globals().DataAlias = "ZARNDAT009";
  m_db1.Disconnect();
  m_ui.Clear();
  FakeHost failing;
  failing.onCompanyList = [] {
    throw EDatabaseError("MySQL Error Table 'ZARN.CEGEK' doesn't exist");
  };
  TStartSequence start(m_db0, m_db1, failing);
  EXPECT_TRUE(start.Activate({"zarn"}));
  EXPECT_EQ(failing.events, QStringList{"companies"});
  EXPECT_EQ(m_ui.Texts(), QStringList{"MySQL Error Table 'ZARN.CEGEK' doesn't exist"});
  EXPECT_FALSE(m_db1.Connected());
}

TEST_F(StartSequence, UnreachableServerShowsItsFormAndTouchesNothing) {
  m_db1.SetPort("1");
  EXPECT_FALSE(Activate());
  EXPECT_EQ(m_host.events, QStringList{"unreachable"});
  EXPECT_TRUE(m_ui.Calls().isEmpty());
  EXPECT_FALSE(QFile::exists(m_userDir.filePath("ZARN.INI")));
}

TEST_F(StartSequence, OldSchemaIsUpgradedOnTheStartPath) {
  TUniSQLDatabase db;
  Configure(db, "");
  CreateSystemAndFirstCompany(db, ProgramDir(), [](const QString&) {});
  Exec("ZARN", "alter table CEGEK drop ADOSZ");
  Exec("ZARNDAT001",
       "drop index IKARTFEJ1 on KARTFEJ;"
       "alter table KARTFEJ drop MENNYISEG, drop KOLTSHELY, drop ELHASZNA, "
       "drop FKSZAKTEL, drop MEGJ1; alter table KARTTET drop MENNYISEG, drop SORSZAM");
  m_ui.Clear();
  EXPECT_TRUE(Activate());
  EXPECT_EQ(m_ui.Texts().size(), 5);
  EXPECT_TRUE(m_host.events.contains("recalc"));
  EXPECT_EQ(Value("information_schema",
                  "select count(*) from COLUMNS where "
                  "TABLE_SCHEMA='ZARN' and TABLE_NAME='CEGEK'"),
            "3");
}

TEST_F(StartSequence, TaxNumberArgument) {
  FourCompanies();
  const struct {
    const char* arg;
    const char* alias;
    const char* message;  // empty: none
  } cases[] = {
      {"/ADOSZ=999", "ZARNDAT001", "Kérem váltson a megfelelő adatbázisra! (Adószám=999)"},
      {"/ADOSZ=222", "ZARNDAT001", "Kérem váltson a megfelelő adatbázisra! (Adószám=222)"},
      {"/ADOSZ=   ", "ZARNDAT001", ""},
      {"/ADOSZ=222' or ''='", "ZARNDAT001",
       "Kérem váltson a megfelelő adatbázisra! (Adószám=222' or ''=')"},
      {"/ADOSZ=111", "ZARNDAT001", ""},
      {"/ADOSZ=4'4", "ZARNDAT004", ""},
  };
  for (const auto& c : cases) {
    Globals().DataAlias = "ZARNDAT001";
    m_ui.Clear();
    FakeHost host;
    TStartSequence start(m_db0, m_db1, host);
    EXPECT_TRUE(start.Activate({"zarn", QString::fromUtf8(c.arg)}));
    EXPECT_EQ(Globals().DataAlias, c.alias) << c.arg;
    EXPECT_EQ(m_db1.Databasename(), c.alias) << c.arg;
    EXPECT_EQ(m_ui.Texts(), *c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{})
        << c.arg;
  }
  EXPECT_EQ(LoadUserSettings(m_userDir.filePath("ZARN.INI")).DataAlias, "ZARNDAT004");
  EXPECT_TRUE(m_host.events.isEmpty());
}

TEST_F(StartSequence, TaxNumberCompanySurvivesALaterSwitch) {
  FourCompanies();
  EXPECT_TRUE(Activate({"zarn", "/ADOSZ=111"}));
  SelectCompanyDatabase(m_db1, "3", m_userDir.filePath("ZARN.INI"));
  m_start.CompanySwitched();
  EXPECT_TRUE(Activate({"zarn", "/ADOSZ=111"}));
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT003");
  EXPECT_EQ(m_db1.Databasename(), "ZARNDAT003");
  EXPECT_EQ(m_host.events.last(), "status:C    (ZARNDAT003)");
}
