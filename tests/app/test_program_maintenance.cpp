#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include "app_globals.h"
#include "codepage.h"
#include "gui_test_util.h"
#include "program_maintenance.h"
#include "program_runner.h"
#include "scripted_ui.h"
#include "test_util.h"

namespace {

using StartCommand = bool (*)(QWidget*);

struct CommandCase {
  const char* name;
  StartCommand start;
  const char* started;  // the file the command starts in ProgramDir
};

const CommandCase kCommands[] = {
    {"backup", &StartProgramBackup, "prgment.sh"},
    {"restore", &StartProgramRestore, "prgmvissza.sh"},
    {"new version", &StartNewVersion, "_NewVer"},
};

class ProgramCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedProgramDir = Globals().ProgramDir;
    savedCurrent = QDir::currentPath();
    Globals().ProgramDir = programDir.path() + "/";
    WriteFileBytes(programDir.filePath("NewVer"), "#!/bin/sh\necho new\n");
    QFile::setPermissions(programDir.filePath("NewVer"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  void TearDown() override {
    Globals().ProgramDir = savedProgramDir;
    QDir::setCurrent(savedCurrent);
  }
  QString dir() const { return Globals().ProgramDir; }

  QTemporaryDir programDir;
  QString savedProgramDir, savedCurrent;
};

}  // namespace

TEST_F(ProgramCommandsTest, AStartedScriptGetsOurPidAndTheProgramDirAndTheCallerMayClose) {
  for (const CommandCase& c : kCommands) {
    SCOPED_TRACE(c.name);
    QDir::setCurrent(QDir::tempPath());
    ScriptedUi ui;
    RecordingRunner runner;
    EXPECT_TRUE(c.start(nullptr));
    ASSERT_EQ(runner.Runs().size(), 1);
    const RecordingRunner::Run& run = runner.Runs()[0];
    EXPECT_EQ(run.program, dir() + c.started);
    EXPECT_EQ(run.arguments, QStringList{QString::number(QCoreApplication::applicationPid())});
    EXPECT_TRUE(run.detached);
    EXPECT_EQ(run.workingDirectory, dir());
    EXPECT_EQ(QDir::currentPath() + "/", dir());
    EXPECT_TRUE(ui.Calls().isEmpty());
  }
}

TEST_F(ProgramCommandsTest, AFailedStartSaysWhichProgramAndKeepsTheProgramOpen) {
  for (const CommandCase& c : kCommands) {
    SCOPED_TRACE(c.name);
    ScriptedUi ui;
    RecordingRunner runner;
    runner.Then(RecordingRunner::Outcome::Missing);
    EXPECT_FALSE(c.start(nullptr));
    ASSERT_EQ(ui.Calls().size(), 1);
    EXPECT_EQ(ui.Calls()[0].kind, ScriptedUi::Kind::MessageBox);
    EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
    EXPECT_EQ(ui.Calls()[0].text(), "A program nem indítható: " + dir() + c.started);
  }
}

TEST_F(ProgramCommandsTest, NewVersionRunsAFreshCopyOfTheUpdater) {
  WriteFileBytes(dir() + "_NewVer", "#!/bin/sh\necho stale copy of an older updater\n");
  RecordingRunner runner;
  ASSERT_TRUE(StartNewVersion(nullptr));
  EXPECT_EQ(ReadFileBytes(dir() + "_NewVer"), ReadFileBytes(dir() + "NewVer"));
  EXPECT_TRUE(QFileInfo(dir() + "_NewVer").isExecutable());
  EXPECT_EQ(runner.Runs().size(), 1);
}

TEST_F(ProgramCommandsTest, NewVersionWithoutTheUpdaterNamesItAndStartsNothing) {
  QFile::remove(dir() + "NewVer");
  WriteFileBytes(dir() + "_NewVer", "#!/bin/sh\n");
  ScriptedUi ui;
  RecordingRunner runner;
  EXPECT_FALSE(StartNewVersion(nullptr));
  EXPECT_TRUE(runner.Runs().isEmpty());
  EXPECT_EQ(ui.Texts(), QStringList{"A program nem indítható: " + dir() + "NewVer"});
}

namespace {

// The text of an ANSI RTF file with its \'xx escapes decoded; control words stay.
QString RtfText(const QByteArray& rtf) {
  QByteArray bytes;
  for (qsizetype i = 0; i < rtf.size(); ++i) {
    if (rtf.mid(i, 2) == "\\'") {
      bytes.append(char(rtf.mid(i + 2, 2).toInt(nullptr, 16)));
      i += 3;
    } else {
      bytes.append(rtf[i]);
    }
  }
  return ToUnicode(bytes, CodePage::Cp1250);
}

}  // namespace

TEST_F(ProgramCommandsTest, DocumentationOpensTheGuideBesideTheProgram) {
  UrlRecorder recorder;
  OpenDocumentation();
  EXPECT_EQ(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(dir() + "zarn.rtf")});
}

TEST(DeliveredGuide, IsAnsiRtfInWindows1250AndCoversEveryMenu) {
  const QByteArray rtf = ReadFileBytes(BinDir() + "/zarn.rtf");
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250"));
  int depth = 0;
  for (char ch : rtf) {
    ASSERT_LT(static_cast<unsigned char>(ch), 0x80) << "byte outside ASCII";
    if (ch == '{') ++depth;
    if (ch == '}') {
      ASSERT_GT(depth--, 0);
    }
  }
  EXPECT_EQ(depth, 0);
  const QString text = RtfText(rtf);
  for (const char* title : {"Munka", "Keresés", "ÉCS", "Listák", "Szervíz", "Egyéb", "Súgó",
                            "Kilépés", "Program mentés", "Új verzió", "Program visszaállítás",
                            "Dokumentáció", "A program nem indítható:"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(title))) << title;
  }
}

namespace {

// A program directory as the scripts find it beside an installed program: the program's files,
// its folders, and folders of users, workstations and backups that are not the program's.
class ScriptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* script : {"prgment.sh", "prgmvissza.sh", "NewVer"})
      ASSERT_TRUE(QFile::copy(BinDir() + "/" + script, path(script))) << script;
    put("zarn", "program 1");
    put("Gravlen", "renderer 1");
    put("ZARN.INI", "[SQL]\r\nHOST=127.0.0.1\r\n");
    put("zarn.rtf", "{\\rtf1 guide}");
    put("logoscr.bmp", "BM");
    put("Stilus beallitas.ini", "[STILUS]\r\n");
    put("create/create.sql", "create database ZARN;");
    put("help/zarn.htm", "<html></html>");
    put("kovacs/ZARN.INI", "[USERINI]\r\nCR_TAB=1\r\n");
    put("GEP1/fomenu.WXY", "placement");
    put("workZARNDAT001/dbment.sql", "dump");
    put("ujverzio/zarn", "program 2");
  }
  QString path(const QString& name) const { return dir.filePath(name); }
  void put(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path(name)).absolutePath());
    WriteFileBytes(path(name), bytes);
  }
  QByteArray get(const QString& name) const { return ReadFileBytes(path(name)); }

  // Runs a script as the program starts it: with the process id of a program that is still
  // running. The script must still wait while it runs, and finish once it has ended.
  int RunAfterProgramEnds(const QString& script) {
    QProcess program;
    program.start("sleep", {"600"});
    if (!program.waitForStarted()) return -1;
    QProcess run;
    run.start(path(script), {QString::number(program.processId())});
    const bool endedEarly = run.waitForFinished(1500);
    EXPECT_FALSE(endedEarly) << script.toStdString() << " did not wait for the program";
    program.kill();
    program.waitForFinished();
    if (!endedEarly) run.waitForFinished(120000);
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
  }
  // Runs a script at once, as a user would by hand.
  int RunNow(const QString& script) {
    QProcess run;
    run.start(path(script), {});
    run.waitForFinished(120000);
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
  }
  QStringList Archives() const {
    return QDir(path("prgment")).entryList({"zarnprg-*.tar.gz"}, QDir::Files, QDir::Name);
  }
  QStringList Listed(const QString& archive) const {
    QProcess tar;
    tar.start("tar", {"-tzf", path("prgment/" + archive)});
    tar.waitForFinished(60000);
    QStringList names =
        QString::fromUtf8(tar.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    names.sort();
    return names;
  }
  QStringList Leftovers() const {
    QStringList found;
    for (const QString& name :
         QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
      if (name.startsWith('.') || name.contains("newver")) found << name;
    return found;
  }

  QTemporaryDir dir;
};

}  // namespace

TEST_F(ScriptsTest, BackupPacksOnlyTheProgramFilesIntoTodaysArchive) {
  const QString before = QDate::currentDate().toString("yyyy-MM-dd");
  ASSERT_EQ(RunAfterProgramEnds("prgment.sh"), 0);
  const QString after = QDate::currentDate().toString("yyyy-MM-dd");
  const QStringList archives = Archives();
  ASSERT_EQ(archives.size(), 1);
  EXPECT_TRUE(archives[0] == "zarnprg-" + before + ".tar.gz" ||
              archives[0] == "zarnprg-" + after + ".tar.gz")
      << archives[0].toStdString();
  const QStringList expected = {"Gravlen",    "NewVer",        "Stilus beallitas.ini",
                                "ZARN.INI",   "create/",       "create/create.sql",
                                "help/",      "help/zarn.htm", "logoscr.bmp",
                                "prgment.sh", "prgmvissza.sh", "zarn",
                                "zarn.rtf"};
  EXPECT_EQ(Listed(archives[0]), expected);
  EXPECT_TRUE(QDir(path("prgment")).entryList(QDir::Files | QDir::Hidden).size() == 1)
      << "scratch files left in prgment/";
}

TEST_F(ScriptsTest, RestoreBringsBackTheNewestBackupOverTheProgramOnly) {
  ASSERT_EQ(RunNow("prgment.sh"), 0);
  // An older backup beside it must not win.
  put("old/ZARN.INI", "old settings");
  QProcess tar;
  tar.start("tar",
            {"-czf", path("prgment/zarnprg-2001-01-01.tar.gz"), "-C", path("old"), "ZARN.INI"});
  ASSERT_TRUE(tar.waitForFinished(60000));
  ASSERT_EQ(tar.exitCode(), 0);

  const QByteArray ini = get("ZARN.INI");
  put("ZARN.INI", "[SQL]\r\nHOST=changed\r\n");
  QFile::remove(path("create/create.sql"));
  put("kovacs/ZARN.INI", "user's own, changed");
  put("added later.txt", "kept");

  ASSERT_EQ(RunAfterProgramEnds("prgmvissza.sh"), 0);
  EXPECT_EQ(get("ZARN.INI"), ini);
  EXPECT_EQ(get("create/create.sql"), "create database ZARN;");
  EXPECT_EQ(get("kovacs/ZARN.INI"), "user's own, changed");
  EXPECT_EQ(get("added later.txt"), "kept");
  EXPECT_TRUE(QFileInfo(path("prgmvissza.sh")).isExecutable());
  EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(' ').toStdString();
}

TEST_F(ScriptsTest, RestoreOfADamagedOrMissingBackupChangesNothing) {
  EXPECT_NE(RunNow("prgmvissza.sh"), 0);  // no backup yet
  ASSERT_EQ(RunNow("prgment.sh"), 0);
  put("prgment/zarnprg-2999-12-31.tar.gz", QByteArray(4096, 'x'));
  put("ZARN.INI", "changed");
  EXPECT_NE(RunNow("prgmvissza.sh"), 0);
  EXPECT_EQ(get("ZARN.INI"), "changed");
  EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(' ').toStdString();
}

TEST_F(ScriptsTest, UpdaterInstallsTheNewVersionIncludingItself) {
  put("ujverzio/create/new.sql", "alter table KARTFEJ;");
  put("ujverzio/NewVer", "#!/bin/sh\necho updater 2\n");
  ASSERT_TRUE(QFile::copy(path("NewVer"), path("_NewVer")));
  ASSERT_EQ(RunAfterProgramEnds("_NewVer"), 0);
  EXPECT_EQ(get("zarn"), "program 2");
  EXPECT_EQ(get("create/new.sql"), "alter table KARTFEJ;");
  EXPECT_EQ(get("create/create.sql"), "create database ZARN;");
  EXPECT_EQ(get("NewVer"), "#!/bin/sh\necho updater 2\n");
  EXPECT_EQ(get("Gravlen"), "renderer 1");
  EXPECT_EQ(get("ujverzio/zarn"), "program 2");
  EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(' ').toStdString();

  QDir(path("ujverzio")).removeRecursively();
  EXPECT_NE(RunNow("_NewVer"), 0);
}
