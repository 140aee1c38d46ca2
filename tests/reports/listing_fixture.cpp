#include "listing_fixture.h"

#include <gtest/gtest.h>

#include "balance_recalc.h"
#include "codepage.h"
#include "test_util.h"

ListingFixture::ListingFixture() {
  if (!db.Ok()) {
    ADD_FAILURE() << "no test server";
    return;
  }
  db.CreateCompanyTables();
  db.Exec("INSERT INTO CEG (CEGNEV) VALUES ('Próba Kft.')");
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, KOLTSHELY, FKSZSZAM, FKSZSZAMECS, FKSZECSKLTG, "
      "FKSZAKTEL, TI, BESZERTEK, ELHASZN, ELHASZNA) VALUES "
      "('00001', 'Eszterga', 'K01', '131', '139', '571', '161', 'T', 1200000, 5, '7'),"
      "('00002', 'Csőhajlító', 'K02', '141', '149', '571', '161', 'T', 450000, 3, '3'),"
      "('00003', 'Targonca', 'K02', '131', '139', '571', '161', 'T', 800000, 5, '5'),"
      "('00004', 'Fűrészgép', 'K01', '141', '149', '571', '161', 'T', 100000, 1, '1')");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTOCSOK, ECSNSZ, ECSCSSZ, "
      "ECSNOV, ECSCSOKK, MENNYISEG) VALUES "
      "('00001', '2022-03-01', '0', 1200000, 0, 0, 0, 0, 0, 1),"
      "('00001', '2022-03-01', '2', 0, 0, 0, 0, 0, 0, 0),"
      "('00001', '2022-12-31', '4', 0, 0, 200000, 0, 140000, 0, 0),"
      "('00001', '2023-12-31', '4', 0, 0, 240000, 0, 168000, 0, 0),"
      "('00002', '2023-02-10', '0', 450000, 0, 0, 0, 0, 0, 1),"
      "('00002', '2023-02-10', '2', 0, 0, 0, 0, 0, 0, 0),"
      "('00002', '2023-12-31', '4', 0, 0, 135000, 0, 150000, 0, 0),"
      "('00003', '2021-05-01', '0', 800000, 0, 0, 0, 0, 0, 1),"
      "('00003', '2021-05-01', '2', 0, 0, 0, 0, 0, 0, 0),"
      "('00003', '2021-12-31', '4', 0, 0, 100000, 0, 80000, 0, 0),"
      "('00003', '2022-12-31', '4', 0, 0, 160000, 0, 120000, 0, 0),"
      "('00003', '2023-06-29', '4', 0, 0, 80000, 0, 60000, 0, 0),"
      "('00003', '2023-06-30', '6', 0, 800000, 0, 340000, 0, 260000, -1),"
      "('00004', '2019-01-15', '0', 100000, 0, 0, 0, 0, 0, 1),"
      "('00004', '2019-01-15', '2', 0, 0, 0, 0, 0, 0, 0),"
      "('00004', '2019-12-31', '4', 0, 0, 100000, 0, 100000, 0, 0)");
  db.Exec(
      "INSERT INTO KULCSOK (LELTSZAM, EV, KULCS, KULCSSZ) VALUES ('00001', 2022, 14.5, 20), "
      "('00001', 2023, 14.5, 20), ('00004', 2019, -1, -1)");
  RecalcAllBalances(db.Db());
}

QString ListingFixture::Data(const QString& report) const {
  return ToUnicode(ReadFileBytes(UserDir() + report + ".xml"), CodePage::Cp1250);
}

QStringList ListingFixture::Values(const QString& report, const QString& field) const {
  QStringList out;
  const QString prefix = field + "=";
  for (const QString& line : Data(report).split("\r\n"))
    if (line.startsWith(prefix)) out << line.mid(prefix.size());
  return out;
}

QString ListingFixture::Pdf(const QString& report) const {
  return ReportPdfText(UserDir(), report);
}

void ListingFixture::ExpectGoldenFiles(const QString& report, const QString& golden) const {
  const QByteArray today = QDate::currentDate().toString("yyyy.MM.dd").toLatin1();
  for (const char* ext : {".xml", ".def", ".frm"}) {
    QByteArray bytes = ReadFileBytes(UserDir() + report + ext);
    bytes.replace(today, "TODAY");
    ExpectGolden(bytes, "reports/golden/listings/" + golden + ext);
  }
}
