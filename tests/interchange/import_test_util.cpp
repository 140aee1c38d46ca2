#include "import_test_util.h"

#include <gtest/gtest.h>

#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_query.h"

QStringList Rows(TestDatabase& db, const QString& sql) {
  QStringList rows;
  TUniSQLQuery q;
  q.SetDatabase(&db.Db());
  q.SetSQL(sql);
  try {
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
      QStringList fields;
      for (int i = 0; i < q.FieldCount(); ++i) fields << q.Fields(i)->AsString();
      rows << fields.join('|');
    }
  } catch (const Exception& e) {
    ADD_FAILURE() << e.what() << " in " << sql.toStdString();
  }
  return rows;
}

QString CompanyChecksums(TestDatabase& db) {
  return Rows(db,
              QStringLiteral("CHECKSUM TABLE CEG, KARTFEJ, KARTTET, KULCSOK, PONTOSOK, SZAMITAS"))
      .join(';');
}
