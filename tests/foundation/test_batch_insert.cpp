// Multi-row INSERTs: every value as written, statements sent at their row or size limit.
#include <gtest/gtest.h>

#include "batch_insert.h"
#include "exceptions.h"
#include "test_database.h"

namespace {

const char* const kCount = "select count(*) from T";

}  // namespace

TEST(BatchInsert, ValuesGoInAsWritten) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int, S varchar(40), D double, N bigint, DT date, X varchar(10))");
  const QString texts[] = {"Árvíztűrő tükörfúrógép", "O'Hara\\x", "'; drop table T; --", "\\",
                           "\"kettős\" '' ;"};
  {
    TBatchInsert batch(t.Db(), "insert into T values ");
    int k = 0;
    for (const QString& text : texts)
      batch.Row()
          .Integer(++k)
          .Text(text)
          .Number(0.1 + 0.2)
          .Integer(-9007199254740993)
          .Date({})
          .Sql(u"NULL");
    batch.Row()
        .Integer(++k)
        .Text("")
        .Number(-1e-7)
        .Integer(0)
        .Date(QDate(2024, 2, 29))
        .Sql(u"'nyers'");
    batch.Flush();
  }
  QStringList expected;
  for (const QString& text : texts)
    expected << text + "|0.30000000000000004|-9007199254740993|1900-01-01|NULL";
  expected << "|-0.0000001|0|2024-02-29|nyers";
  EXPECT_EQ(Rows(t,
                 "select S, cast(D as char), N, cast(DT as char), coalesce(X, 'NULL') from T "
                 "order by K"),
            expected);
}

TEST(BatchInsert, SendsAtTheRowOrSizeLimitAndWhenFlushed) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("create table T (K int primary key, S varchar(400))");
  {
    TBatchInsert batch(t.Db(), "insert into T values ", 2);
    batch.Row().Integer(1).Text("a");
    batch.Row().Integer(2).Text("b");
    EXPECT_EQ(t.Value(kCount), "0");
    batch.Row().Integer(3).Text("c");  // the full statement goes before the third row
    EXPECT_EQ(t.Value(kCount), "2");
    batch.Flush();
    EXPECT_EQ(t.Value(kCount), "3");
    batch.Flush();  // nothing left: no statement
  }
  {
    TBatchInsert batch(t.Db(), "insert into T values ", 100, 300);
    batch.Row().Integer(10).Text(QString(150, 'x'));
    batch.Row().Integer(11).Text(QString(150, 'y'));
    EXPECT_EQ(t.Value(kCount), "3");
    batch.Row().Integer(12).Text("z");  // past 300 characters
    EXPECT_EQ(t.Value(kCount), "5");
    // Rows never flushed are never sent.
  }
  EXPECT_EQ(t.Value(kCount), "5");

  // A statement that fails raises, and its rows do not go again with the next one.
  TBatchInsert batch(t.Db(), "insert into T values ", 1);
  batch.Row().Integer(1).Text("again");
  EXPECT_THROW(batch.Row(), EDatabaseError);
  batch.Row().Integer(20).Text("d");
  batch.Flush();
  EXPECT_EQ(Rows(t, "select concat(K, S) from T where K in (1, 20) order by K"),
            QStringList({"1a", "20d"}));
}
