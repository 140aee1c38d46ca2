#include "frm_vexor_exp.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "data_set.h"
#include "data_set_model.h"
#include "data_source.h"
#include "exceptions.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_query.h"

namespace {
TfrmVexorExp* g_current = nullptr;

// Keeps the entry point's form in its variable while it lives.
struct CurrentForm {
  explicit CurrentForm(TfrmVexorExp* form) { g_current = form; }
  ~CurrentForm() { g_current = nullptr; }
};

QWidget* percentRow(QLineEdit* edit, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Áfa:"), row));
  layout->addWidget(edit);
  layout->addWidget(new QLabel(QStringLiteral("%"), row));
  layout->addStretch();
  return row;
}
}  // namespace

TfrmVexorExp* TfrmVexorExp::Current() { return g_current; }

TfrmVexorExp::TfrmVexorExp(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("frmVexorExp"));
  setWindowTitle(QStringLiteral("Könyvelés"));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // the form fits the visible panel

  pnlMain = new QWidget(this);
  pnlMain->setObjectName(QStringLiteral("pnlMain"));
  auto* main = new QGridLayout(pnlMain);
  main->addWidget(new QLabel(QStringLiteral("Kivánja most könyvelni?"), pnlMain), 0, 0, 1, 2);
  edtAFA = new QLineEdit(pnlMain);
  edtAFA->setObjectName(QStringLiteral("edtAFA"));
  main->addWidget(percentRow(edtAFA, pnlMain), 1, 0, 1, 2);
  bbnIgen = new QPushButton(QStringLiteral("&Igen"), pnlMain);
  bbnIgen->setObjectName(QStringLiteral("bbnIgen"));
  bbnNem = new QPushButton(QStringLiteral("&Nem"), pnlMain);
  bbnNem->setObjectName(QStringLiteral("bbnNem"));
  main->addWidget(bbnIgen, 2, 0);
  main->addWidget(bbnNem, 2, 1);
  layout->addWidget(pnlMain);

  pnlSetup = new QWidget(this);
  pnlSetup->setObjectName(QStringLiteral("pnlSetup"));
  auto* setup = new QGridLayout(pnlSetup);
  setup->addWidget(new QLabel(QStringLiteral("Könyvelési beállítások"), pnlSetup), 0, 0, 1, 3);
  setup->addWidget(new QLabel(QStringLiteral("Vexor könyvelőprogram:"), pnlSetup), 1, 0);
  edtVexor = new QLineEdit(pnlSetup);
  edtVexor->setObjectName(QStringLiteral("edtVexor"));
  edtVexor->setMinimumWidth(300);
  bbnVexor = new QPushButton(QStringLiteral("F2"), pnlSetup);
  bbnVexor->setObjectName(QStringLiteral("bbnVexor"));
  setup->addWidget(edtVexor, 1, 1);
  setup->addWidget(bbnVexor, 1, 2);
  chbAblak = new QCheckBox(QStringLiteral("Kérdés megjelenítése felvitel után:"), pnlSetup);
  chbAblak->setObjectName(QStringLiteral("chbAblak"));
  chbAblak->setLayoutDirection(Qt::RightToLeft);
  setup->addWidget(chbAblak, 2, 0, 1, 2, Qt::AlignLeft);
  chbKonyvelni = new QCheckBox(QStringLiteral("Lekönyvelés:"), pnlSetup);
  chbKonyvelni->setObjectName(QStringLiteral("chbKonyvelni"));
  chbKonyvelni->setLayoutDirection(Qt::RightToLeft);
  chbKonyvelni->hide();
  setup->addWidget(chbKonyvelni, 3, 0, 1, 2, Qt::AlignLeft);
  edtSetupAfasz = new QLineEdit(pnlSetup);
  edtSetupAfasz->setObjectName(QStringLiteral("edtSetupAfasz"));
  setup->addWidget(percentRow(edtSetupAfasz, pnlSetup), 4, 0, 1, 3);
  LabelCegAB = new QLabel(QStringLiteral("Könyvelési adatbázis:"), pnlSetup);
  LabelCegAB->setObjectName(QStringLiteral("LabelCegAB"));
  LabelCegAB->hide();
  setup->addWidget(LabelCegAB, 5, 0, 1, 3);
  DBGcegek = new QTableView(pnlSetup);
  DBGcegek->setObjectName(QStringLiteral("DBGcegek"));
  DBGcegek->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGcegek->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGcegek->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGcegek->verticalHeader()->hide();
  DBGcegek->horizontalHeader()->setStretchLastSection(true);
  DBGcegek->hide();
  setup->addWidget(DBGcegek, 6, 0, 1, 3);
  bbnSetupOk = new QPushButton(QStringLiteral("&Rendben"), pnlSetup);
  bbnSetupOk->setObjectName(QStringLiteral("bbnSetupOk"));
  bbnSetupMegsem = new QPushButton(QStringLiteral("&Mégsem"), pnlSetup);
  bbnSetupMegsem->setObjectName(QStringLiteral("bbnSetupMegsem"));
  setup->addWidget(bbnSetupOk, 7, 1, Qt::AlignRight);
  setup->addWidget(bbnSetupMegsem, 7, 2);
  layout->addWidget(pnlSetup);

  Qcegek = new TUniSQLQuery(this);
  Qcegek->SetDatabase(&m_database);
  Qcegek->SetSQL(
      QStringList{QStringLiteral("select * from VEXOR2003.CEGEK"), QStringLiteral("order by 2")});
  m_source = new TDataSource(this);
  m_source->SetDataSet(Qcegek);
  m_model = new TDataSetModel(this);
  m_model->SetDataSource(m_source);
  DBGcegek->setModel(m_model);
  connect(m_model, &TDataSetModel::CurrentRowChanged, this,
          [this](int row) { DBGcegek->selectRow(row); });
  connect(DBGcegek->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& index) {
            if (index.isValid() && index.row() != m_model->CurrentRow())
              m_model->SetCurrentRow(index.row());
          });

  connect(bbnIgen, &QPushButton::clicked, this, &TfrmVexorExp::bbnIgenClick);
  connect(bbnNem, &QPushButton::clicked, this, [this] { done(mbNo); });
  connect(chbAblak, &QCheckBox::clicked, this, &TfrmVexorExp::chbAblakClick);
  connect(bbnVexor, &QPushButton::clicked, this, &TfrmVexorExp::bbnVexorClick);
  connect(new QShortcut(Qt::Key_F2, edtVexor, nullptr, nullptr, Qt::WidgetShortcut),
          &QShortcut::activated, this, &TfrmVexorExp::bbnVexorClick);
  connect(bbnSetupOk, &QPushButton::clicked, this, &TfrmVexorExp::bbnSetupOkClick);
  connect(bbnSetupMegsem, &QPushButton::clicked, this, &QDialog::reject);
  FormSetupOwnColors(this);
}

TfrmVexorExp::~TfrmVexorExp() { Qcegek->Close(); }

void TfrmVexorExp::ShowPanel(QWidget* panel) {
  pnlMain->setVisible(panel == pnlMain);
  pnlSetup->setVisible(panel == pnlSetup);
}

void TfrmVexorExp::AskAndPost(TUniSQLDatabase& database, TDataSet& asset, bool apport,
                              QWidget* parent) {
  TfrmVexorExp form(database, parent);
  CurrentForm current(&form);
  form.ShowPanel(form.pnlMain);
  form.m_asset = &asset;
  form.m_apport = apport;
  form.LoadPostingSettings();
  if (form.m_settings.Vexor.trimmed().isEmpty()) return;
  if (form.m_settings.Ablak)
    form.exec();
  else if (form.m_settings.Valasz)
    PostAssetToVexor(database, asset, apport, QString::number(form.m_settings.Afa),
                     form.m_settings);
}

void TfrmVexorExp::ShowPostingSetup(TUniSQLDatabase& database, QWidget* parent) {
  TfrmVexorExp form(database, parent);
  CurrentForm current(&form);
  form.ShowPanel(form.pnlSetup);
  form.LoadPostingSettings();
  form.chbAblakClick();
  form.OpenCompanies();
  form.exec();
  form.Qcegek->Close();
}

void TfrmVexorExp::OpenCompanies() {
  try {
    const QString chosen = ReadVexorDatabase();
    Qcegek->Open();
    Qcegek->First();
    TField* name = Qcegek->FieldByName(QStringLiteral("DBName"));
    for (; !Qcegek->Eof(); Qcegek->Next())
      if (name->AsString() == chosen) break;
    if (Qcegek->Eof()) Qcegek->First();
    DBGcegek->selectRow(m_model->CurrentRow());
    LabelCegAB->show();
    DBGcegek->show();
  } catch (const Exception&) {
    // No accounting database of the sibling product here: the settings go without the grid.
    Qcegek->Close();
  }
}

void TfrmVexorExp::LoadPostingSettings() {
  m_settings = LoadVexorSettings();
  edtAFA->setText(QString::number(m_settings.Afa));
  edtSetupAfasz->setText(QString::number(m_settings.Afa));
  chbAblak->setChecked(m_settings.Ablak);
  chbKonyvelni->setChecked(m_settings.Valasz);
  edtVexor->setText(m_settings.Vexor);
}

void TfrmVexorExp::SavePostingSettings() { SaveVexorSettings(m_settings); }

void TfrmVexorExp::chbAblakClick() { chbKonyvelni->setVisible(!chbAblak->isChecked()); }

void TfrmVexorExp::bbnVexorClick() {
  const QString current = edtVexor->text();
  QString dir;
  if (!current.trimmed().isEmpty()) dir = QFileInfo(current).absoluteFilePath();
  const QString chosen = Ui().OpenFileName(
      QString(), dir,
      QStringLiteral("Vexor (vexor2*.exe);;Futtatható állományok (*.exe *.com *.cmd *.bat *.pif "
                     "*.lnk);;Minden állomány (*)"),
      QString());
  if (!chosen.trimmed().isEmpty()) edtVexor->setText(chosen);
}

void TfrmVexorExp::bbnSetupOkClick() {
  int rate = 0;
  if (!ParseVatRate(edtSetupAfasz->text(), rate)) {
    Ui().MessageBox(QStringLiteral("Nem megfelelő ÁFA% !"), QStringLiteral("HIBA!"), MsgType::Error,
                    mbOK);
    edtSetupAfasz->setFocus();
    return;
  }
  m_settings.Afa = rate;
  m_settings.Ablak = chbAblak->isChecked();
  m_settings.Valasz = chbKonyvelni->isChecked();
  m_settings.Vexor = edtVexor->text();
  try {
    if (Qcegek->Active() && !Qcegek->IsEmpty())
      WriteVexorDatabase(Qcegek->FieldByName(QStringLiteral("DBName"))->AsString());
    SavePostingSettings();
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error, mbOK);
    return;
  }
  accept();
}

void TfrmVexorExp::bbnIgenClick() {
  int rate = 0;
  // A bad rate keeps the question open for a correction.
  if (!ParseVatRate(edtAFA->text(), rate)) {
    Ui().MessageBox(QStringLiteral("Nem megfelelő ÁFA% !"), QStringLiteral("HIBA!"), MsgType::Error,
                    mbOK);
    edtAFA->setFocus();
    return;
  }
  if (m_asset) PostAssetToVexor(m_database, *m_asset, m_apport, edtAFA->text(), m_settings);
  done(mbYes);
}
