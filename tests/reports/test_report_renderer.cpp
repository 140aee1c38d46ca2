#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app_globals.h"
#include "program_runner.h"
#include "report_renderer.h"
#include "sample_report.h"
#include "scripted_ui.h"
#include "test_util.h"

namespace {

// A program directory whose "Gravlen" records its arguments after a pause and ends with the
// exit code in the file "code".
class RendererLaunchTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedUi ui;
  QString savedProgramDir = Globals().ProgramDir;
  QString userDir;

  void SetUp() override {
    Globals().ProgramDir = dir.path() + '/';
    userDir = dir.filePath(QStringLiteral("felhasználó")) + '/';
  }
  void TearDown() override { Globals().ProgramDir = savedProgramDir; }
  void installRenderer(int exitCode) {
    WriteScript(dir.path(), "Gravlen",
                "sleep 0.3\nd=$(dirname \"$0\")\nprintf '%s\\n' \"$@\" > \"$d/args\"\n"
                "exit $(cat \"$d/code\")");
    WriteFileBytes(dir.filePath("code"), QByteArray::number(exitCode));
  }
  QStringList arguments() {
    return QString::fromUtf8(ReadFileBytes(dir.filePath("args"))).split('\n', Qt::SkipEmptyParts);
  }
};

// The two command lines; the call returns only when the renderer has ended, and the program
// is minimised meanwhile and restored after.
TEST_F(RendererLaunchTest, WaitsForTheRendererOnBothCommandLines) {
  installRenderer(0);
  EXPECT_EQ(RendererProgram(), dir.filePath("Gravlen"));
  QStringList windows;
  const RunAndWaitHooks previous = SetRunAndWaitHooks(
      {[&] { windows << "minimised"; },
       [&] {
         windows << (QFile::exists(dir.filePath("args")) ? "restored after the end" : "early");
       }});
  QElapsedTimer timer;
  timer.start();
  EXPECT_TRUE(ShowReport(userDir, "leltszamlist"));
  EXPECT_GE(timer.elapsed(), 250);
  SetRunAndWaitHooks(previous);
  EXPECT_EQ(windows, QStringList({"minimised", "restored after the end"}));
  EXPECT_EQ(arguments(), QStringList({userDir + "leltszamlist.xml", userDir}));
  EXPECT_TRUE(RendererPrinterSetup(userDir));
  EXPECT_EQ(arguments(), QStringList({"PRINTERSETUP", userDir}));
  EXPECT_TRUE(ui.Calls().isEmpty());
}

// Neither a renderer that is missing nor one that fails passes in silence.
TEST_F(RendererLaunchTest, FailuresAreToldToTheUser) {
  EXPECT_FALSE(ShowReport(userDir, "R"));
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
  EXPECT_EQ(ui.Texts()[0], QStringLiteral("A jelentés megjelenítő program nem indítható: ") +
                               QCoreApplication::applicationDirPath() + "/Gravlen");

  ui.Clear();
  installRenderer(2);
  EXPECT_FALSE(RendererPrinterSetup(userDir));
  EXPECT_EQ(ui.Texts(),
            QStringList{QStringLiteral("A jelentés megjelenítő program hibával fejeződött be: ") +
                        dir.filePath("Gravlen") + " PRINTERSETUP " + userDir});

  // The runner in use is what decides.
  ui.Clear();
  QStringList seen;
  const TRunAndWait previous = SetRendererRunAndWait([&](const QString& p, const QStringList& a) {
    seen = QStringList{p} + a;
    return true;
  });
  EXPECT_TRUE(ShowReport(userDir, "R"));
  EXPECT_EQ(seen, QStringList({dir.filePath("Gravlen"), userDir + "R.xml", userDir}));
  SetRendererRunAndWait(previous);
  EXPECT_TRUE(ui.Calls().isEmpty());
}

// The real renderer ends with an error on a report whose files are missing or cut short, and
// the user is told.
TEST_F(RendererLaunchTest, RealRendererReportsAMissingOrCutReport) {
  Globals().ProgramDir = BinDir() + '/';
  QDir().mkpath(userDir);
  TSampleReport sample;
  sample.AddGoldenRows();
  sample.Write(userDir, "R");
  const QByteArray frm = ReadFileBytes(userDir + "R.frm");
  WriteFileBytes(userDir + "R.frm", frm.left(frm.lastIndexOf("<block ID=\"")));
  for (const char* name : {"nincs", "R"}) {
    SCOPED_TRACE(name);
    ui.Clear();
    EXPECT_FALSE(ShowReport(userDir, name));
    EXPECT_EQ(ui.Texts().size(), 1);
    EXPECT_TRUE(ui.Texts().value(0).contains(QStringLiteral("hibával fejeződött be")))
        << ui.Texts().join(u'\n').toStdString();
  }
}

}  // namespace
