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

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

}  // namespace

TFormRestore::TFormRestore(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_connection(connection), m_fileName(fileName) {
  setObjectName(QStringLiteral("FormRestore"));
  setWindowTitle(QStringLiteral("Adatbázis visszaállítás"));
  auto* outer = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("Visszaállítás"), this);
  outer->addWidget(group);
  auto* grid = new QGridLayout(group);
  int row = 0;
  grid->addWidget(new QLabel(QStringLiteral("Adatbázis könyvtár:"), group), row, 0);
  EditAB = new QLineEdit(group);
  EditAB->setObjectName(QStringLiteral("EditAB"));
  grid->addWidget(EditAB, row++, 1, 1, 2);
  LBNET = NamedLabel(
      group, "LBNET",
      QStringLiteral(
          "Hálozati környezetben, ezt a funkciót célszerű az SQL szerver gépen használni."));
  LBNET->setStyleSheet(QStringLiteral("color: #ff0000"));
  grid->addWidget(LBNET, row++, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Jelenleg aktiv folyamatok:"), group), row, 0);
  BitBtn1 = new QPushButton(QStringLiteral("&Frissítés"), group);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  grid->addWidget(BitBtn1, row++, 2);
  DBGProcess = new QTableView(group);
  DBGProcess->setObjectName(QStringLiteral("DBGProcess"));
  grid->addWidget(DBGProcess, row++, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Mentő fájl  tartalma:"), group), row, 0);
  grid->addWidget(new QLabel(QStringLiteral("Adatbázis jelenlegi tartalma:"), group), row++, 1, 1,
                  2);
  ListBox1 = new QListWidget(group);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox2 = new QListWidget(group);
  ListBox2->setObjectName(QStringLiteral("ListBox2"));
  grid->addWidget(ListBox1, row, 0);
  grid->addWidget(ListBox2, row++, 1, 1, 2);
  LbZipnev = NamedLabel(group, "LbZipnev", QString());
  grid->addWidget(LbZipnev, row++, 0, 1, 3);
  LbElokeszites = NamedLabel(group, "LbElokeszites", QStringLiteral("Előkészités"));
  LbTeszt = NamedLabel(group, "LbTeszt", QStringLiteral("zip teszteléselása"));
  LbKicsomagolas = NamedLabel(group, "LbKicsomagolas", QStringLiteral("zip kicsomagolása"));
  LbFelszabaditas = NamedLabel(group, "LbFelszabaditas", QStringLiteral("Táblák felszabadítása"));
  Image1 = NamedLabel(group, "Image1", QStringLiteral("✔"));
  Image4 = NamedLabel(group, "Image4", QStringLiteral("✔"));
  Image5 = NamedLabel(group, "Image5", QStringLiteral("✔"));
  Image6 = NamedLabel(group, "Image6", QStringLiteral("✔"));
  const std::pair<QLabel*, QLabel*> steps[] = {{LbElokeszites, Image1},
                                               {LbTeszt, Image4},
                                               {LbKicsomagolas, Image5},
                                               {LbFelszabaditas, Image6}};
  for (const auto& [label, tick] : steps) {
    tick->hide();
    grid->addWidget(tick, row, 0, Qt::AlignRight);
    grid->addWidget(label, row++, 1, 1, 2);
  }
  lbProgress = NamedLabel(group, "lbProgress", QString());
  grid->addWidget(lbProgress, row++, 0, 1, 3);
  LBZIPmsg = NamedLabel(group, "LBZIPmsg", QString());
  grid->addWidget(LBZIPmsg, row++, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  BtnOK = new QPushButton(QStringLiteral("&Start"), this);
  BtnOK->setObjectName(QStringLiteral("BtnOK"));
  BtnOK->setDefault(true);
  BtnMegsem = new QPushButton(QStringLiteral("&Mégsem"), this);
  BtnMegsem->setObjectName(QStringLiteral("BtnMegsem"));
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnMegsem);
  outer->addLayout(buttons);

  ZipArchiver1 = new TZipArchiver(this);
  ZipArchiver1->AddCompLevel = 9;
  ZipArchiver1->AddOptions = AddOpts{AddHiddenFiles};
  ZipArchiver1->AddStoreSuffixes = AddStoreExts::Range(assGIF, assJAR);
  ZipArchiver1->ExtrOptions = ExtrOpts{ExtrOverWrite};
  ZipArchiver1->SpanOptions = 0;
  ZipArchiver1->Trace = false;
  ZipArchiver1->Unattended = false;
  ZipArchiver1->Verbose = false;
  ZipArchiver1->OnMessage = [this](QObject* s, int code, const QString& m) {
    ZipArchiver1Message(s, code, m);
  };
  FileSplitter1 = new TFileSplitter(this);
  FileSplitter1->SetSize(1457664);
  FileSplitter1->SetBufferSize(1457664);
  FileSplitter1->SetReduceFirstSizeBy(0);
  FileSplitter1->OnNeedDisk = [this](QObject* s, uint16_t id, uint16_t n, bool& c) {
    FileSplitter1NeedDisk(s, id, n, c);
  };
  const auto query = [this](const QString& sql) {
    auto* q = new TUniSQLQuery(this);
    q->SetDatabase(&m_connection);
    q->SetSQL(sql);
    return q;
  };
  QDBPath = query(QStringLiteral("show variables"));
  QProcess = query(QStringLiteral("show processlist"));
  QTables = query(QStringLiteral("show tables"));
  QUnLock = query(QStringLiteral("Unlock tables"));
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(QProcess);
  auto* model = new TDataSetModel(this);
  model->SetDataSource(DataSource1);
  DBGProcess->setModel(model);
  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, &QDialog::reject);
  connect(BtnOK, &QPushButton::clicked, this, &TFormRestore::BtnOKClick);
  connect(BtnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  connect(BitBtn1, &QPushButton::clicked, this, &TFormRestore::BitBtn1Click);
  FormSetupOwnColors(this);
}

TFormRestore::~TFormRestore() = default;

void TFormRestore::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_activated) return;
  m_activated = true;
  QTimer::singleShot(0, this, &TFormRestore::FormActivate);
}

void TFormRestore::Step(QLabel* label, bool done, QLabel* tick) {
  label->setStyleSheet(done ? QStringLiteral("color: #008000") : QStringLiteral("color: #ff0000"));
  if (done && tick) tick->show();
  label->repaint();
}

void TFormRestore::Reconnect() {
  try {
    m_connection.Disconnect();
    m_connection.Connect();
  } catch (const Exception&) {
  }
}

void TFormRestore::Fail(const QString& caption, const QString& extra) {
  if (QTables->Active()) QTables->Close();
  if (QProcess->Active()) QProcess->Close();
  Reconnect();
  QApplication::restoreOverrideCursor();
  Ui().MessageBox(extra.isEmpty() ? m_errorText : m_errorText + "\n" + extra, caption,
                  MsgType::Warning, mbOK, mbOK);
  reject();
}

void TFormRestore::FormActivate() {
  SetHelpContexts(this, 5020);
  lbProgress->clear();
  if (m_connection.Host().toUpper() == QLatin1String("LOCALHOST")) LBNET->hide();
  try {
    m_errorText = QStringLiteral("Hiba a munkakönyvtár létrehozása közben");
    m_workDir = WorkDirectory(m_connection.Databasename());
    if (!QDir().mkpath(m_workDir)) throw Exception(m_errorText);
    QFile::setPermissions(m_workDir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_errorText = QStringLiteral("Hiba a zipinfo.txt törlése közben");
    for (const char* name : {"zipinfo.txt", "work.zip", "dbment.sql"}) {
      const QString path = m_workDir + '/' + QLatin1String(name);
      if (QFileInfo::exists(path) && !QFile::remove(path)) throw Exception(m_errorText);
    }
    m_errorText = QStringLiteral("Hiba az adatbázis megnyitása közben");
    if (!m_connection.Connected()) m_connection.Connect();
    m_errorText = QStringLiteral("Hiba az adatbázis könyvtár lekérdezése közben");
    EditAB->clear();
    QDBPath->Open();
    for (QDBPath->First(); !QDBPath->Eof(); QDBPath->Next())
      if (QDBPath->Fields(0)->Text() == QLatin1String("datadir"))
        EditAB->setText(QDBPath->Fields(1)->Text());
    QDBPath->Close();
    m_errorText = QStringLiteral("Hiba az aktiv felhasználók lekérdezése közben");
    QProcess->Open();
  } catch (const Exception&) {
    Ui().MessageBox(m_errorText, kFigyelem, MsgType::Warning, mbOK, mbOK);
    Timer1->start();
    return;
  }
  const QFileInfo proposed(m_fileName);
  m_chosen = Ui().OpenFileName(
      QString(), proposed.path() == QLatin1String(".") ? QString() : proposed.path(),
      QStringLiteral("Mentések (*.zip *.spl);;SPL fájlok (*.spl);;zip fájlok (*.zip)"),
      QStringLiteral("zip"));
  if (m_chosen.isEmpty()) {
    QProcess->Close();
    Timer1->start();
    return;
  }
  LbZipnev->setText(m_chosen);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_descriptionTarget = DescriptionTarget(m_chosen);
  m_errorText = QStringLiteral("Hiba a zip fájl másolása közben");
  const QString workZip = m_workDir + QStringLiteral("/work.zip");
  const QString zipinfo = m_workDir + QStringLiteral("/zipinfo.txt");
  bool read = false;
  if (m_chosen.toUpper().contains(QLatin1String(".SPL"))) {
    FileSplitter1->SetSplitFileName(m_chosen);
    FileSplitter1->SetFileName(workZip);
    read = FileSplitter1->Join();
  } else {
    read = CopyFileTo(m_chosen, workZip) == 0;
  }
  if (!read) QFile::remove(workZip);  // a part-joined or part-copied archive is no archive
  QString description = LocalPath(m_descriptionTarget);
  if (!QFileInfo::exists(description)) description = LocalPath(OldDescriptionTarget(m_chosen));
  if (!description.isEmpty() && QFileInfo::exists(description)) CopyFileTo(description, zipinfo);
  if (!QFileInfo::exists(workZip)) {
    Ui().MessageBox(QStringLiteral("Nem sikerült a zip fájlt beolvasni."), QStringLiteral("HIBA"),
                    MsgType::Error, mbOK, mbOK);
    QProcess->Close();
    QApplication::restoreOverrideCursor();
    BtnOK->setEnabled(false);
    BtnMegsem->setEnabled(true);
    return;
  }
  QStringList lines;
  if (QFileInfo::exists(zipinfo)) LoadStringsFromFile(lines, zipinfo);
  ListBox1->clear();
  ListBox1->addItems(lines);
  QApplication::restoreOverrideCursor();
  LBZIPmsg->clear();
}

void TFormRestore::BitBtn1Click() {
  try {
    QProcess->Close();
    QProcess->Open();
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), kFigyelem, MsgType::Warning, mbOK, mbOK);
  }
}

void TFormRestore::RestoreProgressText(const QString& text) {
  lbProgress->setText(text);
  repaint();
}

void TFormRestore::ZipArchiver1Message(QObject*, int, const QString& Message) {
  LBZIPmsg->setText(Message);
  for (const char* ok : {"Tested file", "No Errors", "no error", "trace:", "Unzipped"})
    if (Message.contains(QLatin1String(ok))) return;
  Ui().MessageBox(Message, QStringLiteral("ZIP hiba"), MsgType::Warning, mbOK, mbOK);
  m_zipError = true;
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
    const QString local = LocalPath(part);
    if (!local.isEmpty() && QFileInfo::exists(local)) {
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
  const QString workZip = m_workDir + QStringLiteral("/work.zip");
  const QString dump = m_workDir + QStringLiteral("/dbment.sql");
  Step(LbElokeszites, false);
  SaveStringsToFile(Lines(ListBox2), Globals().UserDir + QStringLiteral("OldABinfo.txt"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    m_errorText = QStringLiteral("Hiba a tábla nevek lekérdezése közben");
    QTables->SetDatabase(&m_connection);
    QTables->Open();
    Step(LbElokeszites, true, Image1);
    m_errorText = QStringLiteral("Hiba a táblák zárolása közben");
    m_connection.Disconnect();
    m_zipError = false;
  } catch (const Exception&) {
    Fail();
    return;
  }
  m_errorText = QStringLiteral("Hiba a zip tesztelése közben");
  Step(LbTeszt, false);
  ZipArchiver1->FSpecArgs = QStringList{QStringLiteral("*.*")};
  ZipArchiver1->SetZipFileName(workZip);
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
  Step(LbTeszt, true, Image4);
  bool hasDump = false;
  for (const ZipDirEntry& entry : ZipArchiver1->Engine().ZipContents())
    hasDump =
        hasDump || entry.FileName.compare(QLatin1String("dbment.sql"), Qt::CaseInsensitive) == 0;
  m_errorText = QStringLiteral("Hiba a kicsomagolásközben");
  Step(LbKicsomagolas, false);
  // Only the dump is taken out, into the work directory.
  ZipArchiver1->FSpecArgs = QStringList{QStringLiteral("dbment.sql")};
  ZipArchiver1->SetZipFileName(workZip);
  ZipArchiver1->ExtrBaseDir = m_workDir;
  const int extracted = hasDump ? ZipArchiver1->Extract() : 0;
  if (m_zipError) {
    QFile::remove(dump);
    Fail(QStringLiteral("FIGYELEM !!!"), QStringLiteral("Az adatbázis nem változott."));
    return;
  }
  if (!QFileInfo::exists(dump)) {
    QApplication::restoreOverrideCursor();
    Reconnect();
    Ui().MessageBox(QStringLiteral("NEM ELÉRHEŐ AZ ADATBÁZIS KÖNVTÁR.\r\nA MENTÉST NEM LEHET "
                                   "VISSZATÖLTENI!"),
                    QString(), MsgType::Warning, mbOK, mbOK);
    QFile::remove(workZip);
    reject();
    return;
  }
  const bool reloaded = extracted == 0 && ReloadDump(m_connection, dump, [this](const QString& t) {
                          RestoreProgressText(t);
                        });
  QFile::remove(dump);
  if (!reloaded) {
    Fail(kFigyelem, QStringLiteral("Az adatbázis nem változott."));
    return;
  }
  lbProgress->setText(QStringLiteral("OK"));
  Step(LbKicsomagolas, true, Image5);
  QApplication::restoreOverrideCursor();
  try {
    m_errorText = QStringLiteral("Hiba a táblák felszabadítása közben");
    m_connection.Connect();
    Step(LbFelszabaditas, false);
    QUnLock->SetDatabase(&m_connection);
    QUnLock->ExecSQL();
    if (QTables->Active()) QTables->Close();
    Step(LbFelszabaditas, true, Image6);
  } catch (const Exception&) {
    Fail();
    return;
  }
  QFile::remove(workZip);
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
