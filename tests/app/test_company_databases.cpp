#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app_globals.h"
#include "company_databases.h"
#include "start_settings.h"
#include "system_db_fixture.h"
#include "test_util.h"
#include "uni_sql_query.h"

namespace {

const char* const kCompanyTables = "CEG,KARTFEJ,KARTTET,KULCSOK,PONTOSOK,SZAMITAS";

}  // namespace

class CompanyDatabases : public SystemDbTest {
 protected:
  QStringList TablesOf(const QString& db) {
    return Column("information_schema", "select TABLE_NAME from TABLES where TABLE_SCHEMA='" + db +
                                            "' order by TABLE_NAME");
  }
  int IndexCount(const QString& db) {
    return Value("information_schema",
                 "select count(distinct TABLE_NAME, INDEX_NAME) from STATISTICS where "
                 "TABLE_SCHEMA='" +
                     db + "' and INDEX_NAME <> 'PRIMARY'")
        .toInt();
  }
  void CreateFirst(QStringList* statuses = nullptr) {
    TUniSQLDatabase db;
    Configure(db, "");
    CreateSystemAndFirstCompany(db, ProgramDir(), [&](const QString& s) {
      if (statuses) *statuses << s;
    });
  }
  // ZARN with CEGEK holding these companies (number, name, tax number), no databases.
  void CompanyList(const QList<std::tuple<int, QString, QString>>& rows) {
    Exec("information_schema", "create database ZARN");
    Exec("ZARN", QString::fromUtf8(ReadFileBytes(ProgramDir() + "create/cre_cegek.sql")));
    for (const auto& [n, name, tax] : rows)
      Exec("ZARN", QString("insert into CEGEK values (%1, '%2', '%3')").arg(n).arg(name, tax));
  }
};

TEST_F(CompanyDatabases, FreshServerGetsSystemAndFirstCompanyWithTheStepsInOrder) {
  QStringList statuses;
  CreateFirst(&statuses);
  EXPECT_EQ(statuses, (QStringList{"create database", "CREATE CEGEK", "INSERT INTO CEGEK",
                                   "CREATE DATABASE ZARNDAT001", "CREATE TABLES IN ZARNDAT001",
                                   "create index", ""}));
  EXPECT_EQ(Column("ZARN", "select ABNEV from CEGEK where SORSZAM=1"),
            QStringList{"Első adatbázis"});
  EXPECT_EQ(Value("information_schema",
                  "select count(*) from COLUMNS where TABLE_SCHEMA='ZARN' and TABLE_NAME='CEGEK'"),
            "3");
  EXPECT_EQ(TablesOf("ZARNDAT001").join(','), kCompanyTables);
  EXPECT_EQ(IndexCount("ZARNDAT001"), 6);
  EXPECT_EQ(Value("ZARNDAT001", "select count(*) from CEG"), "0");  // the list writes that row
}

TEST_F(CompanyDatabases, CreationStoppedHalfWayCompletesOnTheNextRun) {
  // An earlier run got as far as the first company's database and its first table.
  CompanyList({});
  Exec("information_schema", "create database ZARNDAT001");
  Exec("ZARNDAT001",
       SplitSQLStatements(QString::fromUtf8(ReadFileBytes(ProgramDir() + "create/create.sql")))
           .first());
  CreateFirst();
  EXPECT_EQ(Value("ZARN", "select count(*) from CEGEK"), "1");
  QStringList tables = TablesOf("ZARNDAT001");
  EXPECT_EQ(tables.join(','), kCompanyTables);
  EXPECT_EQ(IndexCount("ZARNDAT001"), 6);
  CreateFirst();  // and once more changes nothing
  EXPECT_EQ(Value("ZARN", "select count(*) from CEGEK"), "1");
}

// The texts write "create\\create.sql" as well as "Create\\Create.sql": the scripts are found in a
// folder of either case.
TEST_F(CompanyDatabases, ScriptsAreFoundWithoutRegardToCase) {
  QTemporaryDir capitals;
  const QString dir = capitals.path() + "/";
  QDir().mkpath(dir + "Create");
  for (const auto& [from, to] :
       {std::pair{"cre_cegek.sql", "Cre_Cegek.sql"}, std::pair{"create.sql", "Create.sql"},
        std::pair{"creind.sql", "CreInd.sql"}})
    ASSERT_TRUE(QFile::copy(ProgramDir() + "create/" + from, dir + "Create/" + to));
  TUniSQLDatabase db;
  Configure(db, "");
  CreateSystemAndFirstCompany(db, dir, [](const QString&) {});
  db.Disconnect();
  ConnectLike(db, db, "ZARN");
  EXPECT_EQ(CreateCompany(db, "B", "", dir, [](CompanyStep) {}), 2);
  for (const char* company : {"ZARNDAT001", "ZARNDAT002"}) {
    EXPECT_EQ(TablesOf(company).join(','), kCompanyTables) << company;
    EXPECT_EQ(IndexCount(company), 6) << company;
  }
}

TEST_F(CompanyDatabases, AFailingCreationStepIsNamed) {
  QTemporaryDir noScripts;
  TUniSQLDatabase db;
  Configure(db, "");
  try {
    CreateSystemAndFirstCompany(db, noScripts.path() + "/", [](const QString&) {});
    FAIL() << "no error";
  } catch (const EStepFailed& e) {
    EXPECT_EQ(e.Step(), "CREATE CEGEK");
    EXPECT_TRUE(e.Message().contains("cre_cegek.sql")) << e.Message().toStdString();
  }
}

TEST_F(CompanyDatabases, ProbeNeedsNoRightsOnDatabaseMysql) {
  for (const char* host : {"localhost", "127.0.0.1"}) {
    Exec("information_schema",
         QString("create or replace user 'zarn_probe'@'%1' identified by 'pw'").arg(host));
    Exec("information_schema", QString("grant all on `ZARN%`.* to 'zarn_probe'@'%1'").arg(host));
  }
  TUniSQLDatabase db;
  Configure(db, "");
  db.SetUser("zarn_probe");
  db.Setpassword("pw");
  EXPECT_EQ(ProbeServer(db), "");
  db.Setpassword("wrong");
  EXPECT_TRUE(ProbeServer(db).startsWith("MySQL Error ")) << ProbeServer(db).toStdString();
  db.Setpassword("pw");
  db.SetPort("1");  // nobody listens there
  EXPECT_FALSE(ProbeServer(db).isEmpty());
  for (const char* host : {"localhost", "127.0.0.1"})
    Exec("information_schema", QString("drop user 'zarn_probe'@'%1'").arg(host));
}

TEST_F(CompanyDatabases, OldCompanyListGetsItsTaxNumberColumn) {
  Exec("information_schema", "create database ZARN");
  Exec("ZARN",
       "create table CEGEK (SORSZAM int, ABNEV char(40)); insert into CEGEK values (1, 'A')");
  TUniSQLDatabase db;
  Configure(db, "ZARN");
  db.Connect();
  CheckSystemDatabase(db);
  CheckSystemDatabase(db);  // a current list passes
  EXPECT_EQ(Column("ZARN", "select concat('[', ADOSZ, ']') from CEGEK"), QStringList{"[]"});
}

TEST_F(CompanyDatabases, CompaniesWithTaxNumber) {
  CompanyList({{1, "A", "111"}, {2, "B", "222"}, {3, "C", "222"}, {4, "D", "4''4"}});
  TUniSQLDatabase db;
  Configure(db, "ZARN");
  db.Connect();
  EXPECT_EQ(CompaniesWithTaxNumber(db, "333"), QList<qint64>{});
  EXPECT_EQ(CompaniesWithTaxNumber(db, "111"), QList<qint64>{1});
  EXPECT_EQ(CompaniesWithTaxNumber(db, "222"), (QList<qint64>{2, 3}));
  EXPECT_EQ(CompaniesWithTaxNumber(db, "4'4"), QList<qint64>{4});
  EXPECT_EQ(CompaniesWithTaxNumber(db, "x' or '1'='1"), QList<qint64>{});
}

TEST_F(CompanyDatabases, NextNumberAndItsDatabaseName) {
  const struct {
    QList<int> numbers;
    const char* next;
  } cases[] = {
      {{}, "ZARNDAT001"}, {{1, 9}, "ZARNDAT010"}, {{99}, "ZARNDAT100"}, {{5, 999}, "ZARNDAT1000"}};
  for (const auto& c : cases) {
    DropSystemDatabases();
    QList<std::tuple<int, QString, QString>> rows;
    for (int n : c.numbers) rows << std::make_tuple(n, QString("C%1").arg(n), QString());
    CompanyList(rows);
    TUniSQLDatabase db;
    Configure(db, "ZARN");
    db.Connect();
    EXPECT_EQ(CompanyDatabaseName(NextCompanyNumber(db)), c.next);
  }
}

TEST_F(CompanyDatabases, NewCompanyGetsDatabaseCegRowAndListRow) {
  CompanyList({{1, "A", ""}});
  TUniSQLDatabase db0;
  Configure(db0, "ZARN");
  db0.Connect();
  QList<CompanyStep> steps;
  const qint64 n = CreateCompany(db0, QString::fromUtf8(" Kovács 'és' Társa "), "12345678",
                                 ProgramDir(), [&](CompanyStep s) { steps << s; });
  EXPECT_EQ(n, 2);
  EXPECT_EQ(steps.size(), 6);
  EXPECT_EQ(Column("ZARNDAT002", "select concat(CEGNEV, '|', ADOSZAM) from CEG"),
            QStringList{QString::fromUtf8("Kovács 'és' Társa|12345678")});
  EXPECT_EQ(Column("ZARN", "select concat(SORSZAM, '|', ADOSZ) from CEGEK where SORSZAM=2"),
            QStringList{"2|12345678"});
  EXPECT_EQ(db0.Databasename(), "ZARN");
}

TEST_F(CompanyDatabases, ExistingDatabaseOfTheNumberIsNeitherTakenNorListed) {
  CompanyList({{1, "A", ""}});
  Exec("information_schema", "create database ZARNDAT002");
  Exec("ZARNDAT002", "create table SAJAT (X int)");
  TUniSQLDatabase db0;
  Configure(db0, "ZARN");
  db0.Connect();
  try {
    CreateCompany(db0, "B", "", ProgramDir(), [](CompanyStep) {});
    FAIL() << "no error";
  } catch (const EStepFailed& e) {
    EXPECT_EQ(e.Step(), "CREATE DATABASE ZARNDAT002");
  }
  EXPECT_EQ(Value("ZARN", "select count(*) from CEGEK"), "1");
  EXPECT_EQ(
      Column("information_schema", "select TABLE_NAME from TABLES where TABLE_SCHEMA='ZARNDAT002'"),
      QStringList{"SAJAT"});
}

TEST_F(CompanyDatabases, CompanyFailingHalfWayLeavesNothingBehind) {
  CompanyList({{1, "A", ""}});
  QTemporaryDir dir;  // scripts without the index script
  QDir().mkpath(dir.filePath("create"));
  QFile::copy(ProgramDir() + "create/create.sql", dir.filePath("create/create.sql"));
  TUniSQLDatabase db0;
  Configure(db0, "ZARN");
  db0.Connect();
  try {
    CreateCompany(db0, "B", "", dir.path() + "/", [](CompanyStep) {});
    FAIL() << "no error";
  } catch (const EStepFailed& e) {
    EXPECT_EQ(e.Step(), "CREATE INDEX ");
  }
  EXPECT_EQ(Value("ZARN", "select count(*) from CEGEK"), "1");
  EXPECT_EQ(
      Value("information_schema", "select count(*) from SCHEMATA where SCHEMA_NAME='ZARNDAT002'"),
      "0");
}

TEST_F(CompanyDatabases, SelectCompanySwitchesAllOrNothing) {
  CreateFirst();
  const QString ini = m_userDir.filePath("ZARN.INI");
  Globals().DataAlias = "ZARNDAT001";
  TUniSQLDatabase db1;
  Configure(db1, "ZARNDAT001");
  db1.Connect();
  EXPECT_THROW(SelectCompanyDatabase(db1, "7", ini), Exception);  // no such database
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT001");
  EXPECT_TRUE(db1.Connected());
  EXPECT_EQ(db1.Databasename(), "ZARNDAT001");
  EXPECT_FALSE(QFile::exists(ini));

  Exec("information_schema", "create database ZARNDAT007");
  SelectCompanyDatabase(db1, "7", ini);
  EXPECT_EQ(Globals().DataAlias, "ZARNDAT007");
  EXPECT_TRUE(db1.Connected());
  EXPECT_EQ(db1.Databasename(), "ZARNDAT007");
  EXPECT_EQ(LoadUserSettings(ini).DataAlias, "ZARNDAT007");
}

TEST_F(CompanyDatabases, TaxNumberIsCopiedFromTheCompanyRecord) {
  CreateFirst();
  Exec("ZARN", "update CEGEK set ADOSZ = ''");
  Exec("ZARNDAT001", "insert into CEG values ('A', ' 1234-5678 9', '', '')");
  TUniSQLDatabase db0, db1;
  Configure(db0, "ZARN");
  Configure(db1, "ZARNDAT001");
  SyncCompanyTaxNumber(db0, db1, false);
  EXPECT_EQ(Value("ZARN", "select ADOSZ from CEGEK where SORSZAM=1"), "123456789");

  Exec("ZARNDAT001", "update CEG set ADOSZAM = '99'");
  SyncCompanyTaxNumber(db0, db1, false);  // the list has one already
  EXPECT_EQ(Value("ZARN", "select ADOSZ from CEGEK where SORSZAM=1"), "123456789");
  Exec("ZARNDAT001", "update CEG set ADOSZAM = '9''9'");
  SyncCompanyTaxNumber(db0, db1, true);
  EXPECT_EQ(Value("ZARN", "select ADOSZ from CEGEK where SORSZAM=1"), "9'9");
  EXPECT_EQ(CleanTaxNumber("12345678-2 42"), "12345678242");
}

TEST_F(CompanyDatabases, DeleteDropsTheDatabaseAndTheRow) {
  CreateFirst();
  Exec("information_schema", "create database ZARNDAT002");
  Exec("ZARN", "insert into CEGEK values (2, 'B', '')");
  TUniSQLDatabase db0;
  Configure(db0, "ZARN");
  db0.Connect();
  DeleteCompany(db0, 2);
  EXPECT_EQ(Column("ZARN", "select SORSZAM from CEGEK"), QStringList{"1"});
  EXPECT_EQ(
      Value("information_schema", "select count(*) from SCHEMATA where SCHEMA_NAME='ZARNDAT002'"),
      "0");
  EXPECT_THROW(DeleteCompany(db0, 2), Exception);  // its database is gone: the row would stay
}
