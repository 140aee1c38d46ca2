#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app_globals.h"
#include "archive_form_test_util.h"
#include "backup_files.h"
#include "floppy_drive.h"
#include "scripted_ui.h"
#include "sql_dump.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"
#include "zip_test_util.h"

namespace {

const QStringList kDatabases{"ZARN", "ZARNDAT001", "ZARNDAT002"};
const QString kRefused =
    "A mentés más adatbázist vagy a szervert is módosítaná, nem tölthető vissza.\n"
    "Az adatbázis nem változott.";

// The system database, the live company ZARNDAT001 and a second company, each with rows; the
// restore runs on the live one.
class RestoreTest : public ArchiveFormTest {
 protected:
  void SetUp() override {
    ArchiveFormTest::SetUp();
    ConfigureTestServer(admin, "mysql");
    ASSERT_NO_THROW(admin.Connect());
    for (const QString& name : kDatabases) {
      Run(admin, "drop database if exists `" + name + "`");
      Run(admin,
          "create database `" + name + "` character set utf8mb4 collate utf8mb4_hungarian_ci");
      TUniSQLDatabase db;
      ConfigureTestServer(db, name);
      db.Connect();
      if (name == "ZARN") {
        RunScriptFiles(db, {SourceDir() + "/create/cre_cegek.sql"});
        Run(db, "insert into CEGEK values (1, 'Első Kft.', '1111'), (2, 'Második Bt.', '2222')");
      } else {
        RunScriptFiles(db, {SourceDir() + "/create/create.sql"});
        Run(db, "insert into CEG (CEGNEV) values ('" + name + " Árvíztűrő Kft.')");
        Run(db,
            "insert into KARTFEJ (LELTSZAM, MEGNEV, BESZERTEK) values ('00001', "
            "'tükörfúrógép', 1250000), ('00002', 'Ő', 0.5)");
      }
    }
    ConfigureTestServer(live, "ZARNDAT001");
    live.Connect();
  }
  void TearDown() override {
    live.Disconnect();
    for (const QString& name : kDatabases) Run(admin, "drop database if exists `" + name + "`");
    ArchiveFormTest::TearDown();
  }

  static void Run(TUniSQLDatabase& db, const QString& sql) {
    try {
      RunStatements(db, sql);
    } catch (const Exception& e) {
      ADD_FAILURE() << e.what();
    }
  }
  QStringList Column(const QString& sql) {
    TUniSQLQuery q;
    q.SetDatabase(&admin);
    q.SetSQL(sql);
    QStringList out;
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) out << q.Fields(0)->Text();
    return out;
  }
  // Every table of the three databases by CHECKSUM TABLE, the databases named ZARN..., and the
  // accounts the reload of the live company would have.
  QStringList Snapshot() {
    QStringList out = Column(
        "select SCHEMA_NAME from information_schema.SCHEMATA where "
        "SCHEMA_NAME like 'ZARN%' order by 1");
    for (const QString& name : kDatabases)
      for (const QString& table : Column("show tables from `" + name + "`")) {
        TUniSQLQuery q;
        q.SetDatabase(&admin);
        q.SetSQL("checksum table `" + name + "`.`" + table + "`");
        q.Open();
        out << q.Fields(0)->Text() + "=" + q.Fields(1)->Text();
      }
    out << Column("select concat(User, '@', Host) from mysql.user where User = '" +
                  ReloadAccount("ZARNDAT001") + "' or User = 'csapda'");
    return out;
  }
  // An archive holding dump under entry, made by the zip peer.
  QString Archive(const QByteArray& dump, const QString& entry = "dbment.sql") {
    static int n = 0;
    const QString dir = Path(QString("made%1").arg(++n));
    WriteFileBytes(dir + "/" + entry, dump);
    const QString zip = dir + ".zip";
    EXPECT_EQ(RunPeer(dir, "zip", {"-q", zip, entry}), 0);
    return zip;
  }
  int Backup(const QString& chosen) {
    return RunBackupForm(ui, live, chosen,
                         {"ZARNDAT001 ÉCS adatbázis", "Árvíztűrő Kft.", "2026.12.09 10:30:00"});
  }
  int Restore(const QString& chosen) { return RunRestoreForm(ui, live, chosen, true); }
  QByteArray Dump() {
    TUniSQLDatabase db;
    ConfigureTestServer(db, "ZARNDAT001");
    EXPECT_TRUE(SqlDump(db, Path("good.sql"), {}));
    return ReadFileBytes(Path("good.sql"));
  }
  QStringList FilesMade() {
    QStringList made;
    for (const char* name : {"shell", "system", "outfile", "dumpfile", "shell2", "outfile2"})
      if (QFileInfo::exists(Path(name))) made << name;
    return made;
  }

  TUniSQLDatabase admin;
  TUniSQLDatabase live;
  ScriptedUi ui;
};

TEST_F(RestoreTest, AHostileDumpIsRefusedBeforeAnythingRunsAndABackupOfOursRestores) {
  const QByteArray good = Dump();
  const QByteArray file = tmp.path().toUtf8() + "/";
  WriteFileBytes(Path("script.sql"), "DROP DATABASE ZARNDAT002;\n");
  const struct {
    const char* kind;
    QByteArray text;
  } cases[] = {
      {"another database", "USE ZARN;\nDROP TABLE CEGEK;\n"},
      {"another company dropped", "DROP DATABASE ZARNDAT002;\n"},
      {"a database made", "CREATE DATABASE ZARNCSAPDA;\n"},
      {"a name of another database", "INSERT INTO ZARNDAT002.CEG (CEGNEV) VALUES ('csapda');\n"},
      {"the client's shell", "\\! touch " + file + "shell\n"},
      {"system", "system touch " + file + "system\n"},
      {"a file written", "SELECT 1 INTO OUTFILE '" + file + "outfile';\n"},
      {"a file dumped", "SELECT 1 INTO DUMPFILE '" + file + "dumpfile';\n"},
      {"a file loaded", "LOAD DATA INFILE '/etc/hostname' INTO TABLE CEG;\n"},
      {"a file read", "INSERT INTO CEG (CEGNEV) VALUES (LOAD_FILE('/etc/hostname'));\n"},
      {"a script run", "source " + file + "script.sql\n"},
      {"an account",
       "CREATE USER 'csapda'@'%' IDENTIFIED BY 'x';\nGRANT ALL ON *.* TO 'csapda'@'%';\n"},
      {"the live table, then a syntax error",
       "USE ZARNDAT001;\nDROP TABLE KARTFEJ;\nez nem utasítás;\n"},
  };
  const QStringList before = Snapshot();
  for (const auto& c : cases) {
    QByteArray dump = good;
    dump.insert(dump.indexOf("INSERT INTO"), c.text);
    ui.Clear();
    EXPECT_NE(Restore(Archive(dump)), QDialog::Accepted) << c.kind;
    EXPECT_TRUE(ui.Texts().contains(kRefused))
        << c.kind << ": " << ui.Texts().join('|').toStdString();
    EXPECT_FALSE(ui.Texts().contains("Visszatöltés kész.")) << c.kind;
    EXPECT_EQ(Snapshot(), before) << c.kind;
    EXPECT_EQ(FilesMade(), QStringList()) << c.kind;
    EXPECT_TRUE(live.Connected()) << c.kind;
  }

  // A whole other company, dumped with its name; it has newer rows since.
  ASSERT_TRUE(RunDumpTool({"--add-drop-table", "--databases", "ZARNDAT002"}, Path("other.sql")));
  TUniSQLDatabase other;
  ConfigureTestServer(other, "ZARNDAT002");
  other.Connect();
  Run(other, "insert into KARTFEJ (LELTSZAM, MEGNEV) values ('00003', 'újabb')");
  const QStringList withNewer = Snapshot();
  ui.Clear();
  EXPECT_NE(Restore(Archive(ReadFileBytes(Path("other.sql")))), QDialog::Accepted);
  EXPECT_TRUE(ui.Texts().contains(kRefused)) << ui.Texts().join('|').toStdString();
  EXPECT_EQ(Snapshot(), withNewer);

  // A backup this program wrote gives back the live company as it was, and nothing else.
  ui.Clear();
  ASSERT_EQ(Backup(Path("x.zip")), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  Run(live, "update KARTFEJ set MEGNEV = 'más', BESZERTEK = 1");
  Run(live, "delete from CEG");
  ASSERT_NE(Snapshot(), withNewer);
  ui.Clear();
  EXPECT_EQ(Restore(Path("x.zip")), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  EXPECT_EQ(ui.Texts().last(), "Visszatöltés kész.");
  EXPECT_EQ(Snapshot(), withNewer);
  EXPECT_EQ(FilesMade(), QStringList());
}

TEST_F(RestoreTest, TheLoadRunsWhereItCanReachNothingButItsStagingDatabase) {
  // A client that, before it loads the dump, tries with the very settings it was given what a
  // dump that got past the check could try.
  const QByteArray file = tmp.path().toUtf8() + "/";
  WriteScript(
      Globals().ProgramDir, "mariadb",
      "real=$(command -v mariadb)\nopt=$1\nshift\n"
      "grep '^user=' \"${opt#--defaults-extra-file=}\" > '" +
          file +
          "user'\n"
          "for sql in 'use ZARN' 'create database ZARNCSAPDA' 'drop database ZARNDAT002' "
          "\"insert into ZARN.CEGEK values (9, 'x', '')\" "
          "\"select 1 into outfile '" +
          file +
          "outfile2'\" "
          "\"create user 'csapda'@'%'\" '\\! touch " +
          file +
          "shell2'; do\n"
          "  \"$real\" \"$opt\" -e \"$sql\" \"$@\" </dev/null >/dev/null 2>&1\n"
          "  echo $? >> '" +
          file +
          "codes'\n"
          "done\n"
          "\"$real\" \"$opt\" -N -e \"select load_file('/etc/hostname')\" \"$@\" </dev/null "
          "> '" +
          file +
          "read' 2>&1\n"
          "exec \"$real\" \"$opt\" \"$@\"\n");
  ASSERT_EQ(Backup(Path("x.zip")), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  Run(live, "update KARTFEJ set MEGNEV = 'más'");
  const QStringList before = Snapshot();
  ui.Clear();
  EXPECT_EQ(Restore(Path("x.zip")), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  EXPECT_EQ(ReadFileBytes(Path("user")), "user=\"" + ReloadAccount("ZARNDAT001").toUtf8() + "\"\n");
  EXPECT_EQ(ReadFileBytes(Path("codes")), "1\n1\n1\n1\n1\n1\n1\n");
  EXPECT_EQ(ReadFileBytes(Path("read")).trimmed(), "NULL");
  EXPECT_EQ(FilesMade(), QStringList());
  // The dump came back; the account and the staging databases are gone again.
  EXPECT_EQ(Column("select MEGNEV from ZARNDAT001.KARTFEJ order by LELTSZAM"),
            (QStringList{"tükörfúrógép", "Ő"}));
  QStringList after = Snapshot();
  EXPECT_EQ(after.mid(0, 3), before.mid(0, 3));  // the databases
  EXPECT_EQ(after.filter("ZARN.").join(' ') + after.filter("ZARNDAT002.").join(' '),
            before.filter("ZARN.").join(' ') + before.filter("ZARNDAT002.").join(' '));
  EXPECT_EQ(Column("select User from mysql.user where User like 'zarn\\_toltes\\_%'"),
            QStringList());
}

TEST_F(RestoreTest, ADumpThatWouldNotFitIsRefusedBeforeAnythingIsUnpacked) {
  // The program directory on a file system of 64 MiB; where none can be mounted, the work
  // directory is a disk of 64 MiB of the drive layer, whose free space the restore reads.
  const QString archive = Path("bomb.zip");
  WriteFileBytes(archive, MakeRawZip({DeflatedZeros("dbment.sql", qint64(1) << 30)}));
  QDir().mkpath(Path("small"));
  SmallDisk disk(Path("small"), 64 << 20);
  Globals().ProgramDir = Path("small") + "/prog/";
  Globals().UserDir = Globals().ProgramDir + "anna/";
  QDir().mkpath(Globals().UserDir);
  const QString work = Globals().ProgramDir + "workZARNDAT001";
  QDir().mkpath(work);
  if (!disk.Mounted()) {
    WriteFileBytes(Globals().ProgramDir + "ZARN.INI",
                   "[FLOPPY]\r\nA=" + work.toUtf8() + "\r\nA_CAPACITY=67108864\r\n");
  }
  const QStringList before = Snapshot();
  EXPECT_NE(Restore(archive), QDialog::Accepted);
  EXPECT_TRUE(
      ui.Texts().contains("Nincs elég hely a kicsomagoláshoz.\nAz adatbázis nem változott."))
      << ui.Texts().join('|').toStdString();
  // Nothing stays but the description of the database as it was.
  QStringList left;
  for (QDirIterator it(Globals().ProgramDir, QDir::Files, QDirIterator::Subdirectories);
       it.hasNext();)
    left << QDir(Globals().ProgramDir).relativeFilePath(it.next());
  left.removeAll("ZARN.INI");
  EXPECT_EQ(left, QStringList{"anna/OldABinfo.txt"});
  EXPECT_GT(FreeSpace(work), 60 << 20);
  EXPECT_EQ(Snapshot(), before);
}

}  // namespace
