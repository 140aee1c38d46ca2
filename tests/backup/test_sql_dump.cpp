#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app_globals.h"
#include "program_runner.h"
#include "scripted_ui.h"
#include "sql_dump.h"
#include "test_database.h"
#include "test_util.h"

namespace {

// A program directory of the test's own; the tools beside the program are looked up there.
class SqlDumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Globals().ProgramDir;
    Globals().ProgramDir = tmp.path() + "/";
  }
  void TearDown() override { Globals().ProgramDir = saved; }
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }

  // A fake tool that records its arguments, the option file's mode and text, then acts.
  void FakeTool(const QString& name, const QByteArray& action) {
    WriteScript(tmp.path(), name,
                "opt=${1#--defaults-extra-file=}\n"
                "printf '%s\\n' \"$@\" > '" +
                    Path("args").toUtf8() +
                    "'\n"
                    "stat -c %a \"$opt\" > '" +
                    Path("mode").toUtf8() +
                    "'\n"
                    "cat \"$opt\" > '" +
                    Path("options").toUtf8() +
                    "'\n"
                    "echo \"$opt\" > '" +
                    Path("optname").toUtf8() + "'\n" + action);
  }
  QString OptionFileLeftBehind() {
    const QString name = QString::fromUtf8(ReadFileBytes(Path("optname"))).trimmed();
    return QFileInfo::exists(name) ? name : QString();
  }

  QTemporaryDir tmp;
  QString saved;
  TUniSQLDatabase db;
  ScriptedUi ui;
  QStringList statuses;
  TStatusProc status = [this](const QString& s) { statuses << s; };
};

TEST_F(SqlDumpTest, CredentialsGoInAnOwnerOnlyOptionFileRemovedOnEveryPath) {
  db.SetHost("db.example");
  db.SetPort("3307");
  db.SetUser("anna");
  db.Setpassword("t\"it\\k");
  db.SetDatabasename("ZARNDAT001");
  const QString dump = Path("árvíz tűrő/dbment.sql");
  QDir().mkpath(QFileInfo(dump).path());
  FakeTool("mariadb-dump",
           "out=${3#--result-file=}\nprintf 'x\\n-- Dump completed on 2026-12-09\\n' > \"$out\"\n");
  ASSERT_TRUE(SqlDump(db, dump, status));
  const QString args = QString::fromUtf8(ReadFileBytes(Path("args")));
  EXPECT_TRUE(args.startsWith("--defaults-extra-file=")) << args.toStdString();
  EXPECT_TRUE(args.endsWith("--add-drop-table\n--result-file=" + dump + "\nZARNDAT001\n"))
      << args.toStdString();
  EXPECT_FALSE(args.contains("t\"it")) << args.toStdString();
  EXPECT_EQ(ReadFileBytes(Path("mode")), "600\n");
  EXPECT_EQ(ReadFileBytes(Path("options")),
            "[client]\nhost=\"db.example\"\nport=\"3307\"\nprotocol=tcp\nuser=\"anna\"\n"
            "password=\"t\\\"it\\\\k\"\ndefault-character-set=utf8mb4\n");
  EXPECT_EQ(OptionFileLeftBehind(), QString());
  EXPECT_EQ(statuses, (QStringList{"SQLdump készül..", "SQLdump elkészült."}));
  EXPECT_TRUE(ui.Calls().isEmpty());

  // A failing run, and a run whose dump lacks the completion line, are failures.
  db.Setpassword("");
  for (const QByteArray& action :
       {QByteArray("exit 2\n"), QByteArray("out=${3#--result-file=}\necho cut > \"$out\"\n")}) {
    statuses.clear();
    ui.Clear();
    FakeTool("mariadb-dump", action);
    EXPECT_FALSE(SqlDump(db, dump, status));
    EXPECT_TRUE(ReadFileBytes(Path("options")).contains("\npassword=\n"));
    EXPECT_EQ(OptionFileLeftBehind(), QString());
    EXPECT_EQ(statuses.last(), "Hiba történt az sqldump.exe futása közben.");
    EXPECT_EQ(ui.Texts(), QStringList{"Hiba történt az sqldump.exe futása közben."});
  }

  // Without a port the tools take the local socket, as the program does.
  db.SetHost("localhost");
  db.SetPort("");
  FakeTool("mariadb-dump", "exit 2\n");
  SqlDump(db, dump, status);
  EXPECT_EQ(ReadFileBytes(Path("options")),
            "[client]\nhost=\"localhost\"\nport=\nuser=\"anna\"\npassword=\n"
            "default-character-set=utf8mb4\n");
}

TEST_F(SqlDumpTest, RestoreReadsTheDumpOnStandardInputAndAMissingDumpRunsNothing) {
  db.SetDatabasename("ZARNDAT001");
  RecordingRunner runner;
  const QString missing = Path("nincs.sql");
  EXPECT_FALSE(SqlRestore(db, missing, status));
  EXPECT_TRUE(runner.Runs().isEmpty());
  EXPECT_EQ(ui.Texts(), QStringList{missing + " állomány nem elérhető."});

  WriteFileBytes(Path("dbment.sql"), "select 1;\n");
  runner.Then(RecordingRunner::Outcome::Success).Then(RecordingRunner::Outcome::Failure);
  QString optionFile;
  runner.WhileRunning = [&](const RecordingRunner::Run& run) {
    optionFile = run.arguments.value(0).mid(QStringLiteral("--defaults-extra-file=").size());
    EXPECT_TRUE(QFileInfo::exists(optionFile));
  };
  EXPECT_TRUE(SqlRestore(db, Path("dbment.sql"), status));
  ASSERT_EQ(runner.Runs().size(), 1);
  EXPECT_EQ(runner.Runs()[0].arguments.mid(1),
            (QStringList{"--sandbox", "--local-infile=0", "ZARNDAT001"}));
  EXPECT_EQ(runner.Runs()[0].inputFile, Path("dbment.sql"));
  EXPECT_FALSE(QFileInfo::exists(optionFile));
  EXPECT_EQ(statuses.last(), "Sql visszatöltés elkészült.");
  EXPECT_FALSE(SqlRestore(db, Path("dbment.sql"), status));
  EXPECT_FALSE(QFileInfo::exists(optionFile));
  EXPECT_EQ(statuses.last(), "Hiba történt a mariadb futása közben.");
}

TEST_F(SqlDumpTest, RealToolsDumpAndReloadAUnicodeTable) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.Exec("CREATE TABLE KARTFEJ (LELTSZAM VARCHAR(10), MEGNEV VARCHAR(40)) ENGINE=InnoDB");
  t.Exec("INSERT INTO KARTFEJ VALUES ('00001', 'árvíztűrő tükörfúrógép')");
  ConfigureTestServer(db, t.Name());
  const QString dump = Path("árvíztűrő.dir/dbment.sql");
  QDir().mkpath(QFileInfo(dump).path());
  ASSERT_TRUE(SqlDump(db, dump, status)) << statuses.join("|").toStdString();
  EXPECT_TRUE(DumpCompleted(dump));
  t.Exec("UPDATE KARTFEJ SET MEGNEV = 'más'");
  ASSERT_TRUE(SqlRestore(db, dump, status)) << statuses.join("|").toStdString();
  EXPECT_EQ(t.Value("SELECT MEGNEV FROM KARTFEJ"), "árvíztűrő tükörfúrógép");
}

}  // namespace
