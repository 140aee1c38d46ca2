// Times the backup and the restore of a company database of 10,000 assets and 120,000 items
// through the forms, beside mariadb-dump + zip -9 and unzip + mariadb < in the same run. Not a
// test: run it by hand against the private server.
#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app_globals.h"
#include "form_backup.h"
#include "form_restore.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "zip_test_util.h"

namespace {

TEST(BackupBenchmark, BackupAndRestoreBesideTheTools) {
  QTemporaryDir tmp;
  const AppGlobals saved = Globals();
  Globals().ProgramDir = tmp.path() + "/prog/";
  Globals().UserDir = tmp.path() + "/prog/u/";
  QDir().mkpath(Globals().UserDir);
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  t.CreateCompanyTables();
  t.Exec("INSERT INTO CEG (CEGNEV) VALUES ('Árvíztűrő Kft')");
  t.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, BESZERTEK) SELECT LPAD(seq, 6, '0'), "
      "CONCAT('Eszköz árvíztűrő ', seq), '2020-01-01' + INTERVAL seq % 1000 DAY, seq * 1000.5 "
      "FROM seq_1_to_10000");
  t.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, SZOVEG, BRUTTONOV, ECSNOV, SORSZAM) "
      "SELECT LPAD(1 + seq % 10000, 6, '0'), '2020-01-01' + INTERVAL seq % 2000 DAY, "
      "CHAR(48 + seq % 10), CONCAT('Tétel ', seq), seq / 3, seq / 7, seq FROM seq_1_to_120000");

  ScriptedUi ui;
  const QString zip = tmp.path() + "/ours.zip";
  const double backup = Seconds([&] {
    ui.Answer(zip);
    TFormBackup form(t.Db(), "x.zip");
    form.ListBox1->addItems({"a", "b", "c"});
    form.FormActivate();
    form.BtnOKClick();
    ASSERT_EQ(form.result(), QDialog::Accepted) << ui.Texts().join("|").toStdString();
  });
  const TestServer& s = TestServerFromEnv();
  const QString options = tmp.path() + "/peer.cnf";
  WriteFileBytes(options, QString("[client]\nhost=%1\nport=%2\nuser=%3\npassword=%4\n")
                              .arg(s.host)
                              .arg(s.port)
                              .arg(s.user, s.password)
                              .toUtf8());
  QFile::setPermissions(options, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  const double peerBackup = Seconds([&] {
    ASSERT_EQ(RunPeer(tmp.path(), "mariadb-dump",
                      {"--defaults-extra-file=" + options, "--add-drop-table",
                       "--result-file=" + tmp.path() + "/peer.sql", t.Name()}),
              0);
    ASSERT_EQ(RunPeer(tmp.path(), "zip", {"-q9", "peer.zip", "peer.sql"}), 0);
  });
  const double restore = Seconds([&] {
    ui.Answer(zip).Answer(true);
    TFormRestore form(t.Db(), "x.zip");
    form.FormActivate();
    form.BtnOKClick();
    ASSERT_EQ(form.result(), QDialog::Accepted) << ui.Texts().join("|").toStdString();
  });
  const double peerRestore = Seconds([&] {
    QDir().mkpath(tmp.path() + "/out");
    ASSERT_EQ(RunPeer(tmp.path() + "/out", "unzip", {"-qo", tmp.path() + "/peer.zip"}), 0);
    ASSERT_EQ(RunPeer(tmp.path(), "sh",
                      {"-c", "mariadb --defaults-extra-file=\"$1\" \"$2\" < \"$3\"", "sh", options,
                       t.Name(), tmp.path() + "/out/peer.sql"}),
              0);
  });
  std::printf("backup: %.2f s, mariadb-dump + zip -9: %.2f s, ratio %.2f\n", backup, peerBackup,
              backup / peerBackup);
  std::printf("restore: %.2f s, unzip + mariadb <: %.2f s, ratio %.2f\n", restore, peerRestore,
              restore / peerRestore);
  Globals() = saved;
}

}  // namespace
