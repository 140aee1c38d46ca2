#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "x_one_instance.h"

TEST(XOneInstance, OneCopyPerProgramName) {
  QTemporaryDir locks;
  auto first = std::make_unique<TXOneInstance>("/opt/zarn/zarn", locks.path());
  EXPECT_FALSE(first->AlreadyExist());
  // The same program name from another directory is the same program.
  EXPECT_TRUE(TXOneInstance("/home/x/zarn", locks.path()).AlreadyExist());
  // A copy under another name runs beside it.
  EXPECT_FALSE(TXOneInstance("/opt/zarn/zarn2", locks.path()).AlreadyExist());
  first.reset();
  EXPECT_FALSE(TXOneInstance("/opt/zarn/zarn", locks.path()).AlreadyExist());
}

TEST(XOneInstance, LockFileLeftByACrashDoesNotBlock) {
  QTemporaryDir locks;
  QFile stale(locks.filePath("zarn.lock"));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  EXPECT_FALSE(TXOneInstance("/opt/zarn/zarn", locks.path()).AlreadyExist());
}

TEST(XOneInstance, ProgramsWeStartDoNotKeepTheLock) {
  QTemporaryDir locks;
  auto first = std::make_unique<TXOneInstance>("/opt/zarn/zarn", locks.path());
  ASSERT_FALSE(first->AlreadyExist());
  QProcess child;
  child.start("sleep", {"5"});
  ASSERT_TRUE(child.waitForStarted());
  first.reset();
  EXPECT_FALSE(TXOneInstance("/opt/zarn/zarn", locks.path()).AlreadyExist());
  child.kill();
  child.waitForFinished();
}

TEST(XOneInstance, UnusableLockDirectoryCountsAsAnotherCopy) {
  EXPECT_TRUE(TXOneInstance("/opt/zarn/zarn", "/nonexistent/dir").AlreadyExist());
}
