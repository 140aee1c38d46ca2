#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <cstring>

#include "balance_recalc.h"
#include "codepage.h"
#include "import_test_util.h"
#include "other_workstation.h"
#include "test_database.h"
#include "test_util.h"
#include "xml_asset_import.h"

namespace {

// An ESZKOZ element with the given attributes and inner elements.
QString Asset(const QString& attributes, const QString& inner) {
  return QStringLiteral("<ESZKOZ ") + attributes + QStringLiteral(">\r\n") + inner +
         QStringLiteral("</ESZKOZ>\r\n");
}

const QString kExampleAsset =
    Asset(QStringLiteral(
              "LELTSZAM=\"00012\" NEV=\"Esztergagép\" GYARTO=\"Gépker &amp; Tsa\" "
              "TIPUS=\"E-400\" BESZERZES=\"05.03.22\" BESZERZESIAR=\"1 200 000,00\" "
              "ECSSTART=\"05.04.01\" ELADAS=\"\" SELEJTEZES=\"\" AMORTIP=\"1\" KULCS=\"14,50\""),
          QStringLiteral("<ESEMENY DATUM=\"2005.03.22\" BIZSZAM=\"SZ-101\" ECS=\"0,00\"/>\r\n"
                         "<ESEMENY DATUM=\"2006.12.31\" BIZSZAM=\"SZ-202\" ECS=\"217 500,00\"/>\r\n"
                         "<BESZERTEK>1 200 000,00</BESZERTEK>\r\n"
                         "<OSZZERTNOV>300 000,00</OSZZERTNOV>\r\n"
                         "<ELOZOEVECS>130 500,00</ELOZOEVECS>\r\n"
                         "<TARGYEVECS>217 500,00</TARGYEVECS>\r\n"
                         "<NETTO/>\r\n"));

QByteArray File(const QString& assets) {
  return FromUnicode(
      QStringLiteral("<?xml version=\"1.0\" encoding=\"IBM852\"?>\r\n<ESZKOZOK>\r\n") + assets +
          QStringLiteral("</ESZKOZOK>\r\n"),
      CodePage::Cp852);
}

class XmlImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    ASSERT_TRUE(dir.isValid());
  }
  int Import(const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("eszkoz.xml"));
    WriteFileBytes(path, bytes);
    return ImportXmlAssets(db.Db(), path);
  }
  QStringList Items(const QString& number) {
    return Rows(db, QStringLiteral("select TIPUS, DATUM, BIZSZAM, BRUTTO, ECS, ECSSZ, NETTO, "
                                   "NETTOSZ, SORSZAM from KARTTET where LELTSZAM = '%1' "
                                   "order by SORSZAM")
                        .arg(number));
  }

  TestDatabase db;
  QTemporaryDir dir;
};

TEST_F(XmlImportTest, ExampleAssetGetsItsMasterRatesAndHistory) {
  EXPECT_EQ(Import(File(kExampleAsset)), 1);
  EXPECT_EQ(
      Rows(db, QStringLiteral("select LELTSZAM, MEGNEV, GYARTO, TIPUS, BESZKELT, TI, "
                              "BESZERTEK, AKTKELT, ELADAS, MENNYISEG, ELHASZNA from KARTFEJ")),
      QStringList{QStringLiteral("00012|Esztergagép|Gépker & Tsa|E-400|2005.03.22|T|1200000|"
                                 "2005.04.01||1|7")});
  EXPECT_EQ(Rows(db, QStringLiteral("select min(EV), max(EV), count(*), min(KULCS), max(KULCSSZ) "
                                    "from KULCSOK where LELTSZAM = '00012'")),
            QStringList{QStringLiteral("2005|2014|10|14.5|14.5")});
  EXPECT_EQ(Items(QStringLiteral("00012")),
            (QStringList{"0|2005.03.22|SZ-101|1200000|0|0|0|0|0",
                         "2|2005.04.01||1200000|0|0|1200000|1200000|1",
                         "3|2005.04.01|SZ-202|1500000|0|0|1500000|1500000|2",
                         "4|2006.12.31||1500000|130500|130500|1369500|1369500|3",
                         "4|2006.12.31||1500000|348000|348000|1152000|1152000|4"}));
}

TEST_F(XmlImportTest, ReimportReplacesEveryRowOfTheAsset) {
  db.Exec(QStringLiteral(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00012', 'régi'), ('00013', 'marad');"
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, ECSNOV) VALUES ('00012', '2007-12-31', '4', 5),"
      " ('00013', '2007-12-31', '4', 5);"
      "INSERT INTO KULCSOK VALUES ('00012', 2030, 1, 1), ('00013', 2030, 1, 1);"
      "INSERT INTO SZAMITAS (ECSDATUM, LELTSZAM) VALUES ('2007-12-31', '00012'), "
      "('2007-12-31', '00013')"));
  EXPECT_EQ(Import(File(kExampleAsset)), 1);
  EXPECT_EQ(Items(QStringLiteral("00012")).size(), 5);
  EXPECT_EQ(db.Value(QStringLiteral(
                "select count(*) from KULCSOK where LELTSZAM = '00012' and EV = 2030")),
            "0");
  EXPECT_EQ(db.Value(QStringLiteral("select count(*) from SZAMITAS where LELTSZAM = '00012'")),
            "0");
  EXPECT_EQ(db.Value(QStringLiteral("select MEGNEV from KARTFEJ where LELTSZAM = '00012'")),
            QStringLiteral("Esztergagép"));
  // The other asset keeps everything.
  EXPECT_EQ(
      db.Value(QStringLiteral("select (select count(*) from KARTTET where LELTSZAM = '00013') + "
                              "(select count(*) from KULCSOK where LELTSZAM = '00013') + "
                              "(select count(*) from SZAMITAS where LELTSZAM = '00013')")),
      "3");
}

// Another workstation posts an item while the import runs: its table locks, queued once the
// import holds the cards, wait for the import's end, and neither is ended as a deadlock.
TEST_F(XmlImportTest, AnItemPostQueuedDuringTheImportWaitsForIt) {
  db.Exec(QStringLiteral(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00012', 'régi'), ('00099', 'más');"
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS) VALUES ('00012', '2007-12-31', '4')"));
  PostQueuedInTheMiddle post(
      db, QStringLiteral("SELECT * FROM KARTTET WHERE LELTSZAM = '00012' FOR UPDATE"),
      QStringLiteral("00099"));
  EXPECT_EQ(Import(File(kExampleAsset)), 1);
  EXPECT_EQ(post.Outcome().toStdString(), "");
  EXPECT_EQ(Items(QStringLiteral("00012")).size(), 5);
  EXPECT_EQ(db.Value(QStringLiteral("select count(*) from KARTTET where LELTSZAM = '00099'")), "1");
}

TEST_F(XmlImportTest, SaleAndScrappingDatesSurviveTheRecalculation) {
  const QString base = QStringLiteral(
      "NEV=\"Gép\" BESZERZES=\"05.03.22\" BESZERZESIAR=\"1 000,00\" ECSSTART=\"05.04.01\" "
      "AMORTIP=\"1\" KULCS=\"20\"");
  const QString inner = QStringLiteral(
      "<ESEMENY DATUM=\"2006.12.31\" BIZSZAM=\"\" ECS=\"200,00\"/>\r\n"
      "<BESZERTEK>1 000,00</BESZERTEK><TARGYEVECS>200,00</TARGYEVECS><NETTO/>\r\n");
  EXPECT_EQ(
      Import(File(Asset(QStringLiteral("LELTSZAM=\"1\" ELADAS=\"07.06.30\" ") + base, inner) +
                  Asset(QStringLiteral("LELTSZAM=\"2\" SELEJTEZES=\"07.06.30\" ") + base, inner))),
      2);
  RecalcAllBalances(db.Db());
  EXPECT_EQ(Rows(db, QStringLiteral("select LELTSZAM, ELADAS, SLEJTEZ from KARTFEJ order by 1")),
            (QStringList{"1|2007.06.30|", "2||2007.06.30"}));
  EXPECT_EQ(Items(QStringLiteral("1")).last(), QStringLiteral("6|2007.06.30||0|0|0|0|0|3"));
  EXPECT_EQ(Items(QStringLiteral("2")).last(), QStringLiteral("5|2007.06.30||0|0|0|0|0|3"));
  EXPECT_EQ(db.Value(QStringLiteral("select sum(MENNYISEG) from KARTTET where LELTSZAM = '1'")),
            "0");
}

TEST_F(XmlImportTest, EdgeCasesOfTheSource) {
  const struct {
    const char* what;
    const char* attributes;
    const char* inner;
    const char* master;  // BESZKELT|ELHASZNA|first year|rate
    int items;
  } cases[] = {
      {"last century", "BESZERZES=\"98.11.30\" KULCS=\"8\"", "<NETTO/>", "1998.11.30|12|1998|8", 1},
      {"in one sum", "BESZERZES=\"05.01.10\" AMORTIP=\"4\" KULCS=\"33\"", "<NETTO/>",
       "2005.01.10|1|2005|-1", 1},
      {"no rate", "BESZERZES=\"05.01.10\"", "<NETTO/>", "2005.01.10|5|2005|0", 1},
      {"a depreciation of 0 written without decimals dates the write-off",
       "BESZERZES=\"05.01.10\" ECSSTART=\"05.01.10\" KULCS=\"50\"",
       "<ESEMENY DATUM=\"2005.12.31\" ECS=\"0\"/><ELOZOEVECS>10,00</ELOZOEVECS><NETTO></NETTO>",
       "2005.01.10|2|2005|50", 3},
      {"no NETTO: no items", "BESZERZES=\"05.01.10\"", "<BESZERTEK>5</BESZERTEK>",
       "2005.01.10|5|2005|0", 0},
      {"two-letter model, attribute names as whole words",
       "XLELTSZAM=\"9\" BESZERZES=\"05.01.10\" TIPUS=\"AB\" XKULCS=\"1\" KULCS=\"25\"", "<NETTO/>",
       "2005.01.10|4|2005|25", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    db.Exec(QStringLiteral("DELETE FROM KARTFEJ; DELETE FROM KARTTET; DELETE FROM KULCSOK"));
    EXPECT_EQ(Import(File(Asset(QStringLiteral("LELTSZAM=\"7\" ") + QString::fromUtf8(c.attributes),
                                QString::fromUtf8(c.inner)))),
              1);
    EXPECT_EQ(
        Rows(db, QStringLiteral("select BESZKELT, ELHASZNA, min(EV), min(KULCS) from "
                                "KARTFEJ, KULCSOK where KARTFEJ.LELTSZAM = '7' group by 1, 2")),
        QStringList{QString::fromUtf8(c.master)});
    EXPECT_EQ(Items(QStringLiteral("7")).size(), c.items);
  }
}

// A ">" inside a quoted value belongs to the value: the attributes after it are read.
TEST_F(XmlImportTest, GreaterThanInsideAValueEndsNoTag) {
  EXPECT_EQ(Import(File(Asset(QStringLiteral("LELTSZAM=\"31\" NEV=\"Motor >5 kW\" "
                                             "GYARTO=\"Ganz > Láng\" BESZERZES=\"05.01.10\" "
                                             "BESZERZESIAR=\"250 000,00\" KULCS=\"20\""),
                              QStringLiteral("<NETTO/>")))),
            1);
  EXPECT_EQ(Rows(db, QStringLiteral("select MEGNEV, GYARTO, BESZERTEK, ELHASZNA from KARTFEJ")),
            QStringList{QStringLiteral("Motor >5 kW|Ganz > Láng|250000|5")});
  EXPECT_EQ(Rows(db, QStringLiteral("select distinct KULCS from KULCSOK")), QStringList{"20"});
}

TEST_F(XmlImportTest, RefusedFilesChangeNothing) {
  ASSERT_EQ(Import(File(kExampleAsset)), 1);
  const QString before = CompanyChecksums(db);
  const QString good =
      Asset(QStringLiteral("LELTSZAM=\"99\" BESZERZES=\"05.01.10\""), QStringLiteral("<NETTO/>"));
  auto one = [](const QString& attributes, const QString& inner) {
    return Asset(QStringLiteral("LELTSZAM=\"00077\" BESZERZES=\"05.03.22\" ") + attributes, inner);
  };
  const QString big(70 * 1024, QChar('1'));
  const QByteArray utf8Head = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<ESZKOZOK>\r\n";
  QByteArray withNul = File(one(QStringLiteral("NEV=\"G#p\""), QString()));
  withNul.replace("G#p", QByteArray("G\0p", 3));
  const struct {
    const char* what;
    QString assets;
    QString message;        // the start of the first line
    QByteArray bytes = {};  // the file, when not the assets in code page 852
  } cases[] = {
      {"open tag", good + QStringLiteral("<ESZKOZ LELTSZAM=\"1\"\r\n"),
       QStringLiteral("Hibás XML fájl (5. sor): lezáratlan tag")},
      {"tag over 64 KiB", good + QStringLiteral("<ESZKOZ NEV=\"") + big + "\">",
       QStringLiteral("Hibás XML fájl (5. sor): 64 KiB-nál hosszabb tag")},
      {"text over 64 KiB", one(QString(), QStringLiteral("<BESZERTEK>") + big + "</BESZERTEK>"),
       QStringLiteral("Hibás XML fájl (4. sor): 64 KiB-nál hosszabb szöveg")},
      {"data outside ESZKOZ", good + QStringLiteral("<BESZERTEK>5</BESZERTEK>"),
       QStringLiteral("Hibás XML fájl (5. sor): eszköz adat ESZKOZ elemen kívül: <BESZERTEK>")},
      {"second NETTO", good + one(QString(), QStringLiteral("<NETTO/>\r\n<NETTO/>\r\n")),
       QStringLiteral("Hibás XML fájl (7. sor): második NETTO az eszközben")},
      {"inventory number",
       Asset(QStringLiteral("LELTSZAM=\"12a\" BESZERZES=\"05.03.22\""), QString()),
       QStringLiteral("Hibás adat (3. sor, leltári szám: 12a): LELTSZAM=\"12a\"")},
      {"number too long", Asset(QStringLiteral("LELTSZAM=\"123456789012345678901\""), QString()),
       QStringLiteral("Hibás adat (3. sor, leltári szám: 123456789012345678901): LELTSZAM=")},
      {"no date", good + Asset(QStringLiteral("LELTSZAM=\"5\" BESZERZES=\"05.13.45\""), QString()),
       QStringLiteral("Hibás adat (5. sor, leltári szám: 5): BESZERZES=\"2005.13.45\"")},
      {"no number", one(QStringLiteral("BESZERZESIAR=\"sok\""), QString()),
       QStringLiteral("Hibás adat (3. sor, leltári szám: 00077): BESZERZESIAR=\"sok\"")},
      {"sum no number", one(QString(), QStringLiteral("\r\n<OSZZERTNOV>12x</OSZZERTNOV>")),
       QStringLiteral("Hibás adat (5. sor, leltári szám: 00077): OSZZERTNOV=\"12x\"")},
      {"too long", one(QStringLiteral("NEV=\"") + QString(61, QChar(u'é')) + "\"", QString()),
       QStringLiteral("Hibás adat (3. sor, leltári szám: 00077): NEV=")},
      {"document too long",
       one(QString(),
           QStringLiteral("<ESEMENY DATUM=\"2005.03.22\" BIZSZAM=\"123456789012345678901\"/>")),
       QStringLiteral("Hibás adat (4. sor, leltári szám: 00077): BIZSZAM=")},
      {"life over 99", one(QStringLiteral("KULCS=\"0,50\""), QString()),
       QStringLiteral("Hibás adat (3. sor, leltári szám: 00077): KULCS=\"0.50\"")},
      {"negative rate", one(QStringLiteral("KULCS=\"-12,00\""), QString()),
       QStringLiteral("Hibás adat (3. sor, leltári szám: 00077): KULCS=\"-12.00\"")},
      {"increase without date",
       one(QString(), QStringLiteral("<OSZZERTNOV>5,00</OSZZERTNOV><NETTO/>")),
       QStringLiteral("Hibás adat (4. sor, leltári szám: 00077): OSZZERTNOV=\"5.00\"")},
      {"write-off without date",
       one(QStringLiteral("ECSSTART=\"05.04.01\""),
           QStringLiteral("<TARGYEVECS>5,00</TARGYEVECS><NETTO/>")),
       QStringLiteral("Hibás adat (4. sor, leltári szám: 00077): TARGYEVECS=\"5.00\"")},
      {"sale before another item",
       one(QStringLiteral("ECSSTART=\"05.04.01\" ELADAS=\"05.03.30\""), QStringLiteral("<NETTO/>")),
       QStringLiteral("Hibás adat (3. sor, leltári szám: 00077): ELADAS=\"2005.03.30\"")},
      {"one number twice", good + one(QString(), QString()) + good,
       QStringLiteral("Hibás adat (7. sor, leltári szám: 99): kétszer szerepel a fájlban")},
      {"not UTF-8 after the mark",
       {},
       QStringLiteral("Hibás XML fájl (4. sor): érvénytelen UTF-8 bájt"),
       utf8Head + "<ESZKOZ LELTSZAM=\"5\" BESZERZES=\"05.01.10\">\r\n<ESZKOZ LELTSZAM=\"6\" "
                  "NEV=\"G\xE9p\" BESZERZES=\"05.01.10\">\r\n</ESZKOZOK>\r\n"},
      {"UTF-8 cut off at the end",
       {},
       QStringLiteral("Hibás XML fájl (3. sor): érvénytelen UTF-8 bájt"),
       utf8Head + "<ESZKOZ LELTSZAM=\"5\" BESZERZES=\"05.01.10\"/>\xC5"},
      {"NUL byte", {}, QStringLiteral("Hibás XML fájl (3. sor): NUL bájt"), withNul},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QByteArray bytes = c.bytes.isEmpty() ? File(c.assets) : c.bytes;
    if (c.message.contains(QStringLiteral("lezáratlan")))
      bytes.chop(int(strlen("</ESZKOZOK>\r\n")));
    try {
      Import(bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EXmlRefused& e) {
      const QStringList lines = e.Message().split('\n');
      ASSERT_EQ(lines.size(), 2) << e.what();
      EXPECT_TRUE(lines[0].startsWith(c.message)) << e.what();
      EXPECT_EQ(lines[1], QStringLiteral("Az adatok nem változtak."));
    }
    EXPECT_EQ(CompanyChecksums(db), before);
  }
}

TEST(XmlReading, HelpersTakeTagsNamesAttributesAndValues) {
  const struct {
    const char* in;
    XmlValueKind kind;
    const char* out;
  } values[] = {
      {" 1 234,50 ", XmlValueKind::Amount, "1234.50"},
      {"-12,00", XmlValueKind::Amount, "-12.00"},
      {"14,5", XmlValueKind::Amount, "14,5"},
      {"1 200 000", XmlValueKind::Amount, "1200000"},
      {"05.03.22", XmlValueKind::Date, "2005.03.22"},
      {"49.12.31", XmlValueKind::Date, "2049.12.31"},
      {"50.01.01", XmlValueKind::Date, "1950.01.01"},
      {"05.03.22", XmlValueKind::Text, "05.03.22"},
      {"12,34", XmlValueKind::Text, "12,34"},
      {" AB ", XmlValueKind::Text, "AB"},
  };
  for (const auto& v : values)
    EXPECT_EQ(XmlNormalizeValue(QString::fromUtf8(v.in), v.kind), QString::fromUtf8(v.out)) << v.in;

  EXPECT_EQ(XmlElementName(QStringLiteral("<NETTO/>")), QStringLiteral("NETTO"));
  EXPECT_EQ(XmlElementName(QStringLiteral("<ESZKOZ\tLELTSZAM=\"1\">")), QStringLiteral("ESZKOZ"));
  EXPECT_EQ(XmlElementName(QStringLiteral("</ESZKOZ>")), QStringLiteral("/ESZKOZ"));
  EXPECT_EQ(XmlElementName(QStringLiteral("<?xml version=\"1.0\"?>")), QStringLiteral("?xml"));

  const QString tag =
      QStringLiteral("<ESZKOZ AKULCS=\"1\" KULCS = '2' NEV=\"a &lt;b&gt; &#337;\">");
  EXPECT_EQ(XmlAttributeValue(tag, QStringLiteral("KULCS")), QStringLiteral("2"));
  EXPECT_EQ(XmlAttributeValue(tag, QStringLiteral("NEV")), QStringLiteral("a <b> ő"));
  EXPECT_EQ(XmlAttributeValue(tag, QStringLiteral("TIPUS")), QString());
  EXPECT_EQ(XmlDecodeEntities(QStringLiteral("A &amp; B &unknown; &")),
            QStringLiteral("A & B &unknown; &"));

  // The rest text streams over chunks and counts lines; a UTF-8 mark selects UTF-8.
  QByteArray bytes = "\xEF\xBB\xBF<A>\n\n <B x=\"\xC5\x91\">  text &amp; more </B>";
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  XmlRestText rest(buffer);
  EXPECT_EQ(rest.XmlTagText(), QStringLiteral("<A>"));
  EXPECT_EQ(rest.XmlTagText(), QStringLiteral("<B x=\"ő\">"));
  EXPECT_EQ(rest.TagLine(), 3);
  EXPECT_EQ(rest.XmlElementText(), QStringLiteral("text & more"));
  EXPECT_EQ(rest.XmlTagText(), QStringLiteral("</B>"));
  EXPECT_EQ(rest.XmlTagText(), QString());

  // Quotes open a value only after "=": a quote elsewhere keeps no ">" from ending the tag.
  QByteArray quoted = "<A B = \"1 > 2\" C='>' D=\"'\">x<!-- it\"s -->";
  QBuffer quotedBuffer(&quoted);
  quotedBuffer.open(QIODevice::ReadOnly);
  XmlRestText quotedRest(quotedBuffer);
  const QString a = quotedRest.XmlTagText();
  EXPECT_EQ(a, QStringLiteral("<A B = \"1 > 2\" C='>' D=\"'\">"));
  EXPECT_EQ(XmlAttributeValue(a, QStringLiteral("C")), QStringLiteral(">"));
  EXPECT_EQ(quotedRest.XmlTagText(), QStringLiteral("<!-- it\"s -->"));
}

}  // namespace
