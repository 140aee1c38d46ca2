#include <gtest/gtest.h>

#include "db_filter_condition.h"
#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_table.h"

namespace {

// KARTFEJ of a company database: MEGNEV VARCHAR(60), BESZKELT DATE, ELHASZN INT,
// KOLTSHELY CHAR(8), BESZERTEK DOUBLE.
class FilterCondition : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    table.SetDatabase(&db.Db());
    table.SetTablename(QStringLiteral("KARTFEJ"));
    table.Open();
  }
  const TField* F(const char* name) { return table.FieldByName(QString::fromLatin1(name)); }
  QString Build(const std::vector<TFilterEntry>& entries, QString* description = nullptr) {
    return BuildFilterConditions(
        entries, [this](const QString& t) { return db.Db().EscapeString(t); }, description);
  }

  TestDatabase db;
  TUniSQLTable table;
};

TEST_F(FilterCondition, ConditionsByTypeAfterTheTablesOwnFilter) {
  QString description;
  const QString conditions = Build({{F("MEGNEV"), "kov"},
                                    {F("BESZKELT"), "2024.01.31"},
                                    {F("ELHASZN"), "5"},
                                    {F("KOLTSHELY"), "k1"}},
                                   &description);
  EXPECT_EQ(CombineFilter("ELADAS < '1901-01-01' and SLEJTEZ < '1901-01-01'", conditions),
            "(ELADAS < '1901-01-01' and SLEJTEZ < '1901-01-01') AND UPPER(MEGNEV) LIKE 'KOV%' AND "
            "BESZKELT = '2024-01-31' AND ELHASZN = 5 AND UPPER(KOLTSHELY) = 'K1'");
  EXPECT_EQ(description, " MEGNEV = KOV, BESZKELT = 2024.01.31, ELHASZN = 5, KOLTSHELY = K1,");
  EXPECT_EQ(CombineFilter(QString(), conditions), conditions);
  EXPECT_EQ(CombineFilter("A = 1", QString()), "A = 1");
  EXPECT_EQ(Build({}), QString());
}

TEST_F(FilterCondition, UserTextCannotChangeTheStatement) {
  EXPECT_EQ(Build({{F("MEGNEV"), "o'k"}}), "UPPER(MEGNEV) LIKE 'O\\'K%'");
  // Upper-cased before escaping: an escaped line break stays \n, not the NULL of \N.
  EXPECT_EQ(Build({{F("KOLTSHELY"), "a\nb"}}), "UPPER(KOLTSHELY) = 'A\\nB'");
  EXPECT_EQ(Build({{F("BESZERTEK"), "1.5"}}), "BESZERTEK = 1.5");
  for (const char* bad : {"5 or 1=1", "5;", "x"})
    EXPECT_THROW(Build({{F("ELHASZN"), bad}}), EConvertError) << bad;
  EXPECT_THROW(Build({{F("BESZERTEK"), "1 or 1=1"}}), EConvertError);
  EXPECT_THROW(Build({{F("BESZKELT"), "2024.13.01"}}), EConvertError);
  // The condition runs: a quote in the text reads no rows and raises nothing.
  const QString quoted = Build({{F("MEGNEV"), "o'k"}});
  table.Close();
  table.SetFilter(quoted);
  table.SetFiltered(true);
  EXPECT_NO_THROW(table.Open());
  EXPECT_TRUE(table.IsEmpty());
}

TEST_F(FilterCondition, DistinctValuesWithinTheFilter) {
  EXPECT_EQ(DistinctValuesSQL("MEGNEV", "KARTFEJ", QString()),
            "select distinct MEGNEV from KARTFEJ order by 1");
  EXPECT_EQ(DistinctValuesSQL("MEGNEV", "KARTFEJ", "TI = 'T'"),
            "select distinct MEGNEV from KARTFEJ where TI = 'T' order by 1");
}

}  // namespace
