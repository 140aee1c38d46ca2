// Benchmark, not a test: walks a 100,000-row, 18-column table through TUniSQLQuery and posts
// 10,000 edited rows through TUniSQLTable, each beside the client library running the same
// statements directly. Run it with the ZARN_DB_* variables of a private server set.
#include <mysql.h>

#include <QCoreApplication>
#include <QDate>
#include <charconv>
#include <cstdio>

#include "exceptions.h"
#include "format_settings.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

constexpr int kRows = 100000;
constexpr int kPosts = 10000;

// Reads every column of every row into a value, as a caller of the client library would.
qint64 RawWalk(MYSQL* handle) {
  const QByteArray sql = "select * from B\r\n";
  if (mysql_real_query(handle, sql.constData(), sql.size()) != 0) RaiseMySqlError(handle);
  MYSQL_RES* res = mysql_store_result(handle);
  const unsigned int n = mysql_num_fields(res);
  const MYSQL_FIELD* fields = mysql_fetch_fields(res);
  qint64 rows = 0, checksum = 0;
  while (MYSQL_ROW row = mysql_fetch_row(res)) {
    const unsigned long* len = mysql_fetch_lengths(res);
    for (unsigned int i = 0; i < n; ++i) {
      const char* v = row[i];
      if (!v) continue;
      switch (fields[i].type) {
        case MYSQL_TYPE_LONG: {
          long long x = 0;
          std::from_chars(v, v + len[i], x);
          checksum += x;
          break;
        }
        case MYSQL_TYPE_DOUBLE:
        case MYSQL_TYPE_NEWDECIMAL: {
          double x = 0;
          std::from_chars(v, v + len[i], x);
          checksum += static_cast<qint64>(x);
          break;
        }
        case MYSQL_TYPE_DATE:
          checksum += QDate(std::atoi(v), std::atoi(v + 5), std::atoi(v + 8)).day();
          break;
        default:
          checksum += QString::fromUtf8(v, static_cast<qsizetype>(len[i])).size();
      }
    }
    ++rows;
  }
  mysql_free_result(res);
  return rows + (checksum == 42 ? 1 : 0);
}

qint64 DataSetWalk(TUniSQLDatabase& db) {
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL("select * from B");
  q.Open();
  qint64 rows = 0, checksum = 0;
  for (; !q.Eof(); q.Next()) {
    for (int i = 0; i < q.FieldCount(); ++i) checksum += q.Fields(i)->Value().isValid();
    ++rows;
  }
  return rows + (checksum == 42 ? 1 : 0);
}

// The UPDATE that write-back sends for a row whose F1 goes up by one, built here from the
// raw row text the same way: every column in SET and in the condition.
void RawPosts(MYSQL* handle, int firstK) {
  // The table's own SELECT, as opening the table sends it.
  const QByteArray sql = "SELECT * FROM B\r\nORDER BY K";
  if (mysql_real_query(handle, sql.constData(), sql.size()) != 0) RaiseMySqlError(handle);
  MYSQL_RES* res = mysql_store_result(handle);
  const unsigned int n = mysql_num_fields(res);
  const MYSQL_FIELD* fields = mysql_fetch_fields(res);
  std::string escaped;
  mysql_data_seek(res, static_cast<my_ulonglong>(firstK - 1));
  for (int posted = 0; posted < kPosts; ++posted) {
    MYSQL_ROW row = mysql_fetch_row(res);
    const unsigned long* len = mysql_fetch_lengths(res);
    std::string set, where;
    for (unsigned int i = 0; i < n; ++i) {
      std::string value;
      if (fields[i].type == MYSQL_TYPE_VAR_STRING || fields[i].type == MYSQL_TYPE_STRING) {
        escaped.resize(len[i] * 2 + 1);
        escaped.resize(mysql_real_escape_string(handle, escaped.data(), row[i], len[i]));
        value = "'" + escaped + "'";
      } else if (fields[i].type == MYSQL_TYPE_DATE) {
        value = "'" + std::string(row[i], len[i]) + "'";
      } else {
        value.assign(row[i], len[i]);
      }
      std::string newValue = value;
      if (std::string(fields[i].name) == "F1") {
        double x = 0;
        std::from_chars(row[i], row[i] + len[i], x);
        newValue = FloatToSQL(x + 1).toStdString();
      }
      set += (i ? "," : "") + std::string(fields[i].name) + "=" + newValue;
      where += (i ? " and " : "") + std::string(fields[i].name) + "=" + value;
    }
    const std::string update = "UPDATE B SET\r\n" + set + "\r\nWHERE " + where + " LIMIT 1;";
    if (mysql_real_query(handle, update.data(), update.size()) != 0) RaiseMySqlError(handle);
    if (mysql_affected_rows(handle) != 1) throw Exception("raw update matched no row");
  }
  mysql_free_result(res);
}

void DataSetPosts(TUniSQLDatabase& db, int firstK) {
  TUniSQLTable table;
  table.SetDatabase(&db);
  table.SetTablename("B");
  table.SetIndexFields("K");
  table.Open();
  table.SetRecNo(firstK);
  for (int i = 0; i < kPosts; ++i, table.Next()) {
    table.Edit();
    TField* f = table.FieldByName("F1");
    f->SetAsFloat(f->AsFloat() + 1);
    table.Post();
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  try {
    TestDatabase t(QStringLiteral("zbench"));
    if (!t.Ok()) return 1;
    t.Exec(
        "create table B (K int primary key, S1 varchar(30), S2 varchar(30), S3 varchar(30), "
        "S4 char(8), S5 char(8), S6 varchar(60), F1 double, F2 double, F3 double, F4 double, "
        "F5 double, F6 double, N1 numeric(14,2), D1 date, D2 date, I1 int, I2 int)");
    t.Exec(QStringLiteral(
               "insert into B select seq, concat('Árvíztűrő ', seq), concat('gép ', seq % 97), "
               "'tükörfúrógép', lpad(seq % 1000, 8, '0'), 'T', repeat('x', seq % 50), seq / 3, "
               "seq * 1.5, 0, seq / 7, 100.1 + seq, 0.1, seq / 100, "
               "date_add('2000-01-01', interval seq % 5000 day), '1900-01-01', seq % 10, seq "
               "from seq_1_to_%1")
               .arg(kRows));
    MYSQL* handle = t.Db().Handle();

    std::printf("walk of %d rows x 18 columns (query, stored result, every value read)\n", kRows);
    for (int run = 1; run <= 2; ++run) {
      qint64 rawRows = 0, dsRows = 0;
      const double raw = Seconds([&] { rawRows = RawWalk(handle); });
      const double ds = Seconds([&] { dsRows = DataSetWalk(t.Db()); });
      std::printf("  run %d: client library %8.0f rows/s, TUniSQLQuery %8.0f rows/s, ratio %.2f\n",
                  run, rawRows / raw, dsRows / ds, ds / raw);
    }

    std::printf("%d posts, one UPDATE each (autocommit)\n", kPosts);
    // Alternating, so that neither side gets the colder or warmer server.
    double raw = 0, ds = 0;
    for (int run = 0; run < 2; ++run) {
      const double r = Seconds([&] { RawPosts(handle, 50001 + run * kPosts); });
      const double d = Seconds([&] { DataSetPosts(t.Db(), 1 + run * kPosts); });
      std::printf("  run %d: client library %8.0f rows/s, TUniSQLTable %8.0f rows/s, ratio %.2f\n",
                  run + 1, kPosts / r, kPosts / d, d / r);
      raw += r;
      ds += d;
    }
    std::printf("  both runs: ratio %.2f\n", ds / raw);
    const QString changed = t.Value("select count(*) from B where abs(F1 - (K / 3 + 1)) < 1e-9");
    std::printf("  rows changed on the server: %s (expected %d)\n", qPrintable(changed),
                4 * kPosts);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
