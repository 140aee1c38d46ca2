// The table dataset: reading with the generated SELECT and writing every change back.
#include <gtest/gtest.h>

#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

void OpenTable(TUniSQLTable& table, TUniSQLDatabase& db, const QString& name,
               const QString& order = {}) {
  table.SetDatabase(&db);
  table.SetTablename(name);
  table.SetIndexFields(order);
  table.Open();
}

}  // namespace

TEST(UniSQLTable, ValuesSurviveInsertUpdateAndSelect) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec(
      "create table T (NEV varchar(30), OSSZEG double, N numeric(14,2), D date, I int, "
      "DT datetime)");
  TUniSQLTable table;
  OpenTable(table, t.Db(), "T");
  EXPECT_TRUE(table.IsEmpty());
  table.Append();
  table.FieldByName("NEV")->SetAsString("Árvíztűrő tükörfúrógép");
  table.FieldByName("OSSZEG")->SetAsFloat(100.1 + 200.2);
  table.FieldByName("N")->SetAsFloat(100.1 + 200.2);
  table.FieldByName("D")->SetAsDate(QDate(2006, 3, 7));
  table.FieldByName("I")->SetAsInteger(5);
  table.FieldByName("DT")->SetAsDateTime(QDateTime(QDate(2006, 3, 7), QTime(10, 20, 30), Qt::UTC));
  table.Post();
  EXPECT_EQ(table.RecordCount(), 1);
  // A DECIMAL value is held as its column stores it.
  EXPECT_EQ(table.FieldByName("N")->AsFloat(), 300.3);
  EXPECT_EQ(t.Value("select count(*) from T where OSSZEG=100.1e0+200.2e0 and N=300.30 and "
                    "D='2006-03-07' and DT='2006-03-07 10:20:30' and NEV='Árvíztűrő tükörfúrógép'"),
            "1");

  // Edited again, the row is found by its exact values and changed on the server.
  table.Edit();
  table.FieldByName("I")->SetAsInteger(6);
  table.Post();
  table.Edit();
  table.FieldByName("NEV")->SetAsString("O'Hara\\x");
  table.Post();
  EXPECT_EQ(t.Value("select concat(I, '|', NEV) from T"), "6|O'Hara\\x");
  table.Edit();
  table.FieldByName("NEV")->SetAsString("Tűz ' \\ ''");
  table.FieldByName("OSSZEG")->SetAsFloat(0.1 + 0.2);
  table.Post();

  TUniSQLTable again;
  OpenTable(again, t.Db(), "T");
  EXPECT_EQ(again.FieldByName("NEV")->AsString(), "Tűz ' \\ ''");
  EXPECT_EQ(again.FieldByName("OSSZEG")->AsFloat(), 0.1 + 0.2);
  EXPECT_EQ(again.FieldByName("DT")->AsDateTime().time(), QTime(10, 20, 30));
  again.Delete();
  EXPECT_EQ(t.Value("select count(*) from T"), "0");
}

TEST(UniSQLTable, EmptyAndNullValuesAreMatchedAndWrittenEmpty) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("set sql_mode=''");
  t.Exec("create table T (K int, S varchar(10), D date, F double, I int)");
  t.Exec(
      "insert into T values (1, NULL, NULL, NULL, NULL), (2, '', '0000-00-00', 0, 0), "
      "(3, 'x', '1900-01-01', 0, 0)");
  TUniSQLTable table;
  OpenTable(table, t.Db(), "T", "K");
  for (int k = 1; k <= 3; ++k, table.Next()) {
    SCOPED_TRACE(k);
    table.Edit();
    table.FieldByName("I")->SetAsInteger(10 + k);
    ASSERT_NO_THROW(table.Post());
  }
  EXPECT_EQ(
      t.Value(
          "select cast(group_concat(concat(K, ':', D, ':', I) order by K) as char(200)) from T"),
      "1:1900-01-01:11,2:1900-01-01:12,3:1900-01-01:13");
  // An empty text is written as '', a number as 0.
  EXPECT_EQ(t.Value("select count(*) from T where S is NULL or F is NULL"), "0");
  table.First();
  table.Delete();
  EXPECT_EQ(t.Value("select count(*) from T"), "2");
}

TEST(UniSQLTable, OfIdenticalRowsOneIsChanged) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table KARTTET (LELTSZAM varchar(20), OSSZEG double)");
  t.Exec("insert into KARTTET values ('A', 1.5), ('A', 1.5), ('A', 1.5)");
  TUniSQLTable table;
  OpenTable(table, t.Db(), "KARTTET");
  table.Edit();
  table.FieldByName("OSSZEG")->SetAsFloat(2);
  table.Post();
  EXPECT_EQ(t.Value("select count(*) from KARTTET where OSSZEG=2"), "1");
  table.Last();
  table.Delete();
  EXPECT_EQ(t.Value("select count(*) from KARTTET"), "2");
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(t.Value("select count(*) from KARTTET where OSSZEG=1.5"), "1");
}

TEST(UniSQLTable, RowChangedElsewhereRaisesAndStaysEditing) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int, S varchar(10))");
  t.Exec("insert into T values (1, 'a'), (2, 'b')");
  TUniSQLTable table;
  OpenTable(table, t.Db(), "T", "K");
  auto other = t.Connect();
  TUniSQLQuery elsewhere;
  elsewhere.SetDatabase(other.get());
  elsewhere.SetSQL("update T set S='z' where K=1;\r\ndelete from T where K=2");
  elsewhere.ExecSQL();

  table.Edit();
  table.FieldByName("S")->SetAsString("mine");
  EXPECT_THROW(table.Post(), EDatabaseError);
  EXPECT_EQ(table.State(), dsEdit);
  EXPECT_EQ(table.FieldByName("S")->AsString(), "mine");
  table.Cancel();
  EXPECT_EQ(table.FieldByName("S")->AsString(), "a");
  table.Next();
  EXPECT_THROW(table.Delete(), EDatabaseError);
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(t.Value("select cast(group_concat(S order by K) as char(200)) from T"), "z");

  // A statement the server rejects leaves the insert open and the rows as they were.
  table.Append();
  table.FieldByName("S")->SetAsString("x");
  table.FieldByName("K")->SetAsInteger(3);
  t.Exec("alter table T add unique key (K)");
  t.Exec("insert into T values (3, 'y')");
  EXPECT_THROW(table.Post(), EDatabaseError);
  EXPECT_EQ(table.State(), dsInsert);
  EXPECT_EQ(table.RecordCount(), 2);
  table.Cancel();
  EXPECT_EQ(table.RecordCount(), 2);
}

TEST(UniSQLTable, ManyPostsEachReachTheServerOnce) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int, V int)");
  t.Exec("create table NAPLO (K int)");
  t.Exec("create trigger T_NAPLO after update on T for each row insert into NAPLO values (NEW.K)");
  QStringList values;
  for (int k = 1; k <= 120; ++k) values << QStringLiteral("(%1, 0)").arg(k);
  t.Exec("insert into T values " + values.join(','));

  TUniSQLTable table;
  OpenTable(table, t.Db(), "T");  // no ORDER BY: a new read could bring the rows in any order
  int posts = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    table.Edit();
    table.FieldByName("V")->SetAsInteger(table.FieldByName("K")->AsInteger() * 2);
    table.Post();
    ++posts;
  }
  EXPECT_EQ(posts, 120);
  EXPECT_EQ(table.RecordCount(), 120);
  EXPECT_EQ(t.Value("select count(*) from NAPLO"), "120");
  EXPECT_EQ(t.Value("select count(distinct K) from NAPLO"), "120");
  EXPECT_EQ(t.Value("select count(*) from T where V=2*K"), "120");
}

TEST(UniSQLTable, InsertedAndDeletedRowsShowWithoutANewRead) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int, S varchar(10))");
  t.Exec("insert into T values (1, 'a'), (2, 'b'), (3, 'c')");
  TUniSQLTable table;
  OpenTable(table, t.Db(), "T", "K");
  auto shown = [&table] {
    QStringList out;
    for (table.First(); !table.Eof(); table.Next()) out << table.FieldByName("S")->AsString();
    return out;
  };
  table.SetRecNo(2);
  table.Insert();
  table.FieldByName("S")->SetAsString("új");
  table.Post();
  EXPECT_EQ(table.RecNo(), 2);
  table.Append();
  table.FieldByName("S")->SetAsString("vég");
  table.FieldByName("K")->SetAsInteger(9);
  table.Post();
  EXPECT_EQ(shown(), QStringList({"a", "új", "b", "c", "vég"}));
  EXPECT_EQ(table.RecordCount(), 5);

  table.SetRecNo(3);
  table.Delete();
  EXPECT_EQ(table.FieldByName("S")->AsString(), "c");
  EXPECT_EQ(shown(), QStringList({"a", "új", "c", "vég"}));
  EXPECT_EQ(table.RecordCount(), 4);
  EXPECT_EQ(t.Value("select count(*) from T"), "4");

  // Reopen reads again, now in the table's order.
  table.Reopen();
  EXPECT_EQ(shown(), QStringList({"új", "a", "c", "vég"}));

  // Filter and order are used at the next open.
  table.Close();
  table.SetFilter("S<>'a'");
  table.SetFiltered(true);
  table.SetIndexFields("S desc");
  table.Open();
  EXPECT_EQ(shown(), QStringList({"vég", "új", "c"}));

  table.SetReadOnly(true);
  EXPECT_THROW(table.Edit(), EDatabaseError);
}

TEST(UniSQLTable, AutoIncFieldNumbersNewRowsUnderALock) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (SORSZAM int, S varchar(3), unique key (S))");
  t.Exec("create table U (A int)");
  TUniSQLTable table;
  table.SetAutoIncField("SORSZAM");
  OpenTable(table, t.Db(), "T");
  for (const char* s : {"a", "b"}) {
    table.Append();
    table.FieldByName("S")->SetAsString(s);
    table.Post();
  }
  EXPECT_EQ(table.FieldByName("SORSZAM")->AsInteger(), 2);
  EXPECT_EQ(t.Value("select cast(group_concat(SORSZAM order by S) as char(200)) from T"), "1,2");

  // A rejected insert releases the lock too: a table outside it can be read again.
  table.Append();
  table.FieldByName("S")->SetAsString("a");
  EXPECT_THROW(table.Post(), EDatabaseError);
  EXPECT_EQ(t.Value("select count(*) from U"), "0");
  table.Cancel();

  // Without a connection, using the table raises instead of crashing.
  t.Db().Disconnect();
  table.Edit();
  table.FieldByName("S")->SetAsString("c");
  try {
    table.Post();
    ADD_FAILURE() << "posted while disconnected";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Database not connected!");
  }
}
