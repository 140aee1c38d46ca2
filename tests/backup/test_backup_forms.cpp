#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <memory>

#include "app_globals.h"
#include "archive_form_test_util.h"
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

class BackupForms : public ArchiveFormTest {
 protected:
  void SetUp() override {
    ArchiveFormTest::SetUp();
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
  // CHECKSUM TABLE of every table of the database.
  QString Checksums() {
    QStringList sums;
    for (const QString& table : Rows(t, "SHOW TABLES")) sums << table + "=" + Checksum(table);
    return sums.join('|');
  }
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
  int Backup(const QString& chosen, TUniSQLDatabase* db = nullptr,
             const std::function<void(TFormBackup&)>& prepare = {}) {
    return RunBackupForm(ui, db ? *db : t.Db(), chosen, kDescription, prepare);
  }
  int Restore(const QString& chosen, bool answer, QStringList* archiveDescription = nullptr,
              TUniSQLDatabase* db = nullptr) {
    return RunRestoreForm(ui, db ? *db : t.Db(), chosen, answer, archiveDescription);
  }

  // What the save dialog answers when "name" is typed into it: its current folder before it.
  static QString Typed(const QString& name) { return QDir::currentPath() + "/" + name; }
  // Takes the disk out of the drive (its files go to the folder out) and puts in the disk in
  // the folder in (an empty one when there is none).
  void ChangeDisk(const QString& out, const QString& in = {}) {
    QDir().mkpath(Path(out));
    for (const QString& f : QDir(Path("floppy")).entryList(QDir::Files))
      QFile::rename(Path("floppy/" + f), Path(out + "/" + f));
    if (in.isEmpty()) return;
    for (const QString& f : QDir(Path(in)).entryList(QDir::Files))
      QFile::rename(Path(in + "/" + f), Path("floppy/" + f));
  }
  // Boxes of the zip component and those of the forms' handler, by caption.
  int Boxes(const QString& caption) const {
    int n = 0;
    for (const auto& call : ui.Calls())
      if (call.kind == ScriptedUi::Kind::MessageBox && call.caption == caption) ++n;
    return n;
  }
  // Rows that do not compress, about bytes of them.
  void AddBulk(int bytes) {
    t.Exec("CREATE TABLE NAGY (ID INT PRIMARY KEY, ADAT VARCHAR(2000)) ENGINE=InnoDB");
    for (int id = 0; id * 1500 < bytes;) {
      QStringList rows;
      for (int i = 0; i < 200 && id * 1500 < bytes; ++i, ++id)
        rows << QString("(%1, '%2')")
                    .arg(id)
                    .arg(QString::fromLatin1(RandomBytes(1125, quint32(id + 1)).toBase64()));
      t.Exec("INSERT INTO NAGY VALUES " + rows.join(','));
    }
  }

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
  WriteFileBytes(Path("halved.zip"), ReadFileBytes(good).left(ReadFileBytes(good).size() / 2));
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
      {"cut archive", Path("halved.zip"), "Hiba a zip tesztelése közben"},
      {"cut dump", Path("cut.zip"),
       "A mentett SQL fájl nem teljes (hiányzik a záró sora), nem tölthető vissza.\nAz "
       "adatbázis nem változott."},
      {"last part of a set", Path("set/span.zip"), "Hiba a zip tesztelése közben"},
      {"no dump", Path("nodump.zip"), "A mentésben nincs dbment.sql.\nAz adatbázis nem változott."},
  };
  for (const auto& c : cases) {
    ui.Clear();
    Restore(c.archive, true);
    EXPECT_EQ(Checksums(), changed) << c.name;
    EXPECT_TRUE(ui.Texts().contains(c.told))
        << c.name << ": " << ui.Texts().join("|").toStdString();
    EXPECT_FALSE(ui.Texts().contains("Visszatöltés kész.")) << c.name;
    EXPECT_TRUE(t.Db().Connected()) << c.name;
    // A failure is told once: by the form's handler, not by the component as well.
    EXPECT_LE(Boxes("ZIP hiba"), 1) << c.name << ": " << ui.Texts().join("|").toStdString();
    EXPECT_EQ(Boxes(""), 0) << c.name << ": " << ui.Texts().join("|").toStdString();
  }
  ui.Clear();
  Restore(Path("halved.zip"), true);
  EXPECT_EQ(ui.Texts().filter("This archive is not a valid Zip archive").size(), 1)
      << ui.Texts().join("|").toStdString();

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

TEST_F(BackupForms, FloppyBackupOverThreeDisksChosenInTheMappedFolderAndItsRestore) {
  // About four megabytes that do not compress: three parts.
  AddBulk(4000000);
  const QString before = Checksums();
  MapA();
  QStringList onBoxes;
  ui.onBox = [&](const QString& caption, const QString& text) {
    if (caption != "Floppy csere") return;
    onBoxes << text;
    if (text.contains("2.Lemezt")) ChangeDisk("disk1");
    if (text.contains("3.Lemezt")) ChangeDisk("disk2");
  };
  // The save dialog gives the path in the folder that stands for A:.
  ASSERT_EQ(Backup(Path("floppy") + "/x.zip"), QDialog::Accepted)
      << ui.Texts().join('|').toStdString();
  EXPECT_EQ(onBoxes, (QStringList{" Kérem a 1.Lemezt!\n(Összesen 3 db)",
                                  " Kérem a 2.Lemezt!\n(Összesen 3 db)",
                                  " Kérem a 3.Lemezt!\n(Összesen 3 db)"}));
  EXPECT_TRUE(ui.Texts().contains("Mentés elkészült."));
  EXPECT_EQ(QDir(Path("disk1")).entryList(QDir::Files), (QStringList{"X.SPL", "x.txt"}));
  EXPECT_EQ(QDir(Path("disk2")).entryList(QDir::Files), QStringList{"X.001"});
  EXPECT_EQ(QDir(Path("floppy")).entryList(QDir::Files), QStringList{"X.002"});
  const QByteArray first = ReadFileBytes(Path("disk1/X.SPL"));
  EXPECT_EQ(first.size(), 1398000);
  EXPECT_EQ(first.mid(30, 2), QByteArray("\x03\x00", 2));

  // The restore from the path of the first part: it asks for disks 2 and 3.
  t.Exec("UPDATE NAGY SET ADAT = 'más'");
  t.Exec("DELETE FROM MINTA");
  ChangeDisk("disk3", "disk1");
  onBoxes.clear();
  ui.onBox = [&](const QString& caption, const QString& text) {
    if (caption != "Floppy csere") return;
    onBoxes << text;
    if (text.contains("2.Lemezt")) ChangeDisk("disk1", "disk2");
    if (text.contains("3.Lemezt")) ChangeDisk("disk2", "disk3");
  };
  ui.Clear();
  QStringList description;
  EXPECT_EQ(Restore(Path("floppy") + "/X.SPL", true, &description), QDialog::Accepted)
      << ui.Texts().join('|').toStdString();
  EXPECT_EQ(onBoxes, (QStringList{" Kérem a 2.Lemezt!\n(Összesen 3 db)",
                                  " Kérem a 3.Lemezt!\n(Összesen 3 db)"}));
  EXPECT_EQ(description, kDescription);
  EXPECT_EQ(Checksums(), before);
}

TEST_F(BackupForms, AFloppySetRestoredFromATypedNameAsksForTheWrongDiskAgain) {
  AddBulk(2200000);  // two parts
  const QString before = Checksums();
  MapA();
  ui.onBox = [&](const QString& caption, const QString& text) {
    if (caption == "Floppy csere" && text.contains("2.Lemezt")) ChangeDisk("disk1");
  };
  // "a:\x.zip" typed into the save dialog.
  ASSERT_EQ(Backup(Typed("a:\\x.zip")), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  EXPECT_TRUE(QFileInfo::exists(Path("disk1/X.SPL")));
  EXPECT_TRUE(QFileInfo::exists(Path("disk1/x.txt")));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/X.001")));

  // Disk 1 is in; the prompt for disk 2 comes again while the wrong one is in.
  t.Exec("DELETE FROM NAGY");
  ChangeDisk("disk2", "disk1");
  int prompts = 0;
  QStringList onBoxes;
  ui.onBox = [&](const QString& caption, const QString& text) {
    if (caption != "Floppy csere") return;
    onBoxes << text;
    if (++prompts == 2) ChangeDisk("disk1", "disk2");
  };
  ui.Clear();
  ui.Answer(Typed("a:\\X.SPL"));
  TFormRestore form(t.Db(), "x.zip");
  form.FormActivate();
  EXPECT_EQ(onBoxes, (QStringList{" Kérem a 2.Lemezt!\n(Összesen 2 db)",
                                  " Kérem a 2.Lemezt!\n(Összesen 2 db)"}));
  ASSERT_EQ(form.ListBox1->count(), 3);
  EXPECT_EQ(form.ListBox1->item(1)->text(), kDescription[1]);
  ui.Answer(true);
  form.BtnOKClick();
  EXPECT_EQ(form.result(), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  EXPECT_EQ(Checksums(), before);
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
  ASSERT_EQ(Backup(Typed("a:\\x.zip")), QDialog::Accepted);
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
  ASSERT_EQ(Backup(Typed("a:\\x.zip")), QDialog::Accepted);
  EXPECT_FALSE(QFileInfo::exists(Path("floppy/regi.dat")));
  EXPECT_TRUE(QFileInfo::exists(Path("floppy/X.SPL")));
  EXPECT_TRUE(ui.Texts().contains("Mentés elkészült."));

  // "&Kilépés": abandoned, no completion.
  WriteFileBytes(Path("floppy/regi.dat"), QByteArray(100000, 'x'));
  ui.Clear();
  OnNextModal([&](QWidget* w) { static_cast<TFormUjfloppy*>(w)->BtnKilepes->click(); });
  EXPECT_EQ(Backup(Typed("a:\\y.zip")), 2);
  EXPECT_TRUE(ui.Texts().contains("Mentés megszakitva."));
  EXPECT_FALSE(ui.Texts().contains("Mentés elkészült."));
  EXPECT_TRUE(t.Db().Connected());

  // A drive letter with nothing behind it.
  WriteFileBytes(Globals().ProgramDir + "ZARN.INI", "");
  ui.Clear();
  EXPECT_NE(Backup(Typed("b:\\x.zip")), QDialog::Accepted);
  EXPECT_TRUE(ui.Texts().contains("Hiba a tömöritett fájl másolása közben"));
}

TEST_F(BackupForms, ASplNameOnAHardDiskAndNamesInAnotherCaseRestore) {
  const QString before = Checksums();
  // Named ".spl" on a hard disk: a plain zip, restored as one.
  ASSERT_EQ(Backup(Path("x.spl")), QDialog::Accepted);
  EXPECT_TRUE(ReadFileBytes(Path("x.spl")).startsWith("PK\3\4"));
  EXPECT_TRUE(QFileInfo::exists(Path("x.txt")));
  t.Exec("DELETE FROM MINTA");
  ui.Clear();
  EXPECT_EQ(Restore(Path("x.spl"), true), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  EXPECT_EQ(Checksums(), before);

  // The dump and the description written in capitals.
  QDir().mkpath(Path("upper"));
  ASSERT_EQ(RunPeer(Path("upper"), "unzip", {"-q", Path("x.spl")}), 0);
  QFile::rename(Path("upper/dbment.sql"), Path("upper/DBMENT.SQL"));
  ASSERT_EQ(RunPeer(Path("upper"), "zip", {"-q", Path("upper.zip"), "DBMENT.SQL"}), 0);
  QFile::copy(Path("x.txt"), Path("UPPER.TXT"));
  t.Exec("DELETE FROM MINTA");
  ui.Clear();
  QStringList description;
  EXPECT_EQ(Restore(Path("upper.zip"), true, &description), QDialog::Accepted)
      << ui.Texts().join('|').toStdString();
  EXPECT_EQ(description, kDescription);
  EXPECT_EQ(Checksums(), before);
}

TEST_F(BackupForms, WithLocalhostAndAPortTheToolsReachTheSameServer) {
  // "localhost" with a port is the server on that port, not the default socket's.
  TUniSQLDatabase local;
  ConfigureTestServer(local, t.Name());
  local.SetHost("localhost");
  local.Connect();
  const QString before = Checksums();
  ASSERT_EQ(Backup(Path("l.zip"), &local), QDialog::Accepted) << ui.Texts().join('|').toStdString();
  t.Exec("UPDATE MINTA SET SZOVEG = 'más'");
  ui.Clear();
  EXPECT_EQ(Restore(Path("l.zip"), true, nullptr, &local), QDialog::Accepted)
      << ui.Texts().join('|').toStdString();
  EXPECT_EQ(Checksums(), before);
}

// Writes beyond limit bytes fail from now on, as on a full disk, until the object goes.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &m_old);
    m_handler = signal(SIGXFSZ, SIG_IGN);
    rlimit r = m_old;
    r.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &r);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    signal(SIGXFSZ, m_handler);
  }

 private:
  rlimit m_old;
  sighandler_t m_handler;
};

TEST_F(BackupForms, AFullTargetLeavesTheEarlierBackupAsItWas) {
  AddBulk(600000);  // an archive of about half a megabyte
  SmallDisk disk(Path("target"), 256 << 10);
  WriteFileBytes(Path("target/x.zip"), "the earlier archive");
  WriteFileBytes(Path("target/x.txt"), "the earlier description\r\n");
  std::unique_ptr<FileSizeLimit> full;
  const auto prepare = [&](TFormBackup& form) {
    if (disk.Mounted()) return;
    // No file system of its own here: once the archive is tested, no file may grow past what
    // the disk would have taken.
    const auto handler = form.ZipArchiver1->OnMessage;
    form.ZipArchiver1->OnMessage = [&full, handler](QObject* s, int code, const QString& m) {
      handler(s, code, m);
      if (m == "No Errors") full = std::make_unique<FileSizeLimit>(128 << 10);
    };
  };
  EXPECT_NE(Backup(Path("target/x.zip"), nullptr, prepare), QDialog::Accepted);
  full.reset();
  EXPECT_TRUE(ui.Texts().contains("Hiba a tömöritett fájl másolása közben"))
      << ui.Texts().join('|').toStdString();
  EXPECT_EQ(ReadFileBytes(Path("target/x.zip")), "the earlier archive");
  EXPECT_EQ(ReadFileBytes(Path("target/x.txt")), "the earlier description\r\n");
  EXPECT_EQ(QDir(Path("target")).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"x.txt", "x.zip"}));
  EXPECT_TRUE(t.Db().Connected());
}

}  // namespace
