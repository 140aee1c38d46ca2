#include "import_test_util.h"

#include <gtest/gtest.h>

#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_query.h"

QString CompanyChecksums(TestDatabase& db) {
  return Rows(db,
              QStringLiteral("CHECKSUM TABLE CEG, KARTFEJ, KARTTET, KULCSOK, PONTOSOK, SZAMITAS"))
      .join(';');
}
