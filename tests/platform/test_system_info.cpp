#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app_globals.h"
#include "file_lookup.h"
#include "program_dir.h"
#include "registry_values.h"
#include "system_info.h"
#include "test_util.h"

class SystemInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Globals().ProgramDir;
    Globals().ProgramDir = dir.path() + "/";
  }
  void TearDown() override { Globals().ProgramDir = saved; }
  QTemporaryDir dir;
  QString saved;
};

TEST_F(SystemInfo, NamesComeFromTheRegistryStoreWhenItHasThem) {
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  const QString shortHost = QString::fromLocal8Bit(host).section('.', 0, 0);
  EXPECT_EQ(ComputerName(), shortHost);
  EXPECT_FALSE(LogonName().isEmpty());

  WriteFileBytes(
      dir.filePath(kRegistryFileName),
      "[hkey_local_machine\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\r\n"
      "computername=G\xc9P-1\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer]\r\n"
      "Logon User Name=J. Kis-T\xf3th\r\n");
  EXPECT_EQ(ComputerName(), "GÉP-1");
  EXPECT_EQ(LogonName(), "J. Kis-Tóth");
  EXPECT_EQ(WindowsVersion(), 0);  // Vista or later
}

TEST_F(SystemInfo, RegistryValueMissingOrEmpty) {
  RegistryValues reg(dir.filePath(kRegistryFileName));
  EXPECT_FALSE(reg.Read("HKEY_CURRENT_USER\\A", "B"));
  EXPECT_FALSE(QFile::exists(dir.filePath(kRegistryFileName))) << "reading must create nothing";
  WriteFileBytes(dir.filePath(kRegistryFileName), "[HKEY_CURRENT_USER\\A]\r\nB=\r\n");
  ASSERT_TRUE(reg.Read("HKEY_CURRENT_USER\\A", "b"));
  EXPECT_EQ(*reg.Read("HKEY_CURRENT_USER\\A", "b"), "");
  EXPECT_FALSE(reg.Read("HKEY_CURRENT_USER\\A", "C"));
}

TEST_F(SystemInfo, PathsAreFoundWithoutRegardToCase) {
  WriteFileBytes(dir.filePath("Create/Create.sql"), "x");
  EXPECT_EQ(FindExistingPath(dir.path() + "/create\\create.sql"),
            dir.path() + "/Create/Create.sql");
  EXPECT_EQ(FindExistingPath(dir.path() + "/CREATE/CREATE.SQL"), dir.path() + "/Create/Create.sql");
  EXPECT_EQ(FindExistingPath(dir.path() + "/create/missing.sql"), "");
  EXPECT_EQ(ResolvePath(dir.path(), "create\\missing.sql"), dir.path() + "/create/missing.sql");
}

TEST_F(SystemInfo, ProgramDirIsTheProgramsWhenWritableWithScripts) {
  WriteFileBytes(dir.filePath("bin/create/create.sql"), "x");
  EXPECT_EQ(ResolveProgramDir(dir.filePath("bin/zarn")), dir.filePath("bin") + "/");

  // Without the scripts beside it: the user's data directory, seeded from ../share/zarn.
  QTemporaryDir home;
  qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
  WriteFileBytes(dir.filePath("share/zarn/create/create.sql"), "scripts");
  WriteFileBytes(dir.filePath("share/zarn/help/1.html"), "help");
  WriteFileBytes(home.filePath("zarn/help/1.html"), "kept");
  WriteFileBytes(dir.filePath("share/zarn/zarn.rtf"), "guide");
  const QString resolved = ResolveProgramDir(dir.filePath("usrbin/zarn"));
  qunsetenv("XDG_DATA_HOME");
  EXPECT_EQ(resolved, home.filePath("zarn") + "/");
  EXPECT_EQ(ReadFileBytes(home.filePath("zarn/create/create.sql")), "scripts");
  EXPECT_EQ(ReadFileBytes(home.filePath("zarn/help/1.html")), "kept");
  EXPECT_EQ(ReadFileBytes(home.filePath("zarn/zarn.rtf")), "guide");
}
