#include <gtest/gtest.h>

#include "company_data.h"
#include "exceptions.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

QDate D(const char* text) { return QDate::fromString(QString::fromLatin1(text), "yyyy.MM.dd"); }

TEST(CompanyData, PeriodRowChecksReportEveryFailingRowInOrder) {
  struct Case {
    std::vector<TPrecisionPeriod> rows;
    QStringList errors;
  };
  const Case cases[] = {
      {{{D("2005.01.01"), D("2005.06.30"), "N"}, {D("2005.07.01"), D("2005.12.31"), "H"}}, {}},
      {{{D("2005.01.01"), D("2005.06.30"), "N"}, {D("2005.07.02"), D("2005.12.31"), "N"}},
       {"Hibás dátum sorrend a 2.sorban"}},
      {{{D("2005.12.31"), D("2005.01.01"), "N"}}, {"Hibás dátum viszonyok a 1.sorban"}},
      {{{D("2005.01.01"), QDate(), "N"}}, {"Hibás dátum viszonyok a 1.sorban"}},
      {{{D("2005.01.01"), D("2005.06.30"), "N"}, {}, {D("2005.07.01"), D("2005.12.31"), "N"}},
       {"Hibás dátum sorrend a 3.sorban"}},
      {{{QDate(), D("2005.06.30"), "N"}}, {"Az első dátum nem megfelelő a 1.sorban"}},
      // Every failing row is reported, each check in its turn.
      {{{D("2005.12.31"), D("2005.01.01"), "N"},
        {QDate(), D("2006.01.01"), "N"},
        {D("2007.01.01"), D("2007.12.31"), "N"}},
       {"Hibás dátum viszonyok a 1.sorban", "Az első dátum nem megfelelő a 2.sorban",
        "Hibás dátum sorrend a 3.sorban"}},
  };
  for (const Case& c : cases) EXPECT_EQ(PeriodDateErrors(c.rows), c.errors);
}

TEST(CompanyData, CodesAreUpperCasedAndAnEmptyOneTakesTheCodeAbove) {
  std::vector<TPrecisionPeriod> rows{{D("2005.01.01"), D("2005.03.31"), "n"},
                                     {D("2005.04.01"), D("2005.06.30"), ""},
                                     {D("2005.07.01"), D("2005.12.31"), "h"},
                                     {}};
  EXPECT_TRUE(NormalizePeriodCodes(rows));
  EXPECT_EQ(rows[0].Code, "N");
  EXPECT_EQ(rows[1].Code, "N");
  EXPECT_EQ(rows[2].Code, "H");
  EXPECT_TRUE(rows[3].Empty());  // an empty row stays empty

  std::vector<TPrecisionPeriod> first{{D("2005.01.01"), D("2005.12.31"), " "}};
  EXPECT_TRUE(NormalizePeriodCodes(first));
  EXPECT_EQ(first[0].Code, "N");
  std::vector<TPrecisionPeriod> bad{{D("2005.01.01"), D("2005.12.31"), "x"}};
  EXPECT_FALSE(NormalizePeriodCodes(bad));
}

class CompanyDataDb : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
  }
  QString Periods() { return Rows("SELECT PDATUM1, PDATUM2, PONTOS FROM PONTOSOK ORDER BY 1"); }
  QString Rows(const QString& sql) {
    TUniSQLQuery q;
    q.SetDatabase(&db.Db());
    q.SetSQL(sql);
    q.Open();
    QStringList rows;
    for (q.First(); !q.Eof(); q.Next()) {
      QStringList values;
      for (int i = 0; i < q.FieldCount(); ++i)
        values << (q.Fields(i)->DataType() == ftDate ? q.Fields(i)->AsDate().toString("yyyy-MM-dd")
                                                     : q.Fields(i)->AsString());
      rows << values.join('/');
    }
    return rows.join('|');
  }
  TestDatabase db;
};

TEST_F(CompanyDataDb, DefaultPeriodOnlyIntoAnEmptyTable) {
  EnsureDefaultPeriod(db.Db());
  EnsureDefaultPeriod(db.Db());
  EXPECT_EQ(Periods(), "2000-01-01/2100-01-01/N");
}

TEST_F(CompanyDataDb, CompanyRowAndPeriodsAreSavedAsOnePieceOfWork) {
  db.Exec("INSERT INTO CEG (CEGNEV, ADOSZAM) VALUES ('Régi Kft.', '1')");
  db.Exec("INSERT INTO PONTOSOK VALUES ('2000-01-01', '2100-01-01', 'N')");
  TUniSQLTable ceg;
  ceg.SetDatabase(&db.Db());
  ceg.SetTablename("CEG");
  ceg.Open();
  EditCompanyRow(ceg);
  ceg.FieldByName("CEGNEV")->SetAsString("Új Kft.");
  const std::vector<TPrecisionPeriod> periods{
      {D("2005.01.01"), D("2005.06.30"), "H"}, {}, {D("2005.07.01"), D("2005.12.31"), "4"}};

  // The server refuses the periods: the company row and the periods stay as they were.
  db.Exec(
      "CREATE TRIGGER PONTOSOK_TILT BEFORE INSERT ON PONTOSOK FOR EACH ROW "
      "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'tiltva'");
  EXPECT_THROW(SaveCompanyData(ceg, periods), Exception);
  EXPECT_EQ(Rows("SELECT CEGNEV FROM CEG"), "Régi Kft.");
  EXPECT_EQ(Periods(), "2000-01-01/2100-01-01/N");
  EXPECT_EQ(ceg.State(), dsEdit);
  EXPECT_EQ(ceg.FieldByName("CEGNEV")->AsString(), "Új Kft.");

  db.Exec("DROP TRIGGER PONTOSOK_TILT");
  SaveCompanyData(ceg, periods);
  EXPECT_EQ(Rows("SELECT CEGNEV FROM CEG"), "Új Kft.");
  EXPECT_EQ(Periods(), "2005-01-01/2005-06-30/H|2005-07-01/2005-12-31/4");
}

}  // namespace
