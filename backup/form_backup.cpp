#include "form_backup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "backup_files.h"
#include "data_set_model.h"
#include "data_source.h"
#include "exceptions.h"
#include "file_splitter.h"
#include "floppy_drive.h"
#include "form_setup.h"
#include "form_ujfloppy.h"
#include "sql_dump.h"
#include "text_file.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "zip_archiver.h"

namespace {

const QString kFigyelem = QStringLiteral("FIGYELEM");
enum { kElokeszites, kTomorites, kFelszabaditas, kMasolas };

TArchiveForm::Texts BackupTexts() {
  return {"FormBackup",
          QStringLiteral("Adatbázis mentés"),
          QStringLiteral("Mentés"),
          "DBGrid1",
          QStringLiteral("Aktiv folyamatok:"),
          QStringLiteral("Adatbázis:"),
          QStringLiteral("Mentő fájl jelenlegi tartalma:"),
          "Lbzipnev",
          {{QStringLiteral("Előkészités"), "Image1"},
           {QStringLiteral("Tömörités -> work.zip"), "Image3"},
           {QStringLiteral("Táblák felszabadítása"), "Image4"},
           {QStringLiteral("Tömöritett fájl másolása"), "Image5"}},
          ExtrOpts{},
          {QStringLiteral("adding:"), QStringLiteral("Tested file"), QStringLiteral("no error"),
           QStringLiteral("trace:"), QStringLiteral("No Errors")}};
}

}  // namespace

TFormBackup::TFormBackup(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent)
    : TArchiveForm(connection, fileName, BackupTexts(), parent),
      DBGrid1(Grid),
      Lbzipnev(ZipName),
      Image1(Ticks[0]),
      Image3(Ticks[1]),
      Image4(Ticks[2]),
      Image5(Ticks[3]) {
  FileSplitter1->SetSize(1400000);
  FileSplitter1->SetBufferSize(1457664);
  FileSplitter1->SetReduceFirstSizeBy(2000);
  FileSplitter1->OnNeedDisk = [this](QObject* s, uint16_t id, uint16_t n, bool& c) {
    FileSplitter1NeedDisk(s, id, n, c);
  };
  FileSplitter1->OnError = [this](QObject* s, uint16_t id, uint16_t n, uint16_t code) {
    return FileSplitter1Error(s, id, n, code);
  };
  QLock = new TUniSQLQuery(this);
  QLock->SetDatabase(&m_connection);
}

void TFormBackup::FormActivate() {
  if (!Prepare(5010, QString())) return;
  ListBox2->clear();
  const QFileInfo proposed(m_fileName);
  m_chosen = DialogChoice(Ui().SaveFileName(
      QStringLiteral("Mentés"), proposed.path() == QLatin1String(".") ? QString() : proposed.path(),
      proposed.fileName(),
      QStringLiteral("Mentések (*.zip *.spl);;spl fájlok (*.spl);;zip fájlok (*.zip)"),
      QStringLiteral("zip")));
  if (m_chosen.isEmpty()) {
    QProcess->Close();
    Timer1->start();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Lbzipnev->setText(m_chosen);
  LoadDescription(ListBox2);
  QApplication::restoreOverrideCursor();
  LBZIPmsg->clear();
}

qint64 TFormBackup::FloppyFree() const { return FloppyDriveSettings(m_driveLetter).Free(); }

void TFormBackup::FileSplitter1NeedDisk(QObject*, int DiskID, int NumOfDisks, bool& Continue) {
  if (DiskID <= 0 || DiskID > NumOfDisks) return;
  Ui().MessageBox(
      QStringLiteral(" Kérem a %1.Lemezt!\n(Összesen %2 db)").arg(DiskID).arg(NumOfDisks),
      QStringLiteral("Floppy csere"), MsgType::Information, mbOK, mbOK);
  const QChar letter = DescriptionDrive();
  int result = 1;
  do {
    if (FloppyFree() < FileSplitter1->Size()) {
      result = ShowNewFloppyDialog(letter, this);
      Continue = result == 1;
    } else {
      Continue = true;
      break;
    }
  } while (result == 1 && FloppyFree() < FileSplitter1->Size());
  if (Continue && DiskID == 1) {
    for (;;) {
      const int error = CopyFileTo(WorkFile("zipinfo.txt"), m_descriptionTarget);
      if (error == 0) break;
      Ui().MessageBox(QStringLiteral("Hiba a ZIPINFO másolása közben"), kFigyelem, MsgType::Warning,
                      mbOK, mbOK);
      // The copy's own error, so a protected disk is named as such.
      if (FileSplitter1Error(FileSplitter1, DiskID, NumOfDisks, error) != 1) {
        Continue = false;
        break;
      }
    }
  }
  if (!Continue) {
    if (QTables->Active()) QTables->Close();
    QApplication::restoreOverrideCursor();
    Ui().MessageBox(QStringLiteral("Mentés megszakitva."), kFigyelem, MsgType::Warning, mbOK, mbOK);
    m_abandoned = true;
  }
}

QChar TFormBackup::DescriptionDrive() const {
  const QString onFloppy = FloppyLetterPath(m_descriptionTarget);
  return onFloppy.isEmpty() ? m_driveLetter : onFloppy[0].toUpper();
}

int TFormBackup::FileSplitter1Error(QObject*, int, int, int errorCode) {
  const QChar letter = DescriptionDrive();
  for (;;) {
    if (FloppyFree() < FileSplitter1->Size())
      Ui().ShowMessage2(QStringLiteral("Nincs elég hely a lemezen!"), QString());
    else if (errorCode == kErrorWriteProtect)
      Ui().ShowMessage2(QStringLiteral("Az írásvédettséget meg kell szüntetni!"), QString());
    else if (errorCode != 0)
      Ui().ShowMessage2(QStringLiteral("Hiba történt a lemez használata közben!"), QString());
    const int result = ShowNewFloppyDialog(letter, this);
    if (result == 1 && FloppyFree() < FileSplitter1->Size()) continue;
    return result;
  }
}

void TFormBackup::BtnOKClick() {
  BtnOK->setEnabled(false);
  const QString zipinfo = WorkFile("zipinfo.txt");
  const QString dump = WorkFile("dbment.sql");
  const QString workZip = WorkFile("work.zip");
  Step(kElokeszites, false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QStringList description;
  for (int i = 0; i < ListBox1->count(); ++i) description << ListBox1->item(i)->text();
  try {
    SaveStringsToFile(description, zipinfo);
    m_errorText = QStringLiteral("Hiba a tábla nevek lekérdezése közben");
    QTables->SetDatabase(&m_connection);
    QTables->Open();
    Step(kElokeszites, true);
    m_errorText = QStringLiteral("Hiba a táblák zárolása közben");
    QStringList tables;
    for (QTables->First(); !QTables->Eof(); QTables->Next()) tables << QTables->Fields(0)->Text();
    QLock->SetSQL(LockText(tables));
    QTables->Close();
    QLock->ExecSQL();
    if (!SqlDump(m_connection, dump, [this](const QString& t) { BackupProgressText(t); })) {
      m_errorText = QStringLiteral("Hiba SQLDump készítése közben!");
      throw Exception(m_errorText);
    }
    lbProgress->clear();
    QProcess->Close();
    m_connection.Disconnect();
    m_zipError = false;
    m_errorText = QStringLiteral("Hiba a tömörités közben");
    Step(kTomorites, false);
    if (QFileInfo::exists(workZip) && !QFile::remove(workZip)) throw Exception(m_errorText);
    ZipArchiver1->FSpecArgs = QStringList{dump};
    ZipArchiver1->SetZipFileName(workZip);
    ZipArchiver1->ExtrBaseDir = m_workDir;
    const int added = ZipArchiver1->Add();
    QFile::remove(dump);
    if (added != 0 || m_zipError) throw Exception(m_errorText);
  } catch (const Exception&) {
    QFile::remove(dump);
    Fail();
    return;
  }
  m_errorText = QStringLiteral("Hiba a ZIP tesztelése során");
  ZipArchiver1->FSpecArgs = QStringList{QStringLiteral("*.*")};
  ZipArchiver1->SetZipFileName(workZip);
  ZipArchiver1->ExtrBaseDir.clear();
  ZipArchiver1->ExtrOptions << ExtrTest;
  const int tested = ZipArchiver1->Extract();
  ZipArchiver1->ExtrOptions >> ExtrTest;
  if (tested != 0 || ZipArchiver1->Count() != ZipArchiver1->SuccessCnt() ||
      ZipArchiver1->Count() == 0 || m_zipError) {
    Fail(QStringLiteral("FIGYELEM !!!"));
    return;
  }
  try {
    m_connection.Connect();
    Step(kTomorites, true);
    QApplication::restoreOverrideCursor();
    m_errorText = QStringLiteral("Hiba a táblák felszabadítása közben");
    Step(kFelszabaditas, false);
    QUnLock->SetDatabase(&m_connection);
    QUnLock->ExecSQL();
    if (QTables->Active()) QTables->Close();
    Step(kFelszabaditas, true);
    m_errorText = QStringLiteral("Hiba a tömöritett fájl másolása közben");
    Step(kMasolas, false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A floppy is told by where the name lies, not only by how it is written.
    const QString upper = FloppyLetterPath(m_chosen).toUpper();
    m_driveLetter = upper.isEmpty() ? QChar('A') : upper[0];
    if (!upper.isEmpty()) {
      const qsizetype dot = upper.lastIndexOf('.');
      const qsizetype separator = upper.lastIndexOf('\\');
      FileSplitter1->SetSplitFileName((dot > separator ? upper.left(dot) : upper) +
                                      QStringLiteral(".SPL"));
      FileSplitter1->SetFileName(workZip);
      if (!FileSplitter1->Split()) throw Exception(m_errorText);
    } else {
      // The archive before its description, both in full before either is replaced: a full
      // disk leaves the earlier backup and its description as they were.
      if (CopyFilesTo({{workZip, m_chosen}, {zipinfo, m_descriptionTarget}}) != 0)
        throw Exception(m_errorText);
    }
    if (!m_abandoned) Step(kMasolas, true);
    QFile::remove(workZip);
    QApplication::restoreOverrideCursor();
  } catch (const Exception&) {
    Fail();
    return;
  }
  if (!m_abandoned)
    Ui().MessageBox(QStringLiteral("Mentés elkészült."), QStringLiteral("ÜZENET"),
                    MsgType::Information, mbOK, mbOK);
  if (m_abandoned) {
    done(2);
  } else {
    accept();
  }
}

void ShowBackupForm(TUniSQLDatabase& connection, const QString& fileName,
                    const QString& description, QWidget* parent) {
  TFormBackup form(connection, fileName, parent);
  form.ListBox1->clear();
  form.ListBox1->addItems(description.split(QStringLiteral("\r\n")));
  form.exec();
  QApplication::restoreOverrideCursor();
}
