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

QLabel* Tick(QWidget* parent, const char* name) {
  auto* tick = new QLabel(QStringLiteral("✔"), parent);
  tick->setObjectName(QLatin1String(name));
  tick->hide();
  return tick;
}

QLabel* StepLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

}  // namespace

TFormBackup::TFormBackup(TUniSQLDatabase& connection, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_connection(connection), m_fileName(fileName) {
  setObjectName(QStringLiteral("FormBackup"));
  setWindowTitle(QStringLiteral("Adatbázis mentés"));
  auto* outer = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("Mentés"), this);
  outer->addWidget(group);
  auto* grid = new QGridLayout(group);
  int row = 0;
  grid->addWidget(new QLabel(QStringLiteral("Adatbázis könyvtár:"), group), row, 0);
  EditAB = new QLineEdit(group);
  EditAB->setObjectName(QStringLiteral("EditAB"));
  grid->addWidget(EditAB, row++, 1, 1, 2);
  LBNET = new QLabel(
      QStringLiteral(
          "Hálozati környezetben, ezt a funkciót célszerű az SQL szerver gépen használni."),
      group);
  LBNET->setObjectName(QStringLiteral("LBNET"));
  LBNET->setStyleSheet(QStringLiteral("color: #ff0000"));
  grid->addWidget(LBNET, row++, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Aktiv folyamatok:"), group), row, 0);
  BitBtn1 = new QPushButton(QStringLiteral("&Frissítés"), group);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  grid->addWidget(BitBtn1, row++, 2);
  DBGrid1 = new QTableView(group);
  DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
  grid->addWidget(DBGrid1, row++, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Adatbázis:"), group), row, 0);
  grid->addWidget(new QLabel(QStringLiteral("Mentő fájl jelenlegi tartalma:"), group), row++, 1, 1,
                  2);
  ListBox1 = new QListWidget(group);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox2 = new QListWidget(group);
  ListBox2->setObjectName(QStringLiteral("ListBox2"));
  grid->addWidget(ListBox1, row, 0);
  grid->addWidget(ListBox2, row++, 1, 1, 2);
  Lbzipnev = StepLabel(group, "Lbzipnev", QString());
  grid->addWidget(Lbzipnev, row++, 0, 1, 3);
  LbElokeszites = StepLabel(group, "LbElokeszites", QStringLiteral("Előkészités"));
  LbTomorites = StepLabel(group, "LbTomorites", QStringLiteral("Tömörités -> work.zip"));
  LbFelszabaditas = StepLabel(group, "LbFelszabaditas", QStringLiteral("Táblák felszabadítása"));
  LbMasolas = StepLabel(group, "LbMasolas", QStringLiteral("Tömöritett fájl másolása"));
  Image1 = Tick(group, "Image1");
  Image3 = Tick(group, "Image3");
  Image4 = Tick(group, "Image4");
  Image5 = Tick(group, "Image5");
  const std::pair<QLabel*, QLabel*> steps[] = {{LbElokeszites, Image1},
                                               {LbTomorites, Image3},
                                               {LbFelszabaditas, Image4},
                                               {LbMasolas, Image5}};
  for (const auto& [label, tick] : steps) {
    grid->addWidget(tick, row, 0, Qt::AlignRight);
    grid->addWidget(label, row++, 1, 1, 2);
  }
  lbProgress = StepLabel(group, "lbProgress", QString());
  grid->addWidget(lbProgress, row++, 0, 1, 3);
  LBZIPmsg = StepLabel(group, "LBZIPmsg", QString());
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
  ZipArchiver1->ExtrOptions = ExtrOpts{};
  ZipArchiver1->SpanOptions = 0;
  ZipArchiver1->Trace = false;
  ZipArchiver1->Unattended = false;
  ZipArchiver1->Verbose = false;
  ZipArchiver1->OnMessage = [this](QObject* s, int code, const QString& m) {
    ZipArchiver1Message(s, code, m);
  };
  FileSplitter1 = new TFileSplitter(this);
  FileSplitter1->SetSize(1400000);
  FileSplitter1->SetBufferSize(1457664);
  FileSplitter1->SetReduceFirstSizeBy(2000);
  FileSplitter1->OnNeedDisk = [this](QObject* s, uint16_t id, uint16_t n, bool& c) {
    FileSplitter1NeedDisk(s, id, n, c);
  };
  FileSplitter1->OnError = [this](QObject* s, uint16_t id, uint16_t n, uint16_t code) {
    return FileSplitter1Error(s, id, n, code);
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
  QLock = query(QString());
  QUnLock = query(QStringLiteral("Unlock tables"));
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(QProcess);
  auto* model = new TDataSetModel(this);
  model->SetDataSource(DataSource1);
  DBGrid1->setModel(model);
  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, &QDialog::reject);
  connect(BtnOK, &QPushButton::clicked, this, &TFormBackup::BtnOKClick);
  connect(BtnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  connect(BitBtn1, &QPushButton::clicked, this, &TFormBackup::BitBtn1Click);
  FormSetupOwnColors(this);
}

TFormBackup::~TFormBackup() = default;

void TFormBackup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_activated) return;
  m_activated = true;
  QTimer::singleShot(0, this, &TFormBackup::FormActivate);
}

void TFormBackup::Step(QLabel* label, bool done, QLabel* tick) {
  label->setStyleSheet(done ? QStringLiteral("color: #008000") : QStringLiteral("color: #ff0000"));
  if (done && tick) tick->show();
  label->repaint();
}

void TFormBackup::Reconnect() {
  // A fresh connection: read locks of a broken step go with the old one.
  try {
    m_connection.Disconnect();
    m_connection.Connect();
  } catch (const Exception&) {
  }
}

void TFormBackup::Fail(const QString& caption) {
  if (QTables->Active()) QTables->Close();
  if (QProcess->Active()) QProcess->Close();
  Reconnect();
  QApplication::restoreOverrideCursor();
  Ui().MessageBox(m_errorText, caption, MsgType::Warning, mbOK, mbOK);
  reject();
}

void TFormBackup::FormActivate() {
  SetHelpContexts(this, 5010);
  lbProgress->clear();
  if (m_connection.Host().toUpper() == QLatin1String("LOCALHOST")) LBNET->hide();
  try {
    m_errorText = QStringLiteral("Hiba a munkakönyvtár létrehozása közben");
    m_workDir = WorkDirectory(m_connection.Databasename());
    if (!QDir().mkpath(m_workDir)) throw Exception(m_errorText);
    QFile::setPermissions(m_workDir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_errorText = QStringLiteral("Hiba a zipinfo.txt törlése közben");
    for (const char* name : {"zipinfo.txt", "work.zip"}) {
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
    QProcess->Open();
    ListBox2->clear();
  } catch (const Exception&) {
    Ui().MessageBox(m_errorText, kFigyelem, MsgType::Warning, mbOK, mbOK);
    Timer1->start();
    return;
  }
  const QFileInfo proposed(m_fileName);
  m_chosen = Ui().SaveFileName(
      QStringLiteral("Mentés"), proposed.path() == QLatin1String(".") ? QString() : proposed.path(),
      proposed.fileName(),
      QStringLiteral("Mentések (*.zip *.spl);;spl fájlok (*.spl);;zip fájlok (*.zip)"),
      QStringLiteral("zip"));
  if (m_chosen.isEmpty()) {
    QProcess->Close();
    Timer1->start();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Lbzipnev->setText(m_chosen);
  m_descriptionTarget = DescriptionTarget(m_chosen);
  const QString zipinfo = m_workDir + QStringLiteral("/zipinfo.txt");
  QString existing = LocalPath(m_descriptionTarget);
  if (!QFileInfo::exists(existing)) existing = LocalPath(OldDescriptionTarget(m_chosen));
  if (!existing.isEmpty() && QFileInfo::exists(existing)) CopyFileTo(existing, zipinfo);
  QStringList lines;
  if (QFileInfo::exists(zipinfo)) LoadStringsFromFile(lines, zipinfo);
  ListBox2->clear();
  ListBox2->addItems(lines);
  QApplication::restoreOverrideCursor();
  LBZIPmsg->clear();
}

void TFormBackup::BitBtn1Click() {
  try {
    QProcess->Close();
    QProcess->Open();
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), kFigyelem, MsgType::Warning, mbOK, mbOK);
  }
}

void TFormBackup::BackupProgressText(const QString& text) {
  lbProgress->setText(text);
  repaint();
}

void TFormBackup::ZipArchiver1Message(QObject*, int, const QString& Message) {
  LBZIPmsg->setText(Message);
  for (const char* ok : {"adding:", "Tested file", "no error", "trace:", "No Errors"})
    if (Message.contains(QLatin1String(ok))) return;
  Ui().MessageBox(Message, QStringLiteral("ZIP hiba"), MsgType::Warning, mbOK, mbOK);
  m_zipError = true;
}

qint64 TFormBackup::FloppyFree() const { return FloppyDriveSettings(m_driveLetter).Free(); }

void TFormBackup::FileSplitter1NeedDisk(QObject*, int DiskID, int NumOfDisks, bool& Continue) {
  if (DiskID <= 0 || DiskID > NumOfDisks) return;
  Ui().MessageBox(
      QStringLiteral(" Kérem a %1.Lemezt!\n(Összesen %2 db)").arg(DiskID).arg(NumOfDisks),
      QStringLiteral("Floppy csere"), MsgType::Information, mbOK, mbOK);
  const QChar letter = m_descriptionTarget.isEmpty() ? m_driveLetter : m_descriptionTarget[0];
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
      const int error = CopyFileTo(m_workDir + QStringLiteral("/zipinfo.txt"), m_descriptionTarget);
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

int TFormBackup::FileSplitter1Error(QObject*, int, int, int errorCode) {
  const QChar letter = m_descriptionTarget.isEmpty() ? m_driveLetter : m_descriptionTarget[0];
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
  const QString zipinfo = m_workDir + QStringLiteral("/zipinfo.txt");
  const QString dump = m_workDir + QStringLiteral("/dbment.sql");
  const QString workZip = m_workDir + QStringLiteral("/work.zip");
  Step(LbElokeszites, false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QStringList description;
  for (int i = 0; i < ListBox1->count(); ++i) description << ListBox1->item(i)->text();
  try {
    SaveStringsToFile(description, zipinfo);
    m_errorText = QStringLiteral("Hiba a tábla nevek lekérdezése közben");
    QTables->SetDatabase(&m_connection);
    QTables->Open();
    Step(LbElokeszites, true, Image1);
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
    Step(LbTomorites, false);
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
    Step(LbTomorites, true, Image3);
    QApplication::restoreOverrideCursor();
    m_errorText = QStringLiteral("Hiba a táblák felszabadítása közben");
    Step(LbFelszabaditas, false);
    QUnLock->SetDatabase(&m_connection);
    QUnLock->ExecSQL();
    if (QTables->Active()) QTables->Close();
    Step(LbFelszabaditas, true, Image4);
    m_errorText = QStringLiteral("Hiba a tömöritett fájl másolása közben");
    Step(LbMasolas, false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString upper = m_chosen.toUpper();
    m_driveLetter = upper.isEmpty() ? QChar('A') : upper[0];
    if (IsFloppyLetterPath(upper)) {
      const qsizetype dot = upper.lastIndexOf('.');
      const qsizetype separator = upper.lastIndexOf('\\');
      FileSplitter1->SetSplitFileName((dot > separator ? upper.left(dot) : upper) +
                                      QStringLiteral(".SPL"));
      FileSplitter1->SetFileName(workZip);
      if (!FileSplitter1->Split()) throw Exception(m_errorText);
    } else {
      if (CopyFileTo(zipinfo, m_descriptionTarget) != 0) throw Exception(m_errorText);
      if (CopyFileTo(workZip, m_chosen) != 0) throw Exception(m_errorText);
    }
    if (!m_abandoned) Step(LbMasolas, true, Image5);
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
