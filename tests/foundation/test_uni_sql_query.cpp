// The query: placeholders, splitting a script into statements, running it, the trace file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "exceptions.h"
#include "test_database.h"
#include "test_util.h"
#include "transaction.h"
#include "uni_sql_query.h"

TEST(UniSQLQuery, PlaceholdersMatchWholeNamesInOnePass) {
  struct Case {
    const char* sql;
    std::vector<std::pair<const char*, const char*>> params;  // in the order they are set
    const char* sent;                                         // without the closing CR LF
  };
  const Case cases[] = {
      {"select * from KARTFEJ where LELTSZAM=':PLELTSZAM'",
       {{"PLELTSZAM", "00012"}},
       "select * from KARTFEJ where LELTSZAM='00012'"},
      // Setting a name again in another case replaces its value.
      {"x=:PLELTSZAM", {{"pleltszam", "00012"}, {"PLELTSZAM", "00013"}}, "x=00013"},
      {"x=:pleltszam", {{"PLELTSZAM", "1"}}, "x=1"},
      // A name is never matched as the start of a longer one, whatever the order they are set.
      {":PDATUM :PDAT :PDAT1 :PDAT_X",
       {{"PDAT", "'2006-03-07'"}, {"PDATUM", "D"}},
       "D '2006-03-07' :PDAT1 :PDAT_X"},
      {":PDAT,:PDAT)", {{"PDAT", "1"}}, "1,1)"},
      // A value is inserted once and never searched again, also when it holds its own name.
      {"a=:PA and b=:PB", {{"PA", ":PA:PB"}, {"PB", "2"}}, "a=:PA:PB and b=2"},
      // Names never set stay; a piece of an identifier is filled in; quotes are no barrier.
      {"select * from WKARTFEJ:PGEP where x=:NINCS and s=':PGEP'",
       {{"PGEP", "07"}},
       "select * from WKARTFEJ07 where x=:NINCS and s='07'"},
      {"where :PSZURO order by 1", {{"PSZURO", "A=1 and B='x'"}}, "where A=1 and B='x' order by 1"},
      {"select '10:20:30', ':' from T", {{"PX", "1"}}, "select '10:20:30', ':' from T"},
  };
  for (const Case& c : cases) {
    TUniSQLQuery q;
    q.SetSQL(QString::fromUtf8(c.sql));
    for (const auto& [name, value] : c.params) q.SetParam(name, value);
    EXPECT_EQ(q.SubstitutedText(), QString::fromUtf8(c.sent) + "\r\n") << c.sql;
  }

  TUniSQLQuery q;
  q.SetSQL(QStringList{"select 1", "from T"});
  EXPECT_EQ(q.SubstitutedText(), "select 1\r\nfrom T\r\n");
}

TEST(UniSQLQuery, EscapedValuesSurviveTheRoundTrip) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int, S varchar(40))");
  const QString texts[] = {"Árvíztűrő tükörfúrógép", "O'Hara\\x", "'; drop table T; --", "\\",
                           "\"kettős\" ''"};
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  int k = 0;
  for (const QString& text : texts) {
    q.SetSQL("insert into T values (:PK, ':PS')");
    q.SetParam("PK", QString::number(++k));
    q.SetParamEscaped("PS", text);
    q.ExecSQL();
    q.SetSQL("select S from T where S=':PS'");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1) << text.toStdString();
    EXPECT_EQ(q.FieldByName("S")->AsString(), text);
    q.Close();
  }
  EXPECT_EQ(t.Value("select count(*) from T"), "5");

  // Escaping needs the connection's character set; without one it says so.
  TUniSQLQuery loose;
  loose.SetSQL("':PS'");
  loose.SetParamEscaped("PS", "x");
  try {
    loose.SubstitutedText();
    ADD_FAILURE() << "escaped without a database";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Database not defined!");
  }
}

TEST(UniSQLQuery, ScriptsSplitAtSemicolonsOutsideQuotesAndNames) {
  struct Case {
    const char* script;
    QStringList statements;
  };
  const Case cases[] = {
      {"flush tables;\r\nunlock tables;\r\n", {"flush tables", "unlock tables"}},
      {"DROP TABLE T\r\n;\r\nCREATE TABLE T (A int)\r\n;\r\n",
       {"DROP TABLE T", "CREATE TABLE T (A int)"}},
      {"insert into T values ('a;b', \"c;d\")", {"insert into T values ('a;b', \"c;d\")"}},
      // A quote of the other kind does not end a literal.
      {"select 'a\";b'; select \"c';d\"", {"select 'a\";b'", "select \"c';d\""}},
      // Backslash escapes and doubled quotes stay inside the literal.
      {"select 'x\\';y'; select 'it''s;'", {"select 'x\\';y'", "select 'it''s;'"}},
      {"select 'x\\\\'; select 2", {"select 'x\\\\'", "select 2"}},
      {"select `a;b` from T; select 2", {"select `a;b` from T", "select 2"}},
      // Empty statements are not sent.
      {" ; ;;select 1;; \r\n", {"select 1"}},
      {"", {}},
      // Comments may hold semicolons; a piece of comments only is no statement.
      {"-- a;b\nselect 1; # c;d\n; /* e;f */ select 2", {"-- a;b\nselect 1", "/* e;f */ select 2"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitSQLStatements(QString::fromUtf8(c.script)), c.statements) << c.script;
}

TEST(UniSQLQuery, ScriptStopsAtTheFirstFailingStatement) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  q.SetSQL(
      "create table A (X varchar(5));\r\ninsert into NINCS values (1);\r\ncreate table B (X int);");
  try {
    q.ExecSQL();
    ADD_FAILURE() << "the script ran through";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith("MySQL Error Table")) << e.what();
    EXPECT_EQ(e.Statement(), "insert into NINCS values (1)");
    EXPECT_EQ(e.Code(), 1146u);  // no such table
  }
  EXPECT_EQ(t.Value("select count(*) from information_schema.tables where table_schema=database()"),
            "1");
  EXPECT_EQ(
      t.Value("select table_name from information_schema.tables where table_schema=database()"),
      "A");

  // A ";" inside a value runs as one statement; the opened text goes to the server unsplit.
  q.SetSQL("insert into A values (';x;');");
  q.ExecSQL();
  EXPECT_EQ(t.Value("select X from A"), ";x;");
  q.SetSQL("select X from A;");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 1);
}

TEST(UniSQLQuery, TheCreationScriptsRunThroughTheSplitter) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.RunScript("create/create.sql");
  t.RunScript("create/creind.sql");
  t.RunScript("create/dropind.sql");
  EXPECT_EQ(t.Value("select count(*) from KARTFEJ"), "0");
}

TEST(UniSQLQuery, TraceFileWhileTesztIniExists) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  QTemporaryDir dir;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  q.SetSQL("select 'ő' X");
  q.Open();
  q.Close();
  EXPECT_FALSE(QFile::exists("teszt.sql"));

  WriteFileBytes(dir.filePath("teszt.ini"), {});
  q.Open();
  q.Close();
  EXPECT_EQ(ReadFileBytes(dir.filePath("teszt.sql")), "select '\xF5' X\r\n");  // Windows-1250
  q.SetSQL("create table T (A int);\r\ninsert into T values (1);");
  q.ExecSQL();
  EXPECT_EQ(ReadFileBytes(dir.filePath("teszt.sql")), "insert into T values (1)\r\n");
  QDir::setCurrent(before);
}

TEST(UniSQLQuery, DateToSQL) {
  EXPECT_EQ(DateToSQL(QDate(2006, 3, 7)), "'2006-03-07'");
  EXPECT_EQ(DateToSQL(QDate(905, 3, 1)), "'0905-03-01'");
  EXPECT_EQ(DateToSQL(QDate()), "'1900-01-01'");
}

TEST(Transaction, RollsBackUnlessCommittedAndLocksAreReleased) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (A int) engine=InnoDB");
  t.Exec("create table U (A int)");
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  try {
    TTransaction work(t.Db());
    q.SetSQL("insert into T values (1)");
    q.ExecSQL();
    q.SetSQL("insert into NINCS values (1)");
    q.ExecSQL();
    work.Commit();
  } catch (const EDatabaseError&) {
  }
  EXPECT_EQ(t.Value("select count(*) from T"), "0");
  {
    TTransaction work(t.Db());
    q.SetSQL("insert into T values (2)");
    q.ExecSQL();
    work.Commit();
  }
  EXPECT_EQ(t.Value("select count(*) from T"), "1");

  // A guard inside another joins it: its Commit leaves the decision to the outer one.
  try {
    TTransaction outer(t.Db());
    {
      TTransaction inner(t.Db());
      EXPECT_FALSE(inner.Open());
      q.SetSQL("insert into T values (3)");
      q.ExecSQL();
      inner.Commit();
    }
    q.SetSQL("insert into NINCS values (1)");
    q.ExecSQL();
    outer.Commit();
  } catch (const EDatabaseError&) {
  }
  EXPECT_EQ(t.Value("select count(*) from T"), "1");

  try {
    TTableLock lock(t.Db(), "T WRITE");
    // While locked, a table outside the lock cannot be read.
    q.SetSQL("select * from U");
    q.ExecSQL();
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().contains("LOCK TABLES")) << e.what();
  }
  EXPECT_EQ(t.Value("select count(*) from U"), "0");
}

TEST(Transaction, NamedTablesAreHeldFromTheStartWithoutARow) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table A (X int) engine=InnoDB; create table B (X int) engine=InnoDB");
  const auto other = t.Connect();
  RunStatements(*other, "set session lock_wait_timeout = 1");
  const auto lockB = [&]() -> unsigned int {
    try {
      TTableLock lock(*other, "B WRITE");
      return 0;
    } catch (const EDatabaseError& e) {
      return e.Code();
    }
  };
  {
    TTransaction work(t.Db(), "A, B");
    EXPECT_EQ(lockB(), 1205u);  // lock wait timeout
    // The rows are free for the others' own statements.
    RunStatements(*other, "insert into B values (1)");
    work.Commit();
  }
  EXPECT_EQ(lockB(), 0u);
  {
    TTransaction work(t.Db());
    EXPECT_EQ(lockB(), 0u);
  }
}
