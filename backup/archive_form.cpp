#include "archive_form.h"

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

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

}  // namespace

TArchiveForm::TArchiveForm(TUniSQLDatabase& connection, const QString& fileName, const Texts& texts,
                           QWidget* parent)
    : QDialog(parent), m_connection(connection), m_fileName(fileName), m_zipFine(texts.zipFine) {
  setObjectName(QLatin1String(texts.objectName));
  setWindowTitle(texts.caption);
  auto* outer = new QVBoxLayout(this);
  auto* group = new QGroupBox(texts.group, this);
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
  grid->addWidget(new QLabel(texts.processLabel, group), row, 0);
  BitBtn1 = new QPushButton(QStringLiteral("&Frissítés"), group);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  grid->addWidget(BitBtn1, row++, 2);
  Grid = new QTableView(group);
  Grid->setObjectName(QLatin1String(texts.gridName));
  grid->addWidget(Grid, row++, 0, 1, 3);
  grid->addWidget(new QLabel(texts.list1Label, group), row, 0);
  grid->addWidget(new QLabel(texts.list2Label, group), row++, 1, 1, 2);
  ListBox1 = new QListWidget(group);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox2 = new QListWidget(group);
  ListBox2->setObjectName(QStringLiteral("ListBox2"));
  grid->addWidget(ListBox1, row, 0);
  grid->addWidget(ListBox2, row++, 1, 1, 2);
  ZipName = NamedLabel(group, texts.zipNameLabel, QString());
  grid->addWidget(ZipName, row++, 0, 1, 3);
  for (const auto& [text, tickName] : texts.steps) {
    QLabel* tick = NamedLabel(group, tickName, QStringLiteral("✔"));
    tick->hide();
    QLabel* label = new QLabel(text, group);
    grid->addWidget(tick, row, 0, Qt::AlignRight);
    grid->addWidget(label, row++, 1, 1, 2);
    StepLabels << label;
    Ticks << tick;
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
  ZipArchiver1->ExtrOptions = texts.extrOptions;
  ZipArchiver1->SpanOptions = 0;
  ZipArchiver1->Trace = false;
  ZipArchiver1->Unattended = false;
  ZipArchiver1->ErrorBoxes = false;  // the message handler tells them
  ZipArchiver1->Verbose = false;
  ZipArchiver1->OnMessage = [this](QObject* s, int code, const QString& m) {
    ZipArchiver1Message(s, code, m);
  };
  FileSplitter1 = new TFileSplitter(this);
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
  Grid->setModel(model);
  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, &QDialog::reject);
  connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
  connect(BtnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  connect(BitBtn1, &QPushButton::clicked, this, &TArchiveForm::BitBtn1Click);
  FormSetupOwnColors(this);
}

TArchiveForm::~TArchiveForm() = default;

void TArchiveForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_activated) return;
  m_activated = true;
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

QString TArchiveForm::WorkFile(const char* name) const {
  return m_workDir + '/' + QLatin1String(name);
}

void TArchiveForm::Step(int i, bool done) {
  QLabel* label = StepLabels[i];
  label->setStyleSheet(done ? QStringLiteral("color: #008000") : QStringLiteral("color: #ff0000"));
  if (done) Ticks[i]->show();
  label->repaint();
}

void TArchiveForm::Reconnect() {
  try {
    m_connection.Disconnect();
    m_connection.Connect();
  } catch (const Exception&) {
  }
}

void TArchiveForm::Fail(const QString& caption, const QString& extra) {
  if (QTables->Active()) QTables->Close();
  if (QProcess->Active()) QProcess->Close();
  Reconnect();
  QApplication::restoreOverrideCursor();
  Ui().MessageBox(extra.isEmpty() ? m_errorText : m_errorText + "\n" + extra, caption,
                  MsgType::Warning, mbOK, mbOK);
  reject();
}

bool TArchiveForm::Prepare(int helpContext, const QString& processText) {
  SetHelpContexts(this, helpContext);
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
      const QString path = WorkFile(name);
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
    if (!processText.isEmpty()) m_errorText = processText;
    QProcess->Open();
  } catch (const Exception&) {
    Ui().MessageBox(m_errorText, QStringLiteral("FIGYELEM"), MsgType::Warning, mbOK, mbOK);
    Timer1->start();
    return false;
  }
  return true;
}

void TArchiveForm::LoadDescription(QListWidget* list) {
  const QString zipinfo = WorkFile("zipinfo.txt");
  m_descriptionTarget = DescriptionTarget(m_chosen);
  QString existing = ExistingLocalPath(m_descriptionTarget);
  if (existing.isEmpty()) existing = ExistingLocalPath(OldDescriptionTarget(m_chosen));
  if (!existing.isEmpty()) CopyFileTo(existing, zipinfo);
  QStringList lines;
  if (QFileInfo::exists(zipinfo)) LoadStringsFromFile(lines, zipinfo);
  list->clear();
  list->addItems(lines);
}

QString TArchiveForm::DialogChoice(const QString& path) {
  const QString onFloppy = FloppyLetterPath(path);
  return onFloppy.isEmpty() ? path : onFloppy;
}

void TArchiveForm::BitBtn1Click() {
  try {
    QProcess->Close();
    QProcess->Open();
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("FIGYELEM"), MsgType::Warning, mbOK, mbOK);
  }
}

void TArchiveForm::ProgressText(const QString& text) {
  lbProgress->setText(text);
  repaint();
}

void TArchiveForm::ZipArchiver1Message(QObject*, int, const QString& Message) {
  LBZIPmsg->setText(Message);
  for (const QString& fine : m_zipFine)
    if (Message.contains(fine)) return;
  // A failure is told once, by its first message; what follows from it stays in the label.
  if (!m_zipError)
    Ui().MessageBox(Message, QStringLiteral("ZIP hiba"), MsgType::Warning, mbOK, mbOK);
  m_zipError = true;
}
