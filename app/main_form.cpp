#include "main_form.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app_globals.h"
#include "asset_commands.h"
#include "backup_commands.h"
#include "balance_recalc.h"
#include "company_databases.h"
#include "database_maintenance.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "file_lookup.h"
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
#include "form_megjelenes.h"
#include "form_my_sql_setup.h"
#include "form_my_sql_setup2.h"
#include "form_nevjegy.h"
#include "form_osszes1.h"
#include "form_setup.h"
#include "form_xml_input.h"
#include "formceg.h"
#include "frm_kulcs_ell.h"
#include "frm_vexor_exp.h"
#include "help_viewer.h"
#include "program_maintenance.h"
#include "report_renderer.h"
#include "screen_size.h"
#include "start_settings.h"
#include "system_info.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"
#include "wait_cursor.h"

namespace {
TMainForm* g_mainForm = nullptr;

const QString kLogoFile = QStringLiteral("logoscr.bmp");
const QString kNotAvailable = QStringLiteral("A funkció még nem érhető el.");

QString RowKey(const QString& title, const QString& item) { return title + u'|' + item; }

// The speed buttons, left to right, each running its menu row.
const TSpeedButton kSpeedButtons[] = {
    {"Új felvitel", "&Munka", "&Uj felvitel"},
    {"Keresés", "Kere&sés", ""},
    {"Mentés", "&Szervíz", "&Mentés"},
    {"Nyomtató beállítás", "&Szervíz", "&Nyomtató"},
    {"Súgó", "&Súgó", "&Tartalom"},
    {"Névjegy", "&Súgó", "&Névjegy"},
    {"Kilépés", "&Kilépés", ""},
};
}  // namespace

TMainForm* MainForm() { return g_mainForm; }

// A form over the company database, modal, freed when it closes.
template <class TForm>
std::function<void()> TMainForm::OnCompany() {
  return [this] {
    TForm form(*DB1, this);
    form.exec();
  };
}

// The whole menu bar, in its order. Rows whose command is still missing hold none.
QList<TMenuRow> TMainForm::MenuRows() {
  const QString work = QStringLiteral("&Munka"), ecs = QStringLiteral("&ÉCS"),
                lists = QStringLiteral("&Listák"), service = QStringLiteral("&Szervíz"),
                other = QStringLiteral("&Egyéb"), help = QStringLiteral("&Súgó");
  const auto assetList = [this](const AssetOperation& op) {
    return [this, op] { RunAssetList(*DB1, op, this); };
  };
  const auto programHelp = [] { ShowProgramHelp(0); };
  const auto exit = [this] { close(); };

  QList<TMenuRow> rows;
  rows.append({work, QStringLiteral("&Uj felvitel"), [this] { NewAssetLoop(*DB1, this); }});
  for (const AssetOperation& op : WorkMenuOperations()) {
    if (op.action == QLatin1Char('7'))
      rows.append({work, QStringLiteral("&Kapott apport"), [this] {
                     ContributionReceived(*DB1, this, [this](TDataSet& asset) {
                       TfrmVexorExp::AskAndPost(*DB1, asset, true, this);
                     });
                   }});
    rows.append({work, op.menuCaption, assetList(op)});
  }
  rows.append({work, QStringLiteral("K&ilépés"), exit});
  rows.append({QStringLiteral("Kere&sés"), {}, assetList(SearchOperation())});

  rows.append({ecs, QStringLiteral("&Számítás"), [this] { DepreciationRun(); }});
  for (const AssetOperation& op : DepreciationMenuOperations())
    rows.append({ecs, op.menuCaption, assetList(op)});
  rows.append({ecs, QStringLiteral("ÉCS-k &törlése"), [this] { DeleteRun(); }});
  rows.append({ecs, QStringLiteral("Eddigi ÉCS számítások"), [this] { RunList(); }});

  rows.append({lists, QStringLiteral("&Karton"), OnCompany<TFormKartonNyomt>()});
  rows.append({lists, QStringLiteral("&Feladás"), OnCompany<TFormFelad>()});
  rows.append({lists, QStringLiteral("&Leltáriszám lista"), OnCompany<TFormLeltlis>()});
  rows.append({lists, QStringLiteral("K&ontírszámos lista"), OnCompany<TFormFkszLis>()});
  rows.append({lists, QStringLiteral("Összesítő lista"), OnCompany<TFormOsszes1>()});
  rows.append({lists, QStringLiteral("Költséghelyes Karton"), OnCompany<TFormKartonKoltsh>()});
  rows.append(
      {lists, QStringLiteral("Költséghelyes leltáriszám lista"), OnCompany<TFormLeltliskoltsh>()});
  rows.append({lists, QStringLiteral("Költséghelyes feladás"), OnCompany<TFormFeladKh>()});

  rows.append({service, QStringLiteral("&Mentés"), [this] { RunBackupCommand(*DB1, this); }});
  rows.append({service, QStringLiteral("&Töltés"), [this] {
                 RunRestoreCommand(*DB1, this);
                 m_start.CompanySwitched();
               }});
  rows.append(
      {service, QStringLiteral("&Újra szervezés"), [this] { Reorganize(ReorganizeDatabase); }});
  rows.append({service, QStringLiteral("Egyenlegek újraszámolása"),
               [this] { RecalcBalancesCommand(RecalcAllBalancesAndClose); }});
  rows.append({service, QStringLiteral("&Megjelenés, kezelési stilus"), [this] { Appearance(); }});
  rows.append({service, QStringLiteral("&Nyomtató"), [this] { PrinterSetup(); }});
  rows.append({service, QStringLiteral("&Cég váltás"), [this] { CompanySwitch(); }});
  rows.append({service, QStringLiteral("Könyvelési &beállítások"),
               [this] { TfrmVexorExp::ShowPostingSetup(*DB1, this); }});
  rows.append(
      {service, QStringLiteral("Amortizációs kulcsok ellenőrzése"), OnCompany<TfrmKulcsEll>()});
  rows.append({service, QStringLiteral("CSV import"), [this] { CsvImport(); }});
  rows.append({service, QStringLiteral("Átvétel DOS-os VEXOR -ból"), [this] { DosTakeOver(); }});
  rows.append({service, QStringLiteral("XML input (Átvétel TIRNA -ből)"), [this] { XmlInput(); }});
  rows.append({service, QStringLiteral("SQL beállítások"), [this] { ConnectionSettings(); }});

  rows.append({other, QStringLiteral("&Gépi feladás"), OnCompany<TFormGepiFelad>()});
  rows.append({other, QStringLiteral("&Cég adatok"), [this] {
                 TFormceg form(*DB1, *DB0, this);
                 // The status line names the company as just saved, not as it was at start.
                 if (form.exec() == QDialog::Accepted) SetStatusText(CompanyLine(*DB0, *DB1));
               }});
  rows.append({other, QStringLiteral("&Program mentés"),
               [this] { StartProgramCommand(StartProgramBackup); }});
  rows.append(
      {other, QStringLiteral("&Új verzió"), [this] { StartProgramCommand(StartNewVersion); }});
  rows.append({other, QStringLiteral("P&rogram visszaállítás"),
               [this] { StartProgramCommand(StartProgramRestore); }});

  rows.append({help, QStringLiteral("&Tartalom"), programHelp});
  rows.append({help, QStringLiteral("Kere&sés"), programHelp});
  rows.append({help, QStringLiteral("&Sugó használata"), programHelp});
  rows.append({help, QStringLiteral("&Névjegy"), [this] { About(); }});
  rows.append({help, QStringLiteral("&Dokumentáció"), OpenDocumentation});

  rows.append({QStringLiteral("&Kilépés"), {}, exit});
  return rows;
}

void TMainForm::BuildMenuBar(const QList<TMenuRow>& rows) {
  QHash<QString, QMenu*> menus;
  for (const TMenuRow& row : rows) {
    QAction* action;
    if (row.Item.isEmpty()) {
      action = menuBar()->addAction(row.Title);
    } else {
      QMenu*& menu = menus[row.Title];
      if (!menu) menu = menuBar()->addMenu(row.Title);
      action = menu->addAction(row.Item);
    }
    m_actions.insert(RowKey(row.Title, row.Item), action);
    connect(action, &QAction::triggered, this,
            [this, command = row.Command] { RunCommand(command); });
  }
}

void TMainForm::BuildSpeedButtons() {
  auto* speedButtons = addToolBar(QStringLiteral("SpeedButtons"));
  speedButtons->setMovable(false);
  for (const TSpeedButton& button : kSpeedButtons) {
    QAction* menuAction =
        MenuAction(QString::fromUtf8(button.Title), QString::fromUtf8(button.Item));
    Q_ASSERT(menuAction);
    QAction* action = speedButtons->addAction(QString::fromUtf8(button.Text));
    action->setToolTip(action->text());
    connect(action, &QAction::triggered, menuAction, &QAction::trigger);
  }
  auto* spacer = new QWidget(speedButtons);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  speedButtons->addWidget(spacer);
  BtnVerzio = new QPushButton(QStringLiteral("V 3.13"), speedButtons);
  BtnVerzio->setFocusPolicy(Qt::NoFocus);
  speedButtons->addWidget(BtnVerzio);
  connect(BtnVerzio, &QPushButton::clicked, this,
          [this] { RunCommand([] { ShowProgramHelp(9999); }); });
}

QAction* TMainForm::MenuAction(const QString& title, const QString& item) const {
  return m_actions.value(RowKey(title, item));
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

  BuildMenuBar(MenuRows());
  BuildSpeedButtons();

  auto* central = new QWidget(this);
  Image1 = new QLabel(central);
  Image1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Image1, &QWidget::customContextMenuRequested, this,
          [this] { RunCommand([this] { ChangeLogo(); }); });
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
  qlock->SetSQL(
      QStringList{QStringLiteral("lock tables KARTFEJ write,"), QStringLiteral("KARTTET write;")});
  qunlock = new TUniSQLQuery(this);
  qunlock->SetDatabase(DB1);
  qunlock->SetSQL(QStringLiteral("unlock tables;"));
  QFlush = new TUniSQLQuery(this);
  QFlush->SetDatabase(DB1);
  QFlush->SetSQL(QStringList{QStringLiteral("flush tables;"), QStringLiteral("unlock tables;")});

  FormCreate();
  InstallFormKeys(this);
  qApp->installEventFilter(this);
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

  const UserSettings user = LoadUserSettings(ResolvePath(g.UserDir, QLatin1String(kIniFileName)));
  g.DataAlias = user.DataAlias;
  DB1->SetDatabasename(g.DataAlias);
  g.GridScale = user.GridScale;
  g.FontScale = user.FontScale;
  g.CrTabMode = user.CrTabMode;

  for (const QString& dir : {g.UserDir, g.ProgramDir}) {
    const QString logo = FindExistingPath(dir + kLogoFile);
    QPixmap picture;
    if (!logo.isEmpty() && picture.load(logo)) {
      ShowLogo(picture);
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
  if (Ui().TerminateRequested()) {
    TimerStop->start();
    return;
  }
  // An error the start did not foresee is told; the program goes on with the main form.
  bool reached = true;
  RunCommand([&] { reached = m_start.Activate(m_arguments); });
  if (!reached) TimerStop->start();
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

void TMainForm::DepreciationRun() {
  TFormECSszamito form(*DB1, this);
  if (form.exec() == QDialog::Accepted) RecalcAllBalances(*DB1);
}

void TMainForm::DeleteRun() {
  {
    TFormECSTorol form(*DB1, this);
    form.exec();
  }
  RecalcAllBalances(*DB1);
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

void TMainForm::RunCommand(const std::function<void()>& command) {
  if (!command) {
    Ui().MessageBox(kNotAvailable, QStringLiteral("FIGYELEM"), MsgType::Warning);
    return;
  }
  QString error;
  try {
    command();
    return;
  } catch (const Exception& e) {
    error = e.Message();
  } catch (const std::exception& e) {
    error = QString::fromUtf8(e.what());
  }
  // What the command left on the screen goes before the message shows.
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  PanelTurelem->hide();
  Ui().MessageBox(error, QStringLiteral("HIBA!"), MsgType::Error);
}

void TMainForm::Appearance() { TFormMegjelenes::EditAppearance(this); }

void TMainForm::PrinterSetup() { RendererPrinterSetup(Globals().UserDir); }

void TMainForm::About() {
  TFormNevjegy form(this);
  form.LabelVerzio->setText(BtnVerzio->text());
  form.exec();
}

void TMainForm::ShowLogo(const QPixmap& picture) {
  Image1->setPixmap(picture);
  Image1->resize(picture.size());
  CenterImage();
}

void TMainForm::ChangeLogo() {
  const QString chosen =
      Ui().OpenFileName(QStringLiteral("Nyitó kép"), Globals().UserDir,
                        QStringLiteral("bmp fileok (*.bmp)"), QStringLiteral("bmp"));
  if (chosen.isEmpty()) return;
  const QString target = Globals().UserDir + kLogoFile;
  const QFileInfo source(chosen);
  if (source.canonicalFilePath() == QFileInfo(target).canonicalFilePath()) return;
  QFile in(chosen);
  if (!in.open(QIODevice::ReadOnly)) {
    Ui().MessageBox(QStringLiteral("A fájl nem olvasható: ") + chosen, QStringLiteral("FIGYELEM"),
                    MsgType::Warning);
    return;
  }
  const QByteArray bytes = in.readAll();
  const QImage picture = QImage::fromData(bytes);
  if (picture.isNull()) {
    Ui().MessageBox(
        QStringLiteral("A választott fájl nem kép, a nyitó kép nem változott: ") + chosen,
        QStringLiteral("FIGYELEM"), MsgType::Warning);
    return;
  }
  // A temporary file beside the old logo takes its place only when written whole.
  QSaveFile out(target);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
    throw EInOutError(5, QStringLiteral("A nyitó kép nem írható: ") + target);
  ShowLogo(QPixmap::fromImage(picture));
}

void TMainForm::StartProgramCommand(const std::function<bool(QWidget*)>& start) {
  if (start(this)) close();
}

void TMainForm::Reorganize(const std::function<void(TUniSQLDatabase&, const QString&,
                                                    const RecalcProgress&)>& reorganize) {
  {
    TWaitCursor cursor;
    WaitPanel wait(*this);
    reorganize(*DB1, Globals().ProgramDir,
               [&](int position, int maximum) { wait.Progress(position, maximum); });
  }
  Ui().ShowMessage2(QString(), QStringLiteral("Újrszervezés elkészült"));
}

void TMainForm::RecalcBalancesCommand(
    const std::function<void(TUniSQLDatabase&, const RecalcProgress&)>& recalc) {
  TWaitCursor cursor;
  WaitPanel wait(*this);
  recalc(*DB1, [&](int position, int maximum) { wait.Progress(position, maximum); });
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
      watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this &&
      !QApplication::activePopupWidget()) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_S && (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier) {
      // Taken from the menu bar's own shortcuts, which would run "Kere&sés" at once.
      if (event->type() == QEvent::ShortcutOverride)
        event->accept();
      else
        HighlightNextAltS();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::HighlightNextAltS() {
  QMenuBar* bar = menuBar();
  QList<QAction*> titles;
  for (QAction* a : bar->actions())
    if (QKeySequence::mnemonic(a->text()) == QKeySequence(Qt::ALT | Qt::Key_S)) titles << a;
  if (titles.isEmpty()) return;
  QAction* current = bar->activeAction();
  QAction* next = titles.value((titles.indexOf(current) + 1) % titles.size());
  // The menu bar's keyboard mode, as a lone Alt starts it: there Enter or Down opens the
  // highlighted menu and Enter runs a title that is a command.
  if (!current || !bar->hasFocus()) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(this, &press);
    QApplication::sendEvent(this, &release);
  }
  for (int step = 0; step < bar->actions().size() && bar->activeAction() != next; ++step) {
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(bar, &right);
  }
}
