#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app_globals.h"
#include "codepage.h"
#include "floppy_drive.h"
#include "form_backup.h"
#include "form_restore.h"
#include "form_ujfloppy.h"
#include "gui_test_util.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"
#include "zip_span.h"
#include "zip_test_util.h"

namespace {

// Scripted answers, and a hook that acts when a box with a given caption comes up (the user
// changing the disk while "Floppy csere" is shown).
class DiskUi : public ScriptedUi {
 public:
  std::function<void(const QString& caption, const QString& text)> onBox;
  MsgButton MessageBox(const QString& text, const QString& caption, MsgType type, int buttons,
                       MsgButton defaultButton) override {
    if (onBox) onBox(caption, text);
    return ScriptedUi::MessageBox(text, caption, type, buttons, defaultButton);
  }
};

const QStringList kDescription{"ZT ÉCS adatbázis", "Árvíztűrő Kft", "2026.12.09 10:30:00"};

class BackupForms : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Globals();
    Globals().ProgramDir = tmp.path() + "/prog/";
    Globals().UserDir = tmp.path() + "/prog/anna/";
    QDir().mkpath(Globals().UserDir);
    QDir().mkpath(Path("floppy"));
    ASSERT_TRUE(t.Ok());
    t.Exec(
        "CREATE TABLE MINTA (ID INT PRIMARY KEY, SZOVEG VARCHAR(40), DATUM DATE, "
        "OSSZEG DOUBLE, KICSI DOUBLE, PONTOS DECIMAL(15,2)) ENGINE=InnoDB");
    t.Exec(
        "INSERT INTO MINTA VALUES (1, 'árvíztűrő tükörfúrógép', '1900-01-01', "
        "0.30000000000000004, 1e-7, 12345.67), (2, 'Ő', '2026-12-09', -1, 0, -0.01)");
    t.Exec("CREATE TABLE CEG (CEGNEV VARCHAR(40)) ENGINE=InnoDB");
    t.Exec("INSERT INTO CEG VALUES ('Árvíztűrő Kft')");
  }
  void TearDown() override { Globals() = saved; }
  QString Path(const QString& name) const { return tmp.path() + "/" + name; }
  QString Checksums() { return Checksum("MINTA") + "|" + Checksum("CEG"); }
  QString Checksum(const QString& table) {
    auto db = t.Connect();
    TUniSQLQuery q;
    q.SetDatabase(db.get());
    q.SetSQL("CHECKSUM TABLE " + table);
    q.Open();
    return q.Fields(1)->Text();
  }
  void MapA(const QByteArray& extra = {}) {
    WriteFileBytes(Globals().ProgramDir + "ZARN.INI",
                   "[FLOPPY]\r\nA=" + Path("floppy").toUtf8() + "\r\n" + extra);
  }
  // The backup as the user runs it: the form comes up, the name is chosen, "&Start".
  int Backup(const QString& chosen) {
    ui.Answer(chosen);
    TFormBackup form(t.Db(), t.Name() + "-2026-12-09.zip");
    form.ListBox1->addItems(kDescription);
    form.FormActivate();
    if (form.Timer1->isActive()) return -1;
    form.BtnOKClick();
    return form.result();
  }
  // The restore likewise; answer is the reply to the confirmation.
  int Restore(const QString& chosen, bool answer, QStringList* archiveDescription = nullptr) {
    ui.Answer(chosen);
    TFormRestore form(t.Db(), t.Name() + "-2026-12-09.zip");
    form.ListBox2->addItems({"before"});
    form.FormActivate();
    if (archiveDescription)
      for (int i = 0; i < form.ListBox1->count(); ++i)
        *archiveDescription << form.ListBox1->item(i)->text();
    if (!form.BtnOK->isEnabled() || form.Timer1->isActive()) return -1;
    ui.Answer(answer);
    form.BtnOKClick();
    return form.result();
  }

  QTemporaryDir tmp;
  AppGlobals saved;
  TestDatabase t;
  DiskUi ui;
};

TEST_F(BackupForms, RoundTripRestoresEveryTableAsItWas) {
  const QString dir = Path("anna.kovacs/mentés");
  QDir().mkpath(dir);
  const QString before = Checksums();
  EXPECT_EQ(Backup(dir + "/x.zip"), QDialog::Accepted);
  EXPECT_TRUE(ui.Texts().contains("Mentés elkészült.")) << ui.Texts().join("|").toStdString();
  QString listing;
  ASSERT_EQ(RunPeer(dir, "unzip", {"-Z1", "x.zip"}, &listing), 0);
  EXPECT_EQ(listing.trimmed(), "dbment.sql");
  EXPECT_EQ(RunPeer(dir, "unzip", {"-tq", "x.zip"}), 0);
  EXPECT_EQ(ReadFileBytes(dir + "/x.txt"),
            FromUnicode(kDescription.join("\r\n") + "\r\n", CodePage::Cp1250));
  EXPECT_FALSE(QFileInfo::exists(Path("anna.txt")));
  // The work directory is the owner's only and keeps nothing.
  const QString work = Globals().ProgramDir + "work" + t.Name();
  EXPECT_EQ(QFileInfo(work).permissions() & 0x0077, 0);
  EXPECT_FALSE(QFileInfo::exists(work + "/work.zip"));
  EXPECT_FALSE(QFileInfo::exists(work + "/dbment.sql"));
  EXPECT_TRUE(t.Db().Connected());

  t.Exec("UPDATE MINTA SET SZOVEG = 'más', OSSZEG = 1");
  t.Exec("INSERT INTO MINTA VALUES (3, 'új', '2026-01-01', 2, 2, 2)");
  ASSERT_NE(Checksums(), before);
  ui.Clear();
  QStringList description;
  EXPECT_EQ(Restore(dir + "/x.zip", true, &description), QDialog::Accepted);
  EXPECT_EQ(description, kDescription);
  ASSERT_FALSE(ui.Calls().isEmpty());
  const auto ask = std::find_if(ui.Calls().begin(), ui.Calls().end(),
                                [](const auto& c) { return c.kind == ScriptedUi::Kind::AskYesNo; });
  ASSERT_NE(ask, ui.Calls().end());
  EXPECT_EQ(ask->lines,
            (QStringList{"Biztosan visszatölti ezt a mentést a(z) " + t.Name() + " adatbázisba?",
                         "ZT ÉCS adatbázis / Árvíztűrő Kft",
                         "A mentés egy másik adatbázisból (ZT) készült!"}));
  EXPECT_EQ(ui.Texts().last(), "Visszatöltés kész.");
  EXPECT_EQ(Checksums(), before);
  EXPECT_EQ(t.Value("SELECT SZOVEG FROM MINTA WHERE ID = 1"), "árvíztűrő tükörfúrógép");
  EXPECT_EQ(ReadFileBytes(Globals().UserDir + "OldABinfo.txt"), "before\r\n");
  EXPECT_TRUE(t.Db().Connected());
  EXPECT_EQ(t.Value("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME LIKE '" +
                    t.Name() + "\\_%'"),
            "0");

  // No changes nothing.
  t.Exec("DELETE FROM MINTA WHERE ID = 2");
  const QString changed = Checksums();
  ui.Clear();
  EXPECT_NE(Restore(dir + "/x.zip", false), QDialog::Accepted);
  EXPECT_EQ(Checksums(), changed);
  EXPECT_FALSE(ui.Texts().contains("Visszatöltés kész."));
}

TEST_F(BackupForms, BrokenBackupsLeaveTheDatabaseAsItWas) {
  const QString good = Path("good.zip");
  ASSERT_EQ(Backup(good), QDialog::Accepted);
  const QString before = Checksums();
  // Archives made by hand around a dump.
  QDir().mkpath(Path("made"));
  ASSERT_EQ(RunPeer(Path("made"), "unzip", {"-q", good}), 0);
  QByteArray dump = ReadFileBytes(Path("made/dbment.sql"));
  WriteFileBytes(Path("made/dbment.sql"), dump.left(dump.indexOf("INSERT INTO") + 40));
  ASSERT_EQ(RunPeer(Path("made"), "zip", {"-q", Path("cut.zip"), "dbment.sql"}), 0);
  QByteArray flipped = ReadFileBytes(good);
  flipped[60] = char(flipped[60] ^ 0x20);
  WriteFileBytes(Path("flipped.zip"), flipped);
  WriteFileBytes(Path("made/other.txt"), "nincs dump");
  ASSERT_EQ(RunPeer(Path("made"), "zip", {"-q", Path("nodump.zip"), "other.txt"}), 0);
  // The good backup as a set of small parts: the restore is given only its last part.
  {
    RecordingZip r;
    r.zip.MaxVolumeSize = 1000;
    r.zip.MinFreeVolumeSize = 100;
    r.zip.SpanOptions = 1u << spCompatName;
    r.zip.SetActive(true);
    QDir().mkpath(Path("set"));
    ASSERT_EQ(TZipSpan(r.zip.Engine()).WriteSpan(good, Path("set/span.zip"), true), 0)
        << r.Texts().join('\n').toStdString();
    ASSERT_TRUE(QFileInfo::exists(Path("set/span.z01")));
  }

  t.Exec("UPDATE MINTA SET SZOVEG = 'más'");
  const QString changed = Checksums();
  const struct {
    const char* name;
    QString archive;
    QString told;
  } cases[] = {
      {"flipped byte", Path("flipped.zip"), "Hiba a zip tesztelése közben"},
      {"cut dump", Path("cut.zip"), "Hiba a kicsomagolásközben\nAz adatbázis nem változott."},
      {"last part of a set", Path("set/span.zip"), "Hiba a zip tesztelése közben"},
      {"no dump", Path("nodump.zip"),
       "NEM ELÉRHEŐ AZ ADATBÁZIS KÖNVTÁR.\r\nA MENTÉST NEM LEHET VISSZATÖLTENI!"},
  };
  for (const auto& c : cases) {
    ui.Clear();
    Restore(c.archive, true);
    EXPECT_EQ(Checksums(), changed) << c.name;
    EXPECT_TRUE(ui.Texts().contains(c.told))
        << c.name << ": " << ui.Texts().join("|").toStdString();
    EXPECT_FALSE(ui.Texts().contains("Visszatöltés kész.")) << c.name;
    EXPECT_TRUE(t.Db().Connected()) << c.name;
  }

  // A client that dies half way through the load.
  WriteScript(Globals().ProgramDir, "mariadb",
              "head -c 3000 | /usr/bin/mariadb \"$@\"\nkill -9 $$\n");
  ui.Clear();
  Restore(good, true);
  EXPECT_EQ(Checksums(), changed);
  EXPECT_TRUE(ui.Texts().contains("Hiba a kicsomagolásközben\nAz adatbázis nem változott."))
      << ui.Texts().join("|").toStdString();
  QFile::remove(Globals().ProgramDir + "mariadb");
  EXPECT_EQ(Restore(good, true), QDialog::Accepted);
  EXPECT_EQ(Checksums(), before);

  // A dump that fails stops the backup before anything is zipped.
  WriteScript(Globals().ProgramDir, "mariadb-dump", "exit 1\n");
  ui.Clear();
  EXPECT_NE(Backup(Path("failed.zip")), QDialog::Accepted);
  EXPECT_TRUE(ui.Texts().contains("Hiba SQLDump készítése közben!"));
  EXPECT_FALSE(QFileInfo::exists(Path("failed.zip")));
  EXPECT_TRUE(t.Db().Connected());
  t.Exec("UPDATE MINTA SET SZOVEG = 'írható'");  // the read locks are gone
}

TEST_F(BackupForms, ACancelledSaveDialogClosesTheFormAndTouchesNothing) {
  ui.Cancel();
  TFormBackup form(t.Db(), "x.zip");
  form.FormActivate();
  EXPECT_TRUE(form.Timer1->isActive());
  EXPECT_EQ(form.Timer1->interval(), 1000);
  EXPECT_TRUE(QDir(form.WorkDir()).entryList(QDir::Files).isEmpty());
}

TEST_F(BackupForms, FloppyBackupOverTwoDisksAndItsRestore) {
  // A dump that does not compress: two parts.
  WriteScript(Globals().ProgramDir, "mariadb-dump",
              "out=${3#--result-file=}\nhead -c 1600000 /dev/urandom | base64 > \"$out\"\n"
              "echo '-- Dump completed' >> \"$out\"\n");
  MapA();
  QDir().mkpath(Path("disk1"));
  QStringList onBoxes;
  ui.onBox = [&](const QString& caption, const QString& text) {
    if (caption == "Floppy csere") onBoxes << text;
  };
  // Disk 2: the first disk is taken out (its files go to disk1), an empty one put in.
  OnNextModal(
      [&](QWidget* w) {
        auto* dialog = static_cast<TFormUjfloppy*>(w);
        EXPECT_EQ(w->windowTitle(), "Floppy Lemez");
        for (const QString& f : QDir(Path("floppy")).entryList(QDir::Files))
          QFile::rename(Path("floppy/" + f), Path("disk1/" + f));
        dialog->BtnUjLemez->click();
        EXPECT_EQ(dialog->FileListBox1->count(), 0);
        dialog->BtnMehet->click();
      },
      30000);
  ASSERT_EQ(Backup("a:\\x.zip"), QDialog::Accepted);
  EXPECT_EQ(onBoxes, (QStringList{" Kérem a 1.Lemezt!\n(Összesen 2 db)",
                                  " Kérem a 2.Lemezt!\n(Összesen 2 db)"}));
  EXPECT_TRUE(ui.Texts().contains("Mentés elkészült."));
  const QByteArray first = ReadFileBytes(Path("disk1/X.SPL"));
  EXPECT_EQ(first.size(), 1398000);
  EXPECT_EQ(first.mid(30, 2), QByteArray("\x02\x00", 2));
  EXPECT_TRUE(QFileInfo::exists(Path("disk1/x.txt")));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/X.001")));

  // The restore: disk 1 is in; it asks for disk 2 only, and again while the wrong one is in.
  for (const QString& f : QDir(Path("floppy")).entryList(QDir::Files))
    QFile::rename(Path("floppy/" + f), Path("disk2-" + f));
  for (const QString& f : QDir(Path("disk1")).entryList(QDir::Files))
    QFile::rename(Path("disk1/" + f), Path("floppy/" + f));
  onBoxes.clear();
  int prompts = 0;
  ui.onBox = [&](const QString& caption, const QString& text) {
    if (caption != "Floppy csere") return;
    onBoxes << text;
    if (++prompts == 2) QFile::rename(Path("disk2-X.001"), Path("floppy/X.001"));
  };
  ui.Clear();
  ui.Answer(QString("a:\\X.SPL")).Answer(mbOK).Answer(mbOK);
  QStringList description;
  TFormRestore form(t.Db(), "x.zip");
  form.FormActivate();
  EXPECT_EQ(onBoxes, (QStringList{" Kérem a 2.Lemezt!\n(Összesen 2 db)",
                                  " Kérem a 2.Lemezt!\n(Összesen 2 db)"}));
  for (int i = 0; i < form.ListBox1->count(); ++i) description << form.ListBox1->item(i)->text();
  EXPECT_EQ(description, kDescription);
  EXPECT_TRUE(QFileInfo::exists(form.WorkDir() + "/work.zip"));
}

TEST_F(BackupForms, AProtectedOrFullDiskIsFreedInTheDialogAndLeavingItAbandons) {
  WriteScript(Globals().ProgramDir, "mariadb-dump",
              "out=${3#--result-file=}\necho 'select 1;' > \"$out\"\necho '-- Dump completed' >> "
              "\"$out\"\n");
  // Protected: told, the dialog, the tab slid, written.
  MapA("A_WRITEPROTECT=1\r\n");
  OnNextModal([&](QWidget* w) {
    MapA();
    static_cast<TFormUjfloppy*>(w)->BtnMehet->click();
  });
  ASSERT_EQ(Backup("a:\\x.zip"), QDialog::Accepted);
  EXPECT_TRUE(ui.Texts().contains("Az írásvédettséget meg kell szüntetni!\n"));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/X.SPL")));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/x.txt")));

  // Full: the dialog, "&Törlés" of the file in the way, on.
  for (const QString& f : QDir(Path("floppy")).entryList(QDir::Files))
    QFile::remove(Path("floppy/" + f));
  WriteFileBytes(Path("floppy/regi.dat"), QByteArray(100000, 'x'));
  ui.Clear();
  OnNextModal([&](QWidget* w) {
    auto* dialog = static_cast<TFormUjfloppy*>(w);
    ASSERT_EQ(dialog->FileListBox1->count(), 1);
    dialog->FileListBox1->setCurrentRow(0);
    dialog->BtnTorles->click();
    dialog->BtnMehet->click();
  });
  ASSERT_EQ(Backup("a:\\x.zip"), QDialog::Accepted);
  EXPECT_FALSE(QFileInfo::exists(Path("floppy/regi.dat")));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/X.SPL")));
  EXPECT_TRUE(ui.Texts().contains("Mentés elkészült."));

  // "&Kilépés": abandoned, no completion.
  WriteFileBytes(Path("floppy/regi.dat"), QByteArray(100000, 'x'));
  ui.Clear();
  OnNextModal([&](QWidget* w) { static_cast<TFormUjfloppy*>(w)->BtnKilepes->click(); });
  EXPECT_EQ(Backup("a:\\y.zip"), 2);
  EXPECT_TRUE(ui.Texts().contains("Mentés megszakitva."));
  EXPECT_FALSE(ui.Texts().contains("Mentés elkészült."));
  EXPECT_TRUE(t.Db().Connected());

  // A drive letter with nothing behind it.
  WriteFileBytes(Globals().ProgramDir + "ZARN.INI", "");
  ui.Clear();
  EXPECT_NE(Backup("b:\\x.zip"), QDialog::Accepted);
  EXPECT_TRUE(ui.Texts().contains("Hiba a tömöritett fájl másolása közben"));
}

}  // namespace
