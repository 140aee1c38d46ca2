#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <iostream>
#include <random>

#include "codepage.h"
#include "csv_import.h"
#include "import_test_util.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "xml_asset_import.h"

// Mutated fixture files through both importers: each run ends in success or a message, and a
// refused run leaves every table as it was. ZARN_FUZZ_RUNS sets the runs per importer.

namespace {

int Runs() {
  bool ok = false;
  const int n = qEnvironmentVariableIntValue("ZARN_FUZZ_RUNS", &ok);
  return ok && n > 0 ? n : 1000;
}

class Mutator {
 public:
  explicit Mutator(unsigned seed) : m_random(seed) {}

  QByteArray Mutate(QByteArray bytes) {
    const int steps = 1 + Below(4);
    for (int i = 0; i < steps && !bytes.isEmpty(); ++i) {
      const qsizetype at = Below(int(bytes.size()));
      switch (Below(5)) {
        case 0:
          bytes[at] = char(bytes[at] ^ (1 << Below(8)));
          break;  // a bit flipped
        case 1:
          bytes.truncate(at);
          break;   // cut
        case 2: {  // a piece doubled
          const qsizetype len = qMin<qsizetype>(1 + Below(200), bytes.size() - at);
          bytes.insert(at, bytes.mid(at, len));
          break;
        }
        case 3: {  // characters that matter to the readers inserted
          static const char special[] = "\";\r\n<>/&=,.-0123456789 \t\xEF\xBB\xBF\x8a\xa0";
          const int n = 1 + Below(6);
          for (int k = 0; k < n; ++k) bytes.insert(at, special[Below(sizeof special - 1)]);
          break;
        }
        case 4:  // now and then a line of a megabyte
          if (Below(40) == 0) bytes.insert(at, QByteArray(1 << 20, char('1' + Below(3) * 30)));
          break;
      }
    }
    return bytes;
  }

 private:
  int Below(int n) { return n <= 1 ? 0 : int(m_random() % unsigned(n)); }
  std::mt19937 m_random;
};

class ImportFuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    ASSERT_TRUE(dir.isValid());
  }
  TestDatabase db;
  QTemporaryDir dir;
};

TEST_F(ImportFuzz, CsvImportSucceedsOrRefusesWithoutChange) {
  const QByteArray kartfej = FromUnicode(
      QString::fromUtf8(
          "00012;\"Esztergagép; nagy\";\"Csepel\";\"E-400\";\"GY-123\";2005.03.15;T;1200000;0;10;"
          "2005-04-01;1900-01-01;1900-01-01;1311;1319;571;1.00;K1;7;161;\"C:\\ADAT "
          "\"\"régi\"\"\"\r\n"
          "00013;\"Fúrógép\";\"\";\"\";\"\";2006.01.02;T;50000;0;5;2006-01-02;1900-01-01;"
          "1900-01-01;N;N;N;1.00;;3;;\"\"\r\n"),
      CodePage::Cp1250);
  const QByteArray kulcsok = "00012;2005;14.5;14.5\r\n00012;2006;14.5;14.5\r\n00013;2006;33;33\r\n";
  Mutator mutator(20261210);
  int done = 0, refused = 0;
  for (int run = 0; run < Runs(); ++run) {
    WriteFileBytes(dir.filePath(QStringLiteral("KARTFEJ.CSV")), mutator.Mutate(kartfej));
    WriteFileBytes(dir.filePath(QStringLiteral("KULCSOK.CSV")), mutator.Mutate(kulcsok));
    const QString before = CompanyChecksums(db);
    ScriptedUi ui;
    CsvImportOptions options;
    options.dir = dir.path();
    options.stepMessages = false;
    const CsvImportResult result = CsvImport(db.Db()).Run(
        {{QStringLiteral("KARTFEJ"), true, true}, {QStringLiteral("KULCSOK"), true, true}},
        options);
    if (result == CsvImportResult::Done) {
      ++done;
      EXPECT_TRUE(ui.Calls().isEmpty()) << "run " << run;
    } else {
      ++refused;
      ASSERT_EQ(result, CsvImportResult::Refused) << "run " << run;
      ASSERT_EQ(ui.Calls().size(), 1) << "run " << run;
      EXPECT_TRUE(ui.Calls()[0].text().endsWith(QStringLiteral("Az adatok nem változtak.")));
      ASSERT_EQ(CompanyChecksums(db), before)
          << "run " << run << ": " << ui.Calls()[0].text().toStdString();
    }
  }
  std::cout << "CSV: " << done << " loaded, " << refused << " refused\n";
  EXPECT_GT(done, 0);
  EXPECT_GT(refused, 0);
}

TEST_F(ImportFuzz, XmlImportSucceedsOrRefusesWithoutChange) {
  const QString asset = QStringLiteral(
      "<ESZKOZ LELTSZAM=\"%1\" NEV=\"Esztergagép\" GYARTO=\"Gépker &amp; Tsa\" TIPUS=\"E-400\" "
      "BESZERZES=\"05.03.22\" BESZERZESIAR=\"1 200 000,00\" ECSSTART=\"05.04.01\" ELADAS=\"%2\" "
      "SELEJTEZES=\"\" AMORTIP=\"1\" KULCS=\"14,50\">\r\n"
      "<ESEMENY DATUM=\"2005.03.22\" BIZSZAM=\"SZ-101\" ECS=\"0,00\"/>\r\n"
      "<ESEMENY DATUM=\"2006.12.31\" BIZSZAM=\"SZ-202\" ECS=\"217 500,00\"/>\r\n"
      "<BESZERTEK>1 200 000,00</BESZERTEK>\r\n<OSZZERTNOV>300 000,00</OSZZERTNOV>\r\n"
      "<ELOZOEVECS>130 500,00</ELOZOEVECS>\r\n<TARGYEVECS>217 500,00</TARGYEVECS>\r\n"
      "<NETTO/>\r\n</ESZKOZ>\r\n");
  const QByteArray base =
      FromUnicode(QStringLiteral("<?xml version=\"1.0\"?>\r\n<ESZKOZOK>\r\n") +
                      asset.arg("00012", "") + asset.arg("00013", "07.06.30") +
                      asset.arg("00014", "") + QStringLiteral("</ESZKOZOK>\r\n"),
                  CodePage::Cp852);
  const QString path = dir.filePath(QStringLiteral("e.xml"));
  Mutator mutator(1210);
  int done = 0, refused = 0;
  for (int run = 0; run < Runs(); ++run) {
    WriteFileBytes(path, mutator.Mutate(base));
    const QString before = CompanyChecksums(db);
    try {
      ImportXmlAssets(db.Db(), path);
      ++done;
    } catch (const EXmlRefused& e) {
      ++refused;
      EXPECT_TRUE(e.Message().endsWith(QStringLiteral("Az adatok nem változtak.")));
      ASSERT_EQ(CompanyChecksums(db), before) << "run " << run << ": " << e.what();
    } catch (const Exception& e) {
      FAIL() << "run " << run << ": " << e.what();
    }
  }
  std::cout << "XML: " << done << " imported, " << refused << " refused\n";
  EXPECT_GT(done, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
