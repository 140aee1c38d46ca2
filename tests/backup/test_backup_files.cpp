#include <gtest/gtest.h>

#include <QDateTime>

#include "backup_files.h"
#include "exceptions.h"
#include "test_database.h"

// The archive name and description the menu proposes for a company database.
TEST(BackupRequest, NameAndDescriptionOfADatabaseAtAMoment) {
  const TBackupRequest request =
      BackupRequestFor("ZARNDAT001", "Próba Kft.", QDateTime(QDate(2024, 1, 15), QTime(9, 5, 7)));
  EXPECT_EQ(request.fileName, "ZARNDAT001-2024-01-15.zip");
  EXPECT_EQ(request.description,
            QString::fromUtf8("ZARNDAT001 ÉCS adatbázis\r\nPróba Kft.\r\n2024.01.15 09:05:07"));
}

// The company comes from CEG of the open database, the name from the connection; a company
// database without its CEG table raises, so no form opens on half a request.
TEST(BackupRequest, ReadsTheCompanyOfTheOpenDatabase) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.Exec("CREATE TABLE CEG (CEGNEV VARCHAR(60))");
  db.Exec("INSERT INTO CEG VALUES ('Próba Kft.')");
  const QDateTime before = QDateTime::currentDateTime();
  const TBackupRequest request = MakeBackupRequest(db.Db(), true);
  const QStringList lines = request.description.split("\r\n");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], db.Name() + QString::fromUtf8(" ÉCS adatbázis"));
  EXPECT_EQ(lines[1], QString::fromUtf8("Próba Kft."));
  const QDateTime at = QDateTime::fromString(lines[2], "yyyy.MM.dd HH:mm:ss");
  ASSERT_TRUE(at.isValid());
  EXPECT_LE(qAbs(before.secsTo(at)), 60);
  EXPECT_EQ(request.fileName, db.Name() + "-" + at.date().toString("yyyy-MM-dd") + ".zip");

  db.Exec("DROP TABLE CEG");
  EXPECT_THROW(MakeBackupRequest(db.Db(), false), Exception);
}
