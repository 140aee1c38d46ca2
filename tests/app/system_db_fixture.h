#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include "scripted_ui.h"
#include "uni_sql_database.h"

// The main form's status line once the first start has created and opened the first company.
inline const QString kFirstCompanyLine = QString::fromUtf8("Első adatbázis    (ZARNDAT001)");

// Tests of the fixed databases ZARN and ZARNDAT...: they run one at a time (ctest lock
// "zarn_system_db") and find the server without them; what they made is dropped afterwards.
// The globals name the built program directory, a user directory of the test's own and
// ZARNDAT001; m_db0 and m_db1 point at ZARN and ZARNDAT001, not connected.
class SystemDbTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Points db at the test server and database name, not connected.
  static void Configure(TUniSQLDatabase& db, const QString& name);
  void Exec(const QString& database, const QString& sql);
  QStringList Column(const QString& database, const QString& sql);
  QString Value(const QString& database, const QString& sql);
  // A ProgramDir holding the creation scripts.
  QString ProgramDir() const;
  // The creation scripts copied into dir's create/.
  void CopyCreationScripts(const QString& dir) const;
  // dir's ZARN.INI naming the test server, with its account or the one given.
  static void WriteServerIni(const QString& dir, const QString& user = {},
                             const QString& password = {});
  // A program directory of the test's own, in m_userDir: the creation scripts, a ZARN.INI naming
  // the test server and a report renderer that ends at once. It becomes Globals().ProgramDir;
  // the path ends in "/".
  QString OwnProgramDir();
  static void DropSystemDatabases();

  QTemporaryDir m_userDir;
  ScriptedUi m_ui;
  TUniSQLDatabase m_db0, m_db1;

 private:
  QStringList Run(const QString& database, const QString& sql, bool rows);
};
