// The table dataset: reading with the generated SELECT and writing every change back.
#include <gtest/gtest.h>

#include "exceptions.h"
#include "test_database.h"
#include "transaction.h"
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

namespace {

// Moves table to the row whose S is exactly text; false when there is none.
bool GoToExact(TUniSQLTable& table, const QString& text) {
  for (table.First(); !table.Eof(); table.Next())
    if (table.FieldByName("S")->AsString() == text) return true;
  return false;
}

}  // namespace

// Under the Hungarian collation these pairs compare equal; a change or a deletion must still
// hit the one row chosen, whichever of the two it is.
TEST(UniSQLTable, ChangeAndDeleteHitExactlyTheChosenRow) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  const struct {
    QString a, b;
  } pairs[] = {{"Kovács", "kovacs"}, {"Javítás", "javitas"}, {"a", "a "}, {"Ő", "ő"}};
  for (const auto& pair : pairs) {
    for (const QString& chosen : {pair.a, pair.b}) {
      const QString other = chosen == pair.a ? pair.b : pair.a;
      SCOPED_TRACE(("[" + chosen + "] beside [" + other + "]").toStdString());
      t.Exec("drop table if exists T");
      t.Exec("create table T (L varchar(10), S varchar(20), N int)");
      t.Exec("insert into T values ('00001', '" + pair.a + "', 1), ('00001', '" + pair.b + "', 1)");
      auto exact = [&t](const QString& s, const QString& rest) {
        return t.Value("select count(*) from T where binary S = binary '" + s + "'" + rest);
      };
      TUniSQLTable table;
      OpenTable(table, t.Db(), "T");
      ASSERT_TRUE(GoToExact(table, chosen));
      table.Edit();
      table.FieldByName("N")->SetAsInteger(555);
      table.Post();
      EXPECT_EQ(exact(chosen, " and N=555"), "1");
      EXPECT_EQ(exact(other, " and N=1"), "1");

      ASSERT_TRUE(GoToExact(table, chosen));
      table.Delete();
      EXPECT_EQ(t.Value("select count(*) from T"), "1");
      EXPECT_EQ(exact(other, " and N=1"), "1");
      EXPECT_TRUE(GoToExact(table, other));
      EXPECT_FALSE(GoToExact(table, chosen));
    }
  }

  // A CHAR column gives its value without the padding and is found by it.
  t.Exec("create table C (S char(5), N int)");
  t.Exec("insert into C values ('a', 1), ('A', 1)");
  TUniSQLTable chars;
  OpenTable(chars, t.Db(), "C");
  ASSERT_TRUE(GoToExact(chars, "A"));
  chars.Delete();
  EXPECT_EQ(t.Value("select cast(group_concat(S) as char(20)) from C"), "a");

  // A row that no longer matches exactly is one changed meanwhile.
  t.Exec("delete from T;\r\ninsert into T values ('00001', 'ö', 1)");
  TUniSQLTable table;
  OpenTable(table, t.Db(), "T");
  ASSERT_TRUE(GoToExact(table, "ö"));
  t.Exec("update T set S='Ö'");
  EXPECT_THROW(table.Delete(), EDatabaseError);
  EXPECT_EQ(t.Value("select count(*) from T"), "1");
}

TEST(UniSQLTable, NulBytesAndCharactersBeyondSixteenBitsRoundTrip) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (S varchar(10), N int)");
  const QString nul = QString("a") + QChar(0) + "b";
  const QString emoji = QString::fromUtf8("abcdefghi😀");  // ten characters, eleven UTF-16 units
  TUniSQLTable table;
  OpenTable(table, t.Db(), "T");
  for (const QString& s : {nul, emoji, QString::fromUtf8("😀😀😀😀😀")}) {
    table.Append();
    table.FieldByName("S")->SetAsString(s);
    table.FieldByName("N")->SetAsInteger(1);
    table.Post();
    EXPECT_EQ(table.FieldByName("S")->AsString(), s);
  }
  EXPECT_EQ(t.Value("select hex(S) from T where N=1 limit 1"), "610062");
  EXPECT_EQ(t.Value("select count(*) from T where S='abcdefghi😀'"), "1");
  EXPECT_EQ(t.Value("select count(*) from T where S='😀😀😀😀😀'"), "1");

  // Read again, each row is found by its exact value to be changed and deleted.
  table.Close();
  table.Open();
  for (const QString& s : {nul, emoji}) {
    ASSERT_TRUE(GoToExact(table, s));
    table.Edit();
    table.FieldByName("N")->SetAsInteger(2);
    table.Post();
  }
  EXPECT_EQ(t.Value("select count(*) from T where N=2"), "2");
  ASSERT_TRUE(GoToExact(table, nul));
  table.Delete();
  EXPECT_EQ(t.Value("select count(*) from T"), "2");

  // An over-long text is cut at a character boundary, never inside a pair.
  table.Append();
  table.FieldByName("S")->SetAsString(QString::fromUtf8("abcdefghi😀xyz"));
  EXPECT_EQ(table.FieldByName("S")->AsString(), emoji);
  table.FieldByName("S")->SetAsString(QString::fromUtf8("abcdefghij😀"));
  EXPECT_EQ(table.FieldByName("S")->AsString(), "abcdefghij");
  table.Post();
  EXPECT_EQ(t.Value("select count(*) from T where S='abcdefghij'"), "1");
}

// LOCK TABLES would commit an open transaction and release an outer lock.
TEST(UniSQLTable, AutoIncFieldKeepsAnOpenTransactionAndAnOuterLock) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (SORSZAM int, S varchar(3)) engine=InnoDB");
  t.Exec("insert into T values (4, 'x')");
  TUniSQLTable table;
  table.SetAutoIncField("SORSZAM");
  OpenTable(table, t.Db(), "T");
  {
    TTransaction transaction(t.Db());
    table.Append();
    table.FieldByName("S")->SetAsString("a");
    table.Post();
    EXPECT_EQ(table.FieldByName("SORSZAM")->AsInteger(), 5);
    transaction.Rollback();
  }
  EXPECT_EQ(t.Value("select count(*) from T"), "1");

  // The main form's lock, as its query sends it.
  TUniSQLQuery lock, unlock;
  lock.SetDatabase(&t.Db());
  lock.SetSQL(QStringList{"lock tables T write,", "U write;"});
  unlock.SetDatabase(&t.Db());
  unlock.SetSQL("unlock tables;");
  t.Exec("create table U (A int)");
  lock.ExecSQL();
  table.Append();
  table.FieldByName("S")->SetAsString("b");
  table.Post();
  EXPECT_EQ(table.FieldByName("SORSZAM")->AsInteger(), 5);
  auto other = t.Connect();
  TUniSQLQuery waiting;
  waiting.SetDatabase(other.get());
  waiting.SetSQL("set session lock_wait_timeout=1;\r\nselect count(*) from T");
  EXPECT_THROW(waiting.ExecSQL(), EDatabaseError) << "the outer lock was released";
  // The lock is still the caller's: U, locked with T, is still writable here.
  t.Exec("insert into U values (1)");
  unlock.ExecSQL();
  EXPECT_NO_THROW(waiting.ExecSQL());
  EXPECT_EQ(t.Value("select cast(group_concat(SORSZAM order by SORSZAM) as char(20)) from T"),
            "4,5");
}

// A CHAR column drops the trailing blanks of what it stores; the row the dataset keeps must be
// the stored one, or the next write-back would not find it. A VARCHAR keeps its blanks.
TEST(UniSQLTable, TextsEndingInABlankAreWrittenBackAgainAndAgain) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (C char(8), V varchar(8), N int)");
  TUniSQLTable table;
  OpenTable(table, t.Db(), "T");
  table.Append();
  table.FieldByName("C")->SetAsString("ab ");
  table.FieldByName("V")->SetAsString("ab ");
  table.FieldByName("N")->SetAsInteger(1);
  ASSERT_NO_THROW(table.Post());
  EXPECT_EQ(table.FieldByName("C")->AsString(), "ab");
  EXPECT_EQ(table.FieldByName("V")->AsString(), "ab ");
  for (const char* c : {"cd  ", "cd  ", " e "}) {
    SCOPED_TRACE(c);
    table.Edit();
    table.FieldByName("C")->SetAsString(c);
    table.FieldByName("N")->SetAsInteger(table.FieldByName("N")->AsInteger() + 1);
    ASSERT_NO_THROW(table.Post());
  }
  EXPECT_EQ(t.Value("select concat('[', C, '|', V, '|', N, ']') from T"), "[ e|ab |4]");
  EXPECT_EQ(table.FieldByName("C")->AsString(), " e");
  ASSERT_NO_THROW(table.Delete());
  EXPECT_EQ(t.Value("select count(*) from T"), "0");

  // Read from the server, the same row is found by what it reads.
  t.Exec("insert into T values ('x', 'y ', 1)");
  table.Reopen();
  table.Edit();
  table.FieldByName("C")->SetAsString("x ");
  ASSERT_NO_THROW(table.Post());
  table.Edit();
  table.FieldByName("N")->SetAsInteger(2);
  ASSERT_NO_THROW(table.Post());
  EXPECT_EQ(t.Value("select concat('[', C, '|', V, '|', N, ']') from T"), "[x|y |2]");
}

namespace {

// The rows the server's handlers have read on db's connection so far.
qint64 RowsRead(TestDatabase& db) {
  qint64 sum = 0;
  for (const QString& row : Rows(db, "show session status like 'Handler_read%'"))
    sum += row.section(u'|', 1).toLongLong();
  return sum;
}

}  // namespace

// An UPDATE or DELETE reads the rows of its key only: the plain comparison beside the exact one
// lets the index find the row, in a register of many items.
TEST(UniSQLTable, WriteBackReadsOnlyTheRowsOfItsKey) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.CreateCompanyTables();
  t.Exec("set session max_recursive_iterations = 100000");
  t.Exec(
      "insert into KARTTET (LELTSZAM, DATUM, TIPUS, SZOVEG, BRUTTO) "
      "with recursive s(n) as (select 0 union all select n + 1 from s where n < 23999) "
      "select lpad(n div 12, 5, '0'), '2000-01-31' + interval (n mod 12) month, "
      "if(n mod 12 = 0, '0', '4'), 'Írógép', n from s");
  t.Exec(
      "insert into KARTFEJ (LELTSZAM, MEGNEV) "
      "with recursive s(n) as (select 0 union all select n + 1 from s where n < 1999) "
      "select lpad(n, 5, '0'), 'Írógép' from s");
  t.Exec("analyze table KARTTET, KARTFEJ");

  TUniSQLTable items;
  items.SetDatabase(&t.Db());
  items.SetTablename("KARTTET");
  items.SetIndexFields("DATUM, TIPUS");
  items.SetFilter("LELTSZAM = '01234'");
  items.SetFiltered(true);
  items.Open();
  ASSERT_EQ(items.RecordCount(), 12);
  items.SetRecNo(5);
  items.Edit();
  items.FieldByName("SZOVEG")->SetAsString("ÉCS leírás");
  qint64 before = RowsRead(t);
  items.Post();
  EXPECT_LE(RowsRead(t) - before, 12) << "UPDATE";
  before = RowsRead(t);
  items.Delete();
  EXPECT_LE(RowsRead(t) - before, 12) << "DELETE";
  EXPECT_EQ(t.Value("select count(*) from KARTTET where LELTSZAM = '01234'"), "11");
  EXPECT_EQ(t.Value("select count(*) from KARTTET where SZOVEG = 'ÉCS leírás'"), "0");

  TUniSQLTable master;
  master.SetDatabase(&t.Db());
  master.SetTablename("KARTFEJ");
  master.SetFilter("LELTSZAM = '01234'");
  master.SetFiltered(true);
  master.Open();
  master.Edit();
  master.FieldByName("MEGJ1")->SetAsString("irodai gep ");
  before = RowsRead(t);
  master.Post();
  EXPECT_LE(RowsRead(t) - before, 2) << "UPDATE of the master";
}
