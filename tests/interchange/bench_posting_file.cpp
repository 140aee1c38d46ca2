// Times the posting file for 10,000 assets (a write-off and an activation each) beside the same
// lines written with a plain buffered stream after the same queries. Not a test: run it by hand
// against the private server (ZARN_DB_* in the environment, ZARN_SOURCE_DIR for the scripts).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "format_settings.h"
#include "posting_fixture.h"
#include "uni_sql_query.h"

namespace {

void Generate(TestDatabase& db, int assets) {
  QStringList masters, items;
  auto flush = [&] {
    if (masters.isEmpty()) return;
    db.Exec(
        "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, FKSZECSKLTG, FKSZSZAMECS, FKSZSZAM, "
        "FKSZAKTEL, KOLTSHELY) VALUES " +
        masters.join(','));
    db.Exec("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, SZOVEG, ECSNSZ, NETTOSZ) VALUES " +
            items.join(','));
    masters.clear();
    items.clear();
  };
  for (int a = 1; a <= assets; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
    masters << QStringLiteral("('%1', 'Eszköz %1', '571', '1319', '1311', '161', 'K%2')")
                   .arg(key)
                   .arg(a % 7);
    items << QStringLiteral("('%1', '2005-12-31', '4', 'ÉCS LEIRÁS', %2, 0)").arg(key).arg(a * 10.5)
          << QStringLiteral("('%1', '2005-%2-15', '2', 'Aktiválás', 0, %3)")
                 .arg(key)
                 .arg(a % 12 + 1, 2, 10, QChar('0'))
                 .arg(a * 1000);
    if (a % 1000 == 0) flush();
  }
  flush();
}

// The same queries, the same lines, a std::ofstream.
void PlainStream(TestDatabase& db, const PostingRequest& r) {
  std::ofstream out(r.FileName.toStdString(), std::ios::binary);
  auto line = [&](const QString& text) { out << text.toStdString() << "\r\n"; };
  auto entry = [&](const QString& v, const QString& t, const QString& k, const QString& msz,
                   const QString& text) {
    line("");
    line("  <VTETEL HUF=\"" + v + "\" DEV=\"" + v + "\" ");
    line("   T=\"" + t + "\" K=\"" + k + "\"");
    line("   MSZ=\"" + msz + "\"");
    line("   SZOVEG=\"" + text + "\" ");
    line("   LIKVBIZ=\"\">");
    line("  </VTETEL>");
  };
  line("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>");
  line("<FELADAS>");
  line("<CEG NEV=\"" + r.CegNev + "\" ADOSZ=\"" + r.Adoszam + "\"></CEG>");
  TUniSQLQuery q;
  q.SetDatabase(&db.Db());
  q.SetSQL(
      QStringList{"select F.LELTSZAM, F.MEGNEV, F.FKSZECSKLTG, F.FKSZSZAMECS, T.DATUM, "
                  "T.TIPUS, T.ECSNSZ, T.ECSCSSZ, T.SZOVEG, T.BIZSZAM, F.KOLTSHELY",
                  "from KARTFEJ F, KARTTET T where F.LELTSZAM = T.LELTSZAM",
                  "and T.DATUM  >= '2005-01-01' and T.DATUM  <= '2005-12-31'",
                  "and T.TIPUS = '4' and abs(T.ECSNSZ - T.ECSCSSZ) > 0",
                  "and F.FKSZSZAMECS <> 'N' and F.FKSZECSKLTG <> 'N' order by F.LELTSZAM"});
  q.Open();
  line("<VEGYES BIZSZAM=\"ECS\" ...");
  for (q.First(); !q.Eof(); q.Next())
    entry(FloatToStr(q.FieldByName("ECSNSZ")->AsFloat() - q.FieldByName("ECSCSSZ")->AsFloat()),
          q.FieldByName("FKSZECSKLTG")->AsString(), q.FieldByName("FKSZSZAMECS")->AsString(),
          q.FieldByName("KOLTSHELY")->AsString(),
          q.FieldByName("SZOVEG")->AsString().trimmed() +
              " Lsz:" + q.FieldByName("LELTSZAM")->AsString());
  line("</VEGYES>");
  q.Close();
  q.SetSQL(
      QStringList{"select F.LELTSZAM, F.MEGNEV, F.FKSZECSKLTG, F.FKSZSZAMECS, T.DATUM, "
                  "T.TIPUS, T.SZOVEG, T.BIZSZAM, F.KOLTSHELY, F.FKSZSZAM, F.FKSZAKTEL, "
                  "F.AKTKELT, T.NETTOSZ",
                  "from KARTFEJ F, KARTTET T where F.LELTSZAM = T.LELTSZAM",
                  "and T.DATUM  >= '2005-01-01' and T.DATUM  <= '2005-12-31'",
                  "and T.TIPUS = '2' and F.FKSZSZAM <> 'N'",
                  "and (F.FKSZAKTEL <> 'N'  or F.FKSZAKTEL is NULL) order by T.DATUM, F.LELTSZAM"});
  q.Open();
  QDate previous;
  for (q.First(); !q.Eof(); q.Next()) {
    const QDate d = q.FieldByName("DATUM")->AsDate();
    if (d != previous) {
      if (previous.isValid()) line("</VEGYES>");
      line("");
      line("<VEGYES BIZSZAM=\"AKT" + d.toString("yyMMdd") + "\" ...");
      previous = d;
    }
    entry(FloatToStr(q.FieldByName("NETTOSZ")->AsFloat()), q.FieldByName("FKSZSZAM")->AsString(),
          q.FieldByName("FKSZAKTEL")->AsString(), q.FieldByName("KOLTSHELY")->AsString(),
          "Aktiválás Lsz:" + q.FieldByName("LELTSZAM")->AsString());
  }
  if (previous.isValid()) line("</VEGYES>");
  line("</FELADAS>");
}

TEST(Benchmark, PostingFile) {
  const int assets = 10000;
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  Generate(db, assets);
  QTemporaryDir dir;
  PostingRequest r = PostingRequest2005(dir.filePath("posting.xml"));
  double posting = 1e9, plain = 1e9;
  for (int round = 0; round < 3; ++round) {
    QElapsedTimer timer;
    r.FileName = dir.filePath("posting.xml");
    timer.start();
    WritePostingFile(db.Db(), r);
    posting = std::min(posting, timer.elapsed() / 1000.0);
    r.FileName = dir.filePath("plain.xml");
    timer.restart();
    PlainStream(db, r);
    plain = std::min(plain, timer.elapsed() / 1000.0);
  }
  std::printf(
      "posting file, %d assets (a write-off and an activation each): %.3f s; "
      "plain buffered stream after the same queries: %.3f s (%.2fx)\n",
      assets, posting, plain, posting / plain);
}

}  // namespace
