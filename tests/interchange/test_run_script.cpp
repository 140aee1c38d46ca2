#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "test_util.h"

namespace {

// One start of the run script's connection step against the server at host:port.
void Start(const QString& ini, const QString& host, const QString& port, const QString& password) {
  QProcess bash;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ZARN_DB_HOST", host);
  env.insert("ZARN_DB_PORT", port);
  env.insert("ZARN_DB_USER", "zarn");
  env.insert("ZARN_DB_PASSWORD", password);
  bash.setProcessEnvironment(env);
  bash.start("bash", {"-c", ". \"$1\" && zarn_write_connection_ini \"$2\"", "bash",
                      SourceDir() + "/scripts/connection-ini.sh", ini});
  ASSERT_TRUE(bash.waitForFinished(60000));
  ASSERT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
}

TEST(RunScript, ConnectionKeysAreRenewedAndEverythingElseIsKept) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("ZARN.INI");
  Start(ini, "127.0.0.1", "3310", "a&b");
  EXPECT_EQ(ReadFileBytes(ini),
            "[INI]\r\nHOST=127.0.0.1\r\nPORT=3310\r\nUSER=zarn\r\nPASSWORD=a&b\r\n\r\n");
  EXPECT_EQ(QFile::permissions(ini) & (QFile::ReadGroup | QFile::ReadOther), 0);

  // What the program saved between the starts survives two more of them.
  const QByteArray saved =
      "[INI]\r\nHOST=127.0.0.1\r\nPORT=3310\r\nTEXODIR=/home/k\xf6nyvel\r\n"
      "USER=zarn\r\nPASSWORD=a&b\r\n\r\n[GFELAD]\r\nNAPLO=V2\r\nKOD=1\r\n\r\n";
  WriteFileBytes(ini, saved);
  Start(ini, "127.0.0.1", "40001", "x\\y");
  Start(ini, "localhost", "40002", "pw");
  EXPECT_EQ(ReadFileBytes(ini),
            "[INI]\r\nHOST=localhost\r\nPORT=40002\r\nTEXODIR=/home/k\xf6nyvel\r\n"
            "USER=zarn\r\nPASSWORD=pw\r\n\r\n[GFELAD]\r\nNAPLO=V2\r\nKOD=1\r\n\r\n");

  // A file without the section gets it at its end.
  WriteFileBytes(ini, "[GFELAD]\r\nNAPLO=V2\r\n");
  Start(ini, "h", "1", "p");
  EXPECT_EQ(ReadFileBytes(ini),
            "[GFELAD]\r\nNAPLO=V2\r\n[INI]\r\nHOST=h\r\nPORT=1\r\nUSER=zarn\r\nPASSWORD=p\r\n\r\n");
}

}  // namespace
