#include "main_form.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app_globals.h"
#include "asset_commands.h"
#include "backup_files.h"
#include "balance_recalc.h"
#include "company_databases.h"
#include "exceptions.h"
#include "file_lookup.h"
#include "form_backup.h"
#include "form_cegek.h"
#include "form_csv_inport.h"
#include "form_ecs_torol.h"
#include "form_ecssz_lis.h"
#include "form_ecsszamito.h"
#include "form_felad.h"
#include "form_felad_kh.h"
#include "form_fksz_lis.h"
#include "form_gepi_felad.h"
#include "form_karton_koltsh.h"
#include "form_karton_nyomt.h"
#include "form_leltlis.h"
#include "form_leltliskoltsh.h"
#include "form_my_sql_setup.h"
#include "form_my_sql_setup2.h"
#include "form_osszes1.h"
#include "form_restore.h"
#include "form_setup.h"
#include "form_xml_input.h"
#include "formceg.h"
#include "frm_kulcs_ell.h"
#include "frm_vexor_exp.h"
#include "help_viewer.h"
#include "screen_size.h"
#include "start_settings.h"
#include "system_info.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {
TMainForm* g_mainForm = nullptr;

// "&Mentés" and "&Töltés": the name and description of the open company database, then the
// form; after a restore the company is taken up again as after a switch.
void BackupOrRestore(TMainForm& form, TUniSQLDatabase& db, bool backup) {
  TBackupRequest request;
  try {
    request = MakeBackupRequest(db, backup);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
    return;
  }
  if (backup)
    ShowBackupForm(db, request.fileName, request.description, &form);
  else
    ShowRestoreForm(db, request.fileName, request.description, &form);
  QDir::setCurrent(Globals().ProgramDir);
}
}

TMainForm* MainForm() { return g_mainForm; }

// A "&Listák" item: its listing dialog on the company database, modal, freed when closed.
template <class TForm>
void TMainForm::AddListingItem(QMenu* menu, const QString& caption) {
  connect(menu->addAction(caption), &QAction::triggered, this, [this] {
    TForm form(*DB1, this);
    form.exec();
  });
}

TMainForm::TMainForm(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent),
      DB0(new TUniSQLDatabase(this)),
      DB1(new TUniSQLDatabase(this)),
      m_arguments(arguments),
      m_start(*DB0, *DB1, *this) {
  g_mainForm = this;
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Velmarond ESZKÖZ   tárgyi eszközök - immateriális javak"));
  resize(706, 498);
  DB0->SetDatabasename(QLatin1String(kSystemDatabase));

  auto* speedButtons = addToolBar(QStringLiteral("SpeedButtons"));
  speedButtons->setMovable(false);
  // The asset register's speed buttons: a new asset and the asset search.
  connect(speedButtons->addAction(QStringLiteral("Új felvitel")), &QAction::triggered, this,
          [this] { NewAssetLoop(*DB1, this); });
  connect(speedButtons->addAction(QStringLiteral("Keresés")), &QAction::triggered, this,
          [this] { RunAssetList(*DB1, SearchOperation(), this); });
  QAction* backupButton = speedButtons->addAction(QStringLiteral("Mentés"));
  backupButton->setToolTip(QStringLiteral("Mentés"));
  connect(backupButton, &QAction::triggered, this, [this] { BackupOrRestore(*this, *DB1, true); });
  auto* spacer = new QWidget(speedButtons);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  speedButtons->addWidget(spacer);
  BtnVerzio = new QPushButton(QStringLiteral("V 3.13"), speedButtons);
  BtnVerzio->setFocusPolicy(Qt::NoFocus);
  speedButtons->addWidget(BtnVerzio);
  connect(BtnVerzio, &QPushButton::clicked, this, [] { ShowProgramHelp(9999); });

  // "&Munka": a new asset, the asset operations with the two contributions, the exit.
  QMenu* work = menuBar()->addMenu(QStringLiteral("&Munka"));
  connect(work->addAction(QStringLiteral("&Uj felvitel")), &QAction::triggered, this,
          [this] { NewAssetLoop(*DB1, this); });
  for (const AssetOperation& op : WorkMenuOperations()) {
    if (op.action == QLatin1Char('7'))
      connect(work->addAction(QStringLiteral("&Kapott apport")), &QAction::triggered, this, [this] {
        ContributionReceived(*DB1, this,
                             [this](TDataSet& asset) { TfrmVexorExp::AskAndPost(*DB1, asset, true, this); });
      });
    connect(work->addAction(op.menuCaption), &QAction::triggered, this,
            [this, op] { RunAssetList(*DB1, op, this); });
  }
  connect(work->addAction(QStringLiteral("K&ilépés")), &QAction::triggered, this, &QWidget::close);
  connect(menuBar()->addAction(QStringLiteral("Kere&sés")), &QAction::triggered, this,
          [this] { RunAssetList(*DB1, SearchOperation(), this); });

  QMenu* ecs = menuBar()->addMenu(QStringLiteral("&ÉCS"));
  connect(ecs->addAction(QStringLiteral("&Számítás")), &QAction::triggered, this,
          &TMainForm::DepreciationRun);
  for (const AssetOperation& op : DepreciationMenuOperations())
    connect(ecs->addAction(op.menuCaption), &QAction::triggered, this,
            [this, op] { RunAssetList(*DB1, op, this); });
  connect(ecs->addAction(QStringLiteral("ÉCS-k &törlése")), &QAction::triggered, this,
          &TMainForm::DeleteRun);
  connect(ecs->addAction(QStringLiteral("Eddigi ÉCS számítások")), &QAction::triggered, this,
          &TMainForm::RunList);

  QMenu* lists = menuBar()->addMenu(QStringLiteral("&Listák"));
  AddListingItem<TFormKartonNyomt>(lists, QStringLiteral("&Karton"));
  AddListingItem<TFormFelad>(lists, QStringLiteral("&Feladás"));
  AddListingItem<TFormLeltlis>(lists, QStringLiteral("&Leltáriszám lista"));
  AddListingItem<TFormFkszLis>(lists, QStringLiteral("K&ontírszámos lista"));
  AddListingItem<TFormOsszes1>(lists, QStringLiteral("Összesítő lista"));
  AddListingItem<TFormKartonKoltsh>(lists, QStringLiteral("Költséghelyes Karton"));
  AddListingItem<TFormLeltliskoltsh>(lists, QStringLiteral("Költséghelyes leltáriszám lista"));
  AddListingItem<TFormFeladKh>(lists, QStringLiteral("Költséghelyes feladás"));

  QMenu* service = menuBar()->addMenu(QStringLiteral("&Szervíz"));
  connect(service->addAction(QStringLiteral("&Mentés")), &QAction::triggered, this,
          [this] { BackupOrRestore(*this, *DB1, true); });
  connect(service->addAction(QStringLiteral("&Töltés")), &QAction::triggered, this, [this] {
    BackupOrRestore(*this, *DB1, false);
    m_start.CompanySwitched();
  });
  connect(service->addAction(QStringLiteral("&Cég váltás")), &QAction::triggered, this,
          &TMainForm::CompanySwitch);
  connect(service->addAction(QStringLiteral("Könyvelési &beállítások")), &QAction::triggered, this,
          [this] { TfrmVexorExp::ShowPostingSetup(*DB1, this); });
  connect(service->addAction(QStringLiteral("Amortizációs kulcsok ellenőrzése")),
          &QAction::triggered, this, [this] {
            TfrmKulcsEll form(*DB1, this);
            form.exec();
          });
  connect(service->addAction(QStringLiteral("CSV import")), &QAction::triggered, this,
          &TMainForm::CsvImport);
  connect(service->addAction(QStringLiteral("Átvétel DOS-os VEXOR -ból")), &QAction::triggered,
          this, &TMainForm::DosTakeOver);
  connect(service->addAction(QStringLiteral("XML input (Átvétel TIRNA -ből)")), &QAction::triggered,
          this, &TMainForm::XmlInput);
  connect(service->addAction(QStringLiteral("SQL beállítások")), &QAction::triggered, this,
          &TMainForm::ConnectionSettings);

  QMenu* other = menuBar()->addMenu(QStringLiteral("&Egyéb"));
  connect(other->addAction(QStringLiteral("&Gépi feladás")), &QAction::triggered, this, [this] {
    TFormGepiFelad form(*DB1, this);
    form.exec();
  });
  connect(other->addAction(QStringLiteral("&Cég adatok")), &QAction::triggered, this, [this] {
    TFormceg form(*DB1, *DB0, this);
    form.exec();
  });

  auto* central = new QWidget(this);
  Image1 = new QLabel(central);
  PanelTurelem = new QWidget(central);
  PanelTurelem->setAutoFillBackground(true);
  auto* wait = new QVBoxLayout(PanelTurelem);
  auto* waitText = new QLabel(QStringLiteral("Türelmet kérek..."), PanelTurelem);
  waitText->setAlignment(Qt::AlignCenter);
  QFont waitFont = waitText->font();
  waitFont.setBold(true);
  waitText->setFont(waitFont);
  ProgressBar1 = new QProgressBar(PanelTurelem);
  ProgressBar1->setRange(0, 100);
  wait->addWidget(waitText);
  wait->addWidget(ProgressBar1);
  PanelTurelem->resize(320, 80);
  PanelTurelem->hide();
  setCentralWidget(central);

  auto* status = new QWidget(this);
  auto* statusLayout = new QHBoxLayout(status);
  statusLayout->setContentsMargins(6, 2, 6, 2);
  PanelStatus = new QLabel(status);
  QFont bold = PanelStatus->font();
  bold.setBold(true);
  bold.setPixelSize(16);
  PanelStatus->setFont(bold);
  LabelLSTDIR = new QLabel(status);
  statusLayout->addWidget(PanelStatus, 1);
  statusLayout->addWidget(LabelLSTDIR);
  statusBar()->addWidget(status, 1);
  statusBar()->setSizeGripEnabled(false);

  TimerStop = new QTimer(this);
  TimerStop->setInterval(500);
  TimerStop->setSingleShot(true);
  connect(TimerStop, &QTimer::timeout, this, &QWidget::close);

  qlock = new TUniSQLQuery(this);
  qlock->SetDatabase(DB1);
  qlock->SetSQL(QStringList{QStringLiteral("lock tables KARTFEJ write,"),
                            QStringLiteral("KARTTET write;")});
  qunlock = new TUniSQLQuery(this);
  qunlock->SetDatabase(DB1);
  qunlock->SetSQL(QStringLiteral("unlock tables;"));
  QFlush = new TUniSQLQuery(this);
  QFlush->SetDatabase(DB1);
  QFlush->SetSQL(QStringList{QStringLiteral("flush tables;"), QStringLiteral("unlock tables;")});

  FormCreate();
}

TMainForm::~TMainForm() {
  if (g_mainForm == this) g_mainForm = nullptr;
}

void TMainForm::FormCreate() {
  AppGlobals& g = Globals();
  QString logon = LogonName();
  if (logon.isEmpty()) logon = ComputerName();
  g.LogonUserName = CleanUserName(logon);
  QDir::setCurrent(g.ProgramDir);

  const ::ConnectionSettings connection =
      LoadConnectionSettings(ResolvePath(g.ProgramDir, QLatin1String(kIniFileName)));
  ApplyTimeouts(connection);
  ApplyConnectionSettings(connection, *DB0);
  ApplyConnectionSettings(connection, *DB1);

  g.UserDir = g.ProgramDir + g.LogonUserName;
  if (!QDir().mkpath(g.UserDir))
    throw EInOutError(5, QStringLiteral("Nem hozható létre a könyvtár: ") + g.UserDir);
  if (!g.UserDir.endsWith('/')) g.UserDir += '/';
  LabelLSTDIR->setText(g.UserDir);

  const UserSettings user =
      LoadUserSettings(ResolvePath(g.UserDir, QLatin1String(kIniFileName)));
  g.DataAlias = user.DataAlias;
  DB1->SetDatabasename(g.DataAlias);
  g.GridScale = user.GridScale;
  g.FontScale = user.FontScale;
  g.CrTabMode = user.CrTabMode;

  for (const QString& dir : {g.UserDir, g.ProgramDir}) {
    const QString logo = FindExistingPath(dir + "logoscr.bmp");
    QPixmap picture;
    if (!logo.isEmpty() && picture.load(logo)) {
      Image1->setPixmap(picture);
      Image1->resize(picture.size());
      break;
    }
  }

  FormSetupOwnColors(this);
  const int maxHeight = ScreenSize().height() - 100;
  if (height() > maxHeight) resize(width(), maxHeight);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_activationQueued) return;
  m_activationQueued = true;
  // After the window is on the screen, so the question and the steps show above it.
  QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::FormActivate() {
  // The program is ending (its settings could not be written): reach nothing, just close.
  if (Ui().TerminateRequested() || !m_start.Activate(m_arguments)) TimerStop->start();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  CenterImage();
}

void TMainForm::CenterImage() {
  QWidget* area = centralWidget();
  if (!area) return;
  Image1->move(qMax(0, (area->width() - Image1->width()) / 2),
               qMax(0, (area->height() - Image1->height()) / 2));
  PanelTurelem->move((area->width() - PanelTurelem->width()) / 2,
                     (area->height() - PanelTurelem->height()) / 2);
}

void TMainForm::SetStatusText(const QString& text) {
  PanelStatus->setText(text);
  PanelStatus->repaint();
}

void TMainForm::ShowServerUnreachable() {
  TFormMySQLSetup form(*DB0, *DB1, this);
  form.exec();
}

void TMainForm::ShowCompanyList() { ::ShowCompanyList(*DB0, *DB1, this); }

TMainForm::WaitPanel::WaitPanel(TMainForm& form) : m_form(form) {
  m_form.CenterImage();
  m_form.ProgressBar1->setValue(0);
  m_form.PanelTurelem->show();
  m_form.PanelTurelem->raise();
  m_form.PanelTurelem->repaint();
}

TMainForm::WaitPanel::~WaitPanel() { m_form.PanelTurelem->hide(); }

void TMainForm::WaitPanel::Progress(int position, int maximum) {
  m_form.ProgressBar1->setMaximum(qMax(1, maximum));
  m_form.ProgressBar1->setValue(position);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMainForm::RecalcAllBalances(TUniSQLDatabase& db) {
  WaitPanel wait(*this);
  ::RecalcAllBalances(db, [&](int position, int maximum) { wait.Progress(position, maximum); });
}

// After a run or its deletion; a failed recalculation is told, the wait panel has ended by then.
void TMainForm::RecalcBalancesAfterRun() {
  try {
    RecalcAllBalances(*DB1);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
  }
}

void TMainForm::DepreciationRun() {
  TFormECSszamito form(*DB1, this);
  if (form.exec() == QDialog::Accepted) RecalcBalancesAfterRun();
}

void TMainForm::DeleteRun() {
  {
    TFormECSTorol form(*DB1, this);
    form.exec();
  }
  RecalcBalancesAfterRun();
}

void TMainForm::RunList() {
  TFormECSSZLis form(*DB1, this);
  form.exec();
}

void TMainForm::CompanySwitch() {
  ShowCompanyList();
  m_start.CompanySwitched();
}

void TMainForm::ConnectionSettings() {
  TFormMySQLsetup2 form(*DB0, *DB1, this);
  form.EditUser->setText(QStringLiteral("root"));
  form.EditPsw->clear();
  if (form.exec() != QDialog::Accepted) return;
  Ui().MessageBox(QString::fromUtf8(kRestartMessage), QString::fromUtf8(kApplicationTitle),
                  MsgType::Information, mbOK, mbOK);
  close();
}

void TMainForm::CsvImport() {
  TFormCSVinport form(*DB0, *DB1, this);
  form.exec();
}

void TMainForm::DosTakeOver() { TakeOverFromDos(*DB0, *DB1, this); }

void TMainForm::XmlInput() {
  TFormXMLinput form(*DB1, this);
  form.exec();
}
