#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "program_runner.h"
#include "test_util.h"

namespace {

// Counts what RunAndWait does to the windows.
struct HookLog {
  HookLog() {
    previous = SetRunAndWaitHooks({[this] { events += "min "; }, [this] { events += "restore "; }});
  }
  ~HookLog() { SetRunAndWaitHooks(previous); }
  QString events;
  RunAndWaitHooks previous;
};

}  // namespace

TEST(RunAndWait, SuccessOnlyOnNormalExitWithCodeZero) {
  QTemporaryDir dir;
  const struct {
    const char* name;
    QByteArray body;
    bool expected;
    const char* events;
  } cases[] = {
      {"ok.sh", "exit 0", true, "min restore "},
      {"fails.sh", "exit 1", false, "min restore "},
      {"killed.sh", "kill -9 $$", false, "min restore "},
      {"missing.sh", "", false, ""},  // not created: cannot be started
  };
  for (const auto& c : cases) {
    const QString path =
        c.body.isEmpty() ? dir.filePath(c.name) : WriteScript(dir.path(), c.name, c.body);
    HookLog log;
    EXPECT_EQ(RunAndWait(path), c.expected) << c.name;
    EXPECT_EQ(log.events, c.events) << c.name;
  }
}

TEST(RunAndWait, ArgumentsReachTheProgramVerbatimWithoutAShell) {
  QTemporaryDir dir;
  const QString out = dir.filePath("args.txt");
  const QString echo = WriteScript(dir.path(), "echo.sh",
                                   "for a in \"$@\"; do printf '%s|' \"$a\"; done > \"$OUT\"");
  qputenv("OUT", out.toLocal8Bit());
  const QString marker = dir.filePath("marker");
  EXPECT_TRUE(RunAndWait(echo, {"a b", "$(touch " + marker + ")", "*", "árvíztűrő"}));
  qunsetenv("OUT");
  EXPECT_EQ(QString::fromUtf8(ReadFileBytes(out)), "a b|$(touch " + marker + ")|*|árvíztűrő|");
  EXPECT_FALSE(QFile::exists(marker));
}

TEST(RunAndWait, RecordingRunnerStandsInForPrograms) {
  RecordingRunner runner;
  runner.Then(RecordingRunner::Outcome::Failure).Then(RecordingRunner::Outcome::Missing);
  int whileRunning = 0;
  runner.WhileRunning = [&](const RecordingRunner::Run& run) {
    EXPECT_EQ(run.program, "renderer");
    ++whileRunning;
  };
  HookLog log;
  EXPECT_FALSE(RunAndWait("renderer", {"-x"}));
  EXPECT_FALSE(RunAndWait("renderer", {}));
  EXPECT_TRUE(RunAndWait("renderer", {"y"}));
  EXPECT_EQ(whileRunning, 2);
  EXPECT_EQ(log.events, "min restore min restore ");
  ASSERT_EQ(runner.Runs().size(), 3);
  EXPECT_EQ(runner.Runs()[0].arguments, QStringList{"-x"});
}

TEST(StartDetached, RunsInTheGivenDirectoryAndReportsAProgramThatCannotStart) {
  QTemporaryDir dir, work;
  const QString script = WriteScript(dir.path(), "where.sh",
                                     "pwd > where.tmp && printf '%s' \"$1\" >> where.tmp && "
                                     "mv where.tmp where.txt");
  ASSERT_TRUE(Runner().StartDetached(script, {"4242"}, work.path()));
  const QString out = work.filePath("where.txt");
  for (int i = 0; i < 600 && !QFile::exists(out); ++i) QThread::msleep(100);
  EXPECT_EQ(QString::fromUtf8(ReadFileBytes(out)), work.path() + "\n4242");
  EXPECT_FALSE(Runner().StartDetached(dir.filePath("missing.sh"), {}, work.path()));
}
