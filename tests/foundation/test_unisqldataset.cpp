// The result dataset: column types, value conversion, navigation and its errors.
#include <gtest/gtest.h>

#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_query.h"

TEST(Unisqldataset, ColumnTypesGiveFieldsSizesAndNumbers) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec(
      "create table T (C char(8), V varchar(20), N numeric(14,2), D double, I int, B bigint, "
      "DT date, DTT datetime, X text, Y year, TM time)");
  t.Exec(
      "insert into T values ('ő', 'Árvíztűrő', 100.1, 0.1, -7, 9007199254740993, "
      "'2006-03-07', '2006-03-07 10:20:30', 'szöveg', 2024, '01:02:03')");
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  q.SetSQL("select * from T");
  q.Open();

  struct Expected {
    const char* name;
    TFieldType type;
    int size;
    int fieldNo;
  };
  const Expected expected[] = {
      {"C", ftString, 8, 1}, {"V", ftString, 20, 2},    {"N", ftFloat, 0, 3},
      {"D", ftFloat, 0, 4},  {"I", ftInteger, 0, 5},    {"B", ftInteger, 0, 6},
      {"DT", ftDate, 0, 7},  {"DTT", ftDateTime, 0, 8}, {"TM", ftTime, 0, 11},
  };
  ASSERT_EQ(q.FieldCount(), 9);  // TEXT and YEAR get no field
  for (int i = 0; i < 9; ++i) {
    const TField* f = q.Fields(i);
    EXPECT_EQ(f->FieldName(), expected[i].name);
    EXPECT_EQ(f->DataType(), expected[i].type) << expected[i].name;
    EXPECT_EQ(f->Size(), expected[i].size) << expected[i].name;
    EXPECT_EQ(f->FieldNo(), expected[i].fieldNo) << expected[i].name;
  }
  EXPECT_EQ(q.FieldByName("N")->DecimalScale(), 2);
  EXPECT_EQ(q.FieldByName("c")->AsString(), "ő");
  EXPECT_EQ(q.FieldByName("V")->AsString(), "Árvíztűrő");
  EXPECT_EQ(q.FieldByName("N")->AsFloat(), 100.1);
  EXPECT_EQ(q.FieldByName("D")->AsFloat(), 0.1);
  EXPECT_EQ(q.FieldByName("I")->AsInteger(), -7);
  EXPECT_EQ(q.FieldByName("B")->AsInteger(), Q_INT64_C(9007199254740993));
  EXPECT_EQ(q.FieldByName("DT")->AsDate(), QDate(2006, 3, 7));
  EXPECT_EQ(q.FieldByName("DT")->Text(), "2006.03.07");
  EXPECT_EQ(q.FieldByName("DTT")->AsDate(), QDate(2006, 3, 7));
  EXPECT_EQ(q.FieldByName("DTT")->AsDateTime().time(), QTime(10, 20, 30));
  EXPECT_EQ(q.FieldByName("TM")->AsString(), "01:02:03");
  q.Close();

  // SUM() of a DECIMAL comes back as NEWDECIMAL, COUNT() as a 64-bit integer.
  q.SetSQL("select sum(N) S, count(*) K, concat(V, '!') E from T");
  q.Open();
  EXPECT_EQ(q.FieldByName("S")->DataType(), ftFloat);
  EXPECT_EQ(q.FieldByName("S")->AsFloat(), 100.1);
  EXPECT_EQ(q.FieldByName("K")->DataType(), ftInteger);
  EXPECT_EQ(q.FieldByName("E")->AsString(), "Árvíztűrő!");
  EXPECT_EQ(q.FieldByName("E")->Size(), 21);
}

TEST(Unisqldataset, EmptyValuesAndNulls) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("set sql_mode=''");
  t.Exec("create table T (K int, DT date, DTT datetime, V varchar(10), I int, F double)");
  t.Exec(
      "insert into T values (1, NULL, NULL, NULL, NULL, NULL), (2, '0000-00-00', "
      "'0000-00-00 00:00:00', '', 0, 0), (3, '1900-01-01', '1900-01-01', 'x', 1, 1.5), "
      "(4, '', '', ' ', 2, 2), (5, '1900-01-02', '1899-12-30', 'y', 3, 3)");
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  q.SetSQL("select * from T order by K");
  q.Open();
  for (int k = 1; k <= 4; ++k, q.Next()) {
    SCOPED_TRACE(k);
    EXPECT_FALSE(q.FieldByName("DT")->AsDate().isValid());
    EXPECT_EQ(q.FieldByName("DT")->Text(), "");
  }
  EXPECT_EQ(q.FieldByName("DT")->AsDate(), QDate(1900, 1, 2));
  // Date-times have no lower limit: only a zero or missing value is empty.
  EXPECT_EQ(q.FieldByName("DTT")->AsDate(), QDate(1899, 12, 30));

  q.First();
  EXPECT_TRUE(q.FieldByName("V")->IsNull());
  EXPECT_FALSE(q.FieldByName("I")->IsNull());
  EXPECT_EQ(q.FieldByName("I")->AsInteger(), 0);
  EXPECT_EQ(q.FieldByName("F")->AsFloat(), 0);
  EXPECT_FALSE(q.FieldByName("DTT")->AsDateTime().isValid());
  q.Next();
  EXPECT_TRUE(q.FieldByName("V")->IsNull());  // an empty text is null too
  EXPECT_FALSE(q.FieldByName("I")->IsNull());
}

TEST(Unisqldataset, NavigationOverTheStoredResult) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int)");
  t.Exec("insert into T values (1),(2),(3),(4),(5)");
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  q.SetSQL("select K from T order by K");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 5);
  EXPECT_EQ(q.RecNo(), 1);
  q.SetRecNo(q.RecordCount());
  EXPECT_EQ(q.FieldByName("K")->AsInteger(), 5);
  q.SetRecNo(0);
  EXPECT_EQ(q.RecNo(), 5);
  q.SetRecNo(3);
  const TBookmark mark = q.GetBookmark();
  q.First();
  q.GotoBookmark(mark);
  EXPECT_EQ(q.FieldByName("K")->AsInteger(), 3);
  QList<qint64> back;
  for (q.Last(); !q.Bof(); q.Prior()) back << q.FieldByName("K")->AsInteger();
  EXPECT_EQ(back, QList<qint64>({5, 4, 3, 2, 1}));

  // Reopen reads the server again and comes back to the same row number.
  q.SetRecNo(4);
  t.Exec("delete from T where K=1");
  q.Reopen();
  EXPECT_EQ(q.RecordCount(), 4);
  EXPECT_EQ(q.RecNo(), 4);
  EXPECT_EQ(q.FieldByName("K")->AsInteger(), 5);

  EXPECT_FALSE(q.CanModify());
  EXPECT_THROW(q.Edit(), EDatabaseError);

  q.SetSQL("select K from T where K > 100");
  q.Close();
  q.Open();
  EXPECT_TRUE(q.IsEmpty());
  EXPECT_TRUE(q.Eof() && q.Bof());
  EXPECT_EQ(q.RecNo(), 0);
}

TEST(Unisqldataset, Errors) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int, U bigint unsigned)");
  t.Exec("insert into T values (1, 18446744073709551615)");
  TUniSQLQuery q;
  q.SetSQL("select K from T");
  try {
    q.Open();
    ADD_FAILURE() << "opened without a database";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Database not defined!");
  }
  EXPECT_THROW(q.ExecSQL(), EDatabaseError);

  q.SetDatabase(&t.Db());
  q.SetSQL("select NINCS from T");
  try {
    q.Open();
    ADD_FAILURE() << "opened a bad statement";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith("MySQL Error Unknown column 'NINCS'")) << e.what();
    EXPECT_EQ(e.Statement(), "select NINCS from T\r\n");
  }
  EXPECT_FALSE(q.Active());

  // A statement without rows runs through ExecSQL but cannot be opened.
  q.SetSQL("update T set K=2");
  EXPECT_THROW(q.Open(), EDatabaseError);
  EXPECT_FALSE(q.Active());
  EXPECT_NO_THROW(q.ExecSQL());
  // Rows that ExecSQL gets are read away, so the connection stays usable.
  q.SetSQL("select K from T");
  EXPECT_NO_THROW(q.ExecSQL());
  q.Open();
  EXPECT_EQ(q.FieldByName("K")->AsInteger(), 2);
  q.Close();

  q.SetSQL("select U from T");
  EXPECT_THROW(q.Open(), EConvertError);
  EXPECT_FALSE(q.Active());

  // The rows stay readable after the connection closes; a new read says why it cannot run.
  q.SetSQL("select K from T");
  q.Open();
  t.Db().Disconnect();
  EXPECT_EQ(q.FieldByName("K")->AsInteger(), 2);
  try {
    q.Reopen();
    ADD_FAILURE() << "reopened while disconnected";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Database not connected!");
  }
}
