#include "form_restore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "app_globals.h"
#include "backup_files.h"
#include "data_set_model.h"
#include "data_source.h"
#include "exceptions.h"
#include "file_splitter.h"
#include "floppy_drive.h"
#include "form_setup.h"
#include "text_file.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "zip_archiver.h"

namespace {

const QString kFigyelem = QStringLiteral("FIGYELEM");
// Room kept free beside the dump when it is unpacked.
constexpr qint64 kUnpackMargin = qint64(1) << 20;
enum { kElokeszites, kTeszt, kKicsomagolas, kFelszabaditas };

TArchiveForm::Texts RestoreTexts() {
  return {"FormRestore",
          QStringLiteral("Adatbázis visszaállítás"),
          QStringLiteral("Visszaállítás"),
          "DBGProcess",
          QStringLiteral("Jelenleg aktiv folyamatok:"),
          QStringLiteral("Mentő fájl  tartalma:"),
          QStringLiteral("Adatbázis jelenlegi tartalma:"),
          "LbZipnev",
          {{QStringLiteral("Előkészités"), "Image1"},
           {QStringLiteral("zip teszteléselása"), "Image4"},
           {QStringLiteral("zip kicsomagolása"), "Image5"},
           {QStringLiteral("Táblák felszabadítása"), "Image6"}},
          ExtrOpts{ExtrOverWrite},
          {QStringLiteral("Tested file"), QStringLiteral("No Errors"), QStringLiteral("no error"),
           QStringLiteral("trace:"), QStringLiteral("Unzipped")}};
}

QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

}  // namespace

TFormRestore::TFormRestore(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent)
    : TArchiveForm(connection, fileName, RestoreTexts(), parent),
      DBGProcess(Grid),
      LbZipnev(ZipName),
      Image1(Ticks[0]),
      Image4(Ticks[1]),
      Image5(Ticks[2]),
      Image6(Ticks[3]) {
  FileSplitter1->SetSize(1457664);
  FileSplitter1->SetBufferSize(1457664);
  FileSplitter1->SetReduceFirstSizeBy(0);
  FileSplitter1->OnNeedDisk = [this](QObject* s, uint16_t id, uint16_t n, bool& c) {
    FileSplitter1NeedDisk(s, id, n, c);
  };
}

void TFormRestore::FormActivate() {
  if (!Prepare(5020, QStringLiteral("Hiba az aktiv felhasználók lekérdezése közben"))) return;
  const QFileInfo proposed(m_fileName);
  m_chosen = DialogChoice(Ui().OpenFileName(
      QString(), proposed.path() == QLatin1String(".") ? QString() : proposed.path(),
      QStringLiteral("Mentések (*.zip *.spl);;SPL fájlok (*.spl);;zip fájlok (*.zip)"),
      QStringLiteral("zip")));
  if (m_chosen.isEmpty()) {
    QProcess->Close();
    Timer1->start();
    return;
  }
  LbZipnev->setText(m_chosen);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_errorText = QStringLiteral("Hiba a zip fájl másolása közben");
  const QString workZip = WorkFile("work.zip");
  // The description stands beside the first part: read while that disk is in the drive.
  LoadDescription(ListBox1);
  bool read = false;
  // A split set is told by its header, whatever its name says.
  if (TFileSplitter::IsSplitSet(m_chosen)) {
    FileSplitter1->SetSplitFileName(m_chosen);
    FileSplitter1->SetFileName(workZip);
    read = FileSplitter1->Join();
  } else {
    read = CopyFileTo(m_chosen, workZip) == 0;
  }
  if (!read) QFile::remove(workZip);  // a part-joined or part-copied archive is no archive
  if (!QFileInfo::exists(workZip)) {
    ListBox1->clear();
    Ui().MessageBox(QStringLiteral("Nem sikerült a zip fájlt beolvasni."), QStringLiteral("HIBA"),
                    MsgType::Error, mbOK, mbOK);
    QProcess->Close();
    QApplication::restoreOverrideCursor();
    BtnOK->setEnabled(false);
    BtnMegsem->setEnabled(true);
    return;
  }
  QApplication::restoreOverrideCursor();
  LBZIPmsg->clear();
}

void TFormRestore::FileSplitter1NeedDisk(QObject*, int DiskID, int NumOfDisks, bool& Continue) {
  // Only a set on a floppy asks for disks; the first one is in the drive already.
  if (DiskID <= 1 || DiskID > NumOfDisks || !FloppyDriveOf(m_chosen)) return;
  QString part = m_chosen;
  for (int k = 1; k < DiskID; ++k) part = TFileSplitter::NextPartName(part, k);
  for (;;) {
    const MsgButton answer = Ui().MessageBox(
        QStringLiteral(" Kérem a %1.Lemezt!\n(Összesen %2 db)").arg(DiskID).arg(NumOfDisks),
        QStringLiteral("Floppy csere"), MsgType::Information, mbOK | mbCancel, mbOK);
    if (answer != mbOK) {
      Continue = false;
      QApplication::restoreOverrideCursor();
      return;
    }
    if (!ExistingLocalPath(part).isEmpty()) {
      Continue = true;
      return;
    }
  }
}

void TFormRestore::BtnOKClick() {
  const QString database = m_connection.Databasename();
  const QStringList archive = Lines(ListBox1);
  QString origin = archive.value(0);
  origin.remove(QStringLiteral(" ÉCS adatbázis"));
  origin = origin.trimmed();
  const QString about = archive.isEmpty() ? QStringLiteral("(nincs leírás)")
                                          : archive.mid(0, 2).join(QStringLiteral(" / "));
  const QString other =
      !origin.isEmpty() && origin.compare(database, Qt::CaseInsensitive) != 0
          ? QStringLiteral("A mentés egy másik adatbázisból (%1) készült!").arg(origin)
          : QString();
  if (!Ui().AskYesNo(
          QStringLiteral("Biztosan visszatölti ezt a mentést a(z) %1 adatbázisba?").arg(database),
          about, other, kFigyelem))
    return;
  BtnOK->setEnabled(false);
  const QString workZip = WorkFile("work.zip");
  QString dump;
  // Whatever the outcome, the archive and its dump do not stay in the work directory.
  const struct Cleanup {
    const QString& workZip;
    const QString& dump;
    ~Cleanup() {
      QFile::remove(workZip);
      if (!dump.isEmpty()) QFile::remove(dump);
    }
  } cleanup{workZip, dump};
  const QString unchanged = QStringLiteral("Az adatbázis nem változott.");
  const auto refuse = [&](const QString& why) {
    m_errorText = why;
    Fail(kFigyelem, unchanged);
  };
  Step(kElokeszites, false);
  SaveStringsToFile(Lines(ListBox2), Globals().UserDir + QStringLiteral("OldABinfo.txt"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    m_errorText = QStringLiteral("Hiba a tábla nevek lekérdezése közben");
    QTables->SetDatabase(&m_connection);
    QTables->Open();
    Step(kElokeszites, true);
    m_errorText = QStringLiteral("Hiba a táblák zárolása közben");
    m_connection.Disconnect();
    m_zipError = false;
  } catch (const Exception&) {
    Fail();
    return;
  }
  m_errorText = QStringLiteral("Hiba a zip tesztelése közben");
  Step(kTeszt, false);
  ZipArchiver1->SetZipFileName(workZip);
  // What the archive holds is known from its directory: the dump under any letter case, and
  // whether the work directory has room for it, before anything is unpacked.
  const ZipDirEntry* dumpEntry = nullptr;
  for (const ZipDirEntry& entry : ZipArchiver1->Engine().ZipContents())
    if (!dumpEntry && entry.FileName.compare(QLatin1String("dbment.sql"), Qt::CaseInsensitive) == 0)
      dumpEntry = &entry;
  if (ZipArchiver1->Count() > 0 && !m_zipError) {
    if (!dumpEntry) {
      refuse(QStringLiteral("A mentésben nincs dbment.sql."));
      return;
    }
    const qint64 declared = dumpEntry->UncomprSize;
    const qint64 free = FreeSpace(m_workDir);
    if (free >= 0 && free < declared + declared / 10 + kUnpackMargin) {
      refuse(QStringLiteral("Nincs elég hely a kicsomagoláshoz."));
      return;
    }
  }
  const QString dumpName = dumpEntry ? dumpEntry->FileName : QString();
  ZipArchiver1->FSpecArgs = QStringList{QStringLiteral("*.*")};
  ZipArchiver1->ExtrBaseDir = m_workDir;
  ZipArchiver1->ExtrOptions << ExtrTest;
  const int tested = ZipArchiver1->Extract();
  ZipArchiver1->ExtrOptions >> ExtrTest;
  if (ZipArchiver1->Count() != ZipArchiver1->SuccessCnt() || m_zipError) {
    Fail(QStringLiteral("FIGYELEM !!!"));
    return;
  }
  if (tested != 0) {
    Fail();
    return;
  }
  Step(kTeszt, true);
  m_errorText = QStringLiteral("Hiba a kicsomagolásközben");
  Step(kKicsomagolas, false);
  // Only the dump is taken out, into the work directory, under the name it has there.
  dump = m_workDir + '/' + dumpName;
  ZipArchiver1->FSpecArgs = QStringList{dumpName};
  ZipArchiver1->SetZipFileName(workZip);
  ZipArchiver1->ExtrBaseDir = m_workDir;
  const int extracted = ZipArchiver1->Extract();
  if (m_zipError || extracted != 0 || !QFileInfo::exists(dump)) {
    Fail(m_zipError ? QStringLiteral("FIGYELEM !!!") : kFigyelem, unchanged);
    return;
  }
  const TReloadResult reloaded =
      ReloadDump(m_connection, dump, [this](const QString& t) { RestoreProgressText(t); });
  switch (reloaded) {
    case TReloadResult::Reloaded:
      break;
    case TReloadResult::Incomplete:
      refuse(QStringLiteral(
          "A mentett SQL fájl nem teljes (hiányzik a záró sora), nem tölthető vissza."));
      return;
    case TReloadResult::Outside:
      refuse(QStringLiteral(
          "A mentés más adatbázist vagy a szervert is módosítaná, nem tölthető vissza."));
      return;
    case TReloadResult::Unchanged:
      Fail(kFigyelem, unchanged);
      return;
    case TReloadResult::Unknown:
      Fail();
      return;
  }
  lbProgress->setText(QStringLiteral("OK"));
  Step(kKicsomagolas, true);
  QApplication::restoreOverrideCursor();
  try {
    m_errorText = QStringLiteral("Hiba a táblák felszabadítása közben");
    m_connection.Connect();
    Step(kFelszabaditas, false);
    QUnLock->SetDatabase(&m_connection);
    QUnLock->ExecSQL();
    if (QTables->Active()) QTables->Close();
    Step(kFelszabaditas, true);
  } catch (const Exception&) {
    Fail();
    return;
  }
  Ui().MessageBox(QStringLiteral("Visszatöltés kész."), QStringLiteral("ÜZENET"),
                  MsgType::Information, mbOK, mbOK);
  accept();
}

void ShowRestoreForm(TUniSQLDatabase& connection, const QString& fileName,
                     const QString& description, QWidget* parent) {
  TFormRestore form(connection, fileName, parent);
  form.ListBox2->clear();
  form.ListBox2->addItems(description.split(QStringLiteral("\r\n")));
  form.exec();
  QApplication::restoreOverrideCursor();
}
