#include "company_databases.h"
#include "schema_upgrade.h"
#include "system_db_fixture.h"
#include "uni_sql_query.h"

namespace {

const QStringList kStartMessages = {
    QString::fromUtf8("Költségviselő felvéve."),
    QString::fromUtf8("Mennyiség felvéve."),
    QString::fromUtf8("Adótörvény szerinti tervezett élettartam felvéve."),
    QString::fromUtf8("Aktiválás elötti főkönyvi számlaszám felvéve."),
    QString::fromUtf8("Megjegyzés mező felvéve."),
};

}  // namespace

class SchemaUpgrade : public SystemDbTest {
 protected:
  // ZARNDAT001 as an old edition left it: KARTFEJ and KARTTET with their first 16 columns.
  void OldCompany() {
    TUniSQLDatabase db;
    Configure(db, "");
    CreateSystemAndFirstCompany(db, ProgramDir(), [](const QString&) {});
    Exec("ZARNDAT001",
         "drop index IKARTFEJ1 on KARTFEJ;"
         "alter table KARTFEJ drop MENNYISEG, drop KOLTSHELY, drop ELHASZNA, drop FKSZAKTEL, "
         "drop MEGJ1;"
         "alter table KARTTET drop MENNYISEG, drop SORSZAM;"
         "insert into KARTFEJ (LELTSZAM, MEGNEV, ELHASZN) values ('00001', 'Gép', 5);"
         "insert into KARTTET (LELTSZAM, TIPUS) values ('00001','0'),('00001','1'),"
         "('00001','2'),('00001','4'),('00001','5'),('00001','6'),('00001','7'),('00001','A')");
  }
  int Upgrade(UpgradePath path) {
    int recalcs = 0;
    TUniSQLDatabase db;
    Configure(db, "ZARNDAT001");
    UpgradeCompanyTables(db, path, [&](TUniSQLDatabase& d) {
      EXPECT_EQ(d.Databasename(), "ZARNDAT001");
      ++recalcs;
    });
    return recalcs;
  }
};

TEST_F(SchemaUpgrade, OldTablesGetEveryColumnWithFiveMessagesOnce) {
  OldCompany();
  EXPECT_EQ(Upgrade(UpgradePath::Start), 1);
  EXPECT_EQ(m_ui.Texts(), kStartMessages);
  EXPECT_EQ(Column("ZARNDAT001",
                   "select concat_ws('|', MENNYISEG, concat('[', KOLTSHELY, ']'), ELHASZNA, "
                   "concat('[', FKSZAKTEL, ']'), concat('[', MEGJ1, ']')) from KARTFEJ"),
            QStringList{"1.00|[]|5|[]|[]"});
  EXPECT_EQ(Column("ZARNDAT001", "select concat(TIPUS, MENNYISEG, '/', SORSZAM) from KARTTET "
                                 "order by TIPUS"),
            (QStringList{"01.00/0", "11.00/0", "20.00/0", "40.00/0", "5-1.00/0", "6-1.00/0",
                         "7-1.00/0", "A0.00/0"}));
  EXPECT_EQ(Value("information_schema", "select count(*) from COLUMNS where "
                                        "TABLE_SCHEMA='ZARNDAT001' and TABLE_NAME='KARTFEJ'"),
            "21");

  m_ui.Clear();
  Exec("ZARNDAT001", "update KARTTET set MENNYISEG = 7; update KARTFEJ set MENNYISEG = 3");
  EXPECT_EQ(Upgrade(UpgradePath::Start), 0);  // a second start changes nothing
  EXPECT_EQ(m_ui.Texts(), QStringList{});
  EXPECT_EQ(Value("ZARNDAT001", "select concat(min(MENNYISEG), max(MENNYISEG)) from KARTTET"),
            "7.007.00");
  EXPECT_EQ(Value("ZARNDAT001", "select concat(MENNYISEG) from KARTFEJ"), "3.00");
}

TEST_F(SchemaUpgrade, SwitchPathUpgradesToo) {
  OldCompany();
  EXPECT_EQ(Upgrade(UpgradePath::Switch), 1);
  QStringList expected = kStartMessages;
  expected[0] = QString::fromUtf8("Költséghely mező felvéve.");
  EXPECT_EQ(m_ui.Texts(), expected);
}

TEST_F(SchemaUpgrade, QuantitiesAreSetOnlyWhereTheColumnIsNew) {
  // A database that has the quantity but lacks the cost location: its quantities stay.
  OldCompany();
  Exec("ZARNDAT001", "alter table KARTFEJ add MENNYISEG numeric(14,2);"
                     "update KARTFEJ set MENNYISEG = 4");
  Upgrade(UpgradePath::Start);
  EXPECT_EQ(Value("ZARNDAT001", "select concat(MENNYISEG, '[', KOLTSHELY, ']') from KARTFEJ"),
            "4.00[]");
  EXPECT_EQ(m_ui.Texts().first(), QString::fromUtf8("Költségviselő felvéve."));
}

TEST_F(SchemaUpgrade, ErrorsAreShownNotSwallowed) {
  OldCompany();
  Exec("ZARNDAT001", "drop table KARTTET");
  Upgrade(UpgradePath::Start);
  ASSERT_EQ(m_ui.Calls().size(), 2);
  EXPECT_EQ(m_ui.Calls()[0].text(), QString::fromUtf8("Költségviselő felvéve."));
  EXPECT_EQ(m_ui.Calls()[1].caption, "HIBA!");
  EXPECT_TRUE(m_ui.Calls()[1].text().startsWith("MySQL Error ")) << m_ui.Calls()[1].text().toStdString();
}

TEST_F(SchemaUpgrade, CurrentDatabaseGetsNoMessage) {
  TUniSQLDatabase db;
  Configure(db, "");
  CreateSystemAndFirstCompany(db, ProgramDir(), [](const QString&) {});
  m_ui.Clear();
  EXPECT_EQ(Upgrade(UpgradePath::Start), 0);
  EXPECT_EQ(m_ui.Texts(), QStringList{});
}
