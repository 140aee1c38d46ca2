// Benchmark, not a test: CSV and XML export and a find that runs to the end, over 2,000 and
// 20,000 rows of a table shown in the browser's grid, beside the client library fetching the
// same rows and a plain buffered write of their texts, and beside a walk reading the searched
// field. "csv+grid" is the CSV writer run under a live grid, which the browser avoids by
// detaching it. Run it with the ZARN_DB_* variables of a private server set.
#include <mysql.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>

#include "data_set_model.h"
#include "data_source.h"
#include "dataset_export.h"
#include "db_find.h"
#include "exceptions.h"
#include "form_db_browser.h"
#include "test_database.h"
#include "uni_sql_table.h"

namespace {

template <typename F>
double Best(F&& work) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    QElapsedTimer timer;
    timer.start();
    work();
    best = std::min(best, timer.nsecsElapsed() / 1e6);
  }
  return best;
}

// The client library's fetch of every row and a buffered write of its texts, ";" between.
void RawFetchAndWrite(MYSQL* handle, const std::string& file) {
  const QByteArray sql = "select * from ESZK order by KOD";
  if (mysql_real_query(handle, sql.constData(), sql.size()) != 0) RaiseMySqlError(handle);
  MYSQL_RES* res = mysql_store_result(handle);
  const unsigned int n = mysql_num_fields(res);
  std::ofstream out(file, std::ios::binary);
  while (MYSQL_ROW row = mysql_fetch_row(res)) {
    const unsigned long* len = mysql_fetch_lengths(res);
    for (unsigned int i = 0; i < n; ++i) {
      if (row[i]) out.write(row[i], std::streamsize(len[i]));
      out << ';';
    }
    out << "\r\n";
  }
  mysql_free_result(res);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  try {
    TestDatabase t(QStringLiteral("zbench"));
    if (!t.Ok()) return 1;
    t.Exec(
        "create table ESZK (KOD varchar(8) not null, NEV varchar(30) not null, "
        "ERTEK double not null, DATUM date not null, primary key (KOD))");
    QTemporaryDir dir;
    const std::string raw = dir.filePath("raw.txt").toStdString();
    std::printf("%6s %8s %8s %8s %8s %8s %8s %8s %8s %9s\n", "rows", "raw ms", "csv ms", "xml ms",
                "csv+grid", "walk ms", "find ms", "csv/raw", "xml/raw", "find/walk");
    for (int rows : {2000, 20000}) {
      t.Exec("delete from ESZK");
      t.Exec(QStringLiteral("insert into ESZK select lpad(seq, 8, '0'), "
                            "concat('Árvíztűrő gép ', seq), seq * 1.25, "
                            "date_add('2000-01-01', interval seq % 5000 day) from seq_1_to_%1")
                 .arg(rows));
      TUniSQLTable table;
      table.SetDatabase(&t.Db());
      table.SetTablename("ESZK");
      table.SetIndexFields("KOD");
      table.Open();
      table.FieldByName("ERTEK")->SetCurrency(true);
      TDataSource source;
      source.SetDataSet(&table);
      TFormDBBrowser browser;
      browser.DataSource = &source;
      browser.SplitWindow = false;
      browser.FormActivate();
      browser.show();
      QApplication::processEvents();
      auto* model = static_cast<TDataSetModel*>(browser.DBGrid->model());
      TField* nev = table.FieldByName("NEV");

      // The export as the browser runs it: the grid detached while the rows are written.
      auto detached = [&](auto&& work) {
        return Best([&] {
          model->SetDataSource(nullptr);
          work();
          model->SetDataSource(&source);
        });
      };
      const double rawMs = Best([&] { RawFetchAndWrite(t.Db().Handle(), raw); });
      const double csvMs =
          detached([&] { ExportCSV(&table, dir.filePath("a.csv"), u';', true, true); });
      const double xmlMs =
          detached([&] { ExportXML(&table, dir.filePath("a.xml"), true, "Lista"); });
      const double attachedMs =
          Best([&] { ExportCSV(&table, dir.filePath("a.csv"), u';', true, true); });
      qint64 sum = 0;
      const double walkMs = detached([&] {
        for (table.First(); !table.Eof(); table.Next()) sum += nev->AsString().size();
      });
      const double findMs = detached([&] {  // as the browser's find runs it
        table.First();
        if (FindInDataSet(&table, nev->Index(), "nincs", TFindDirection::Forward, true))
          std::printf("unexpected match\n");
      });
      std::printf("%6d %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.2f %8.2f %9.2f\n", rows, rawMs, csvMs,
                  xmlMs, attachedMs, walkMs, findMs, csvMs / rawMs, xmlMs / rawMs, findMs / walkMs);
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
