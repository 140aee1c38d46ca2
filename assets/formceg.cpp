#include "formceg.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "company_data.h"
#include "company_databases.h"
#include "data_source.h"
#include "db_combo_box.h"
#include "db_edit.h"
#include "edit_grid.h"
#include "exceptions.h"
#include "exit_edit.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_table.h"

TFormceg::TFormceg(TUniSQLDatabase& db1, TUniSQLDatabase& db0, QWidget* parent)
    : QDialog(parent), m_db1(db1), m_db0(db0) {
  setObjectName(QStringLiteral("Formceg"));
  setWindowTitle(QStringLiteral("Cég fő adatai"));
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  Table1 = new TUniSQLTable(this);
  Table1->SetTablename(QStringLiteral("CEG"));
  TablePontosok = new TUniSQLTable(this);
  TablePontosok->SetTablename(QStringLiteral("PONTOSOK"));
  TablePontosok->SetIndexFields(QStringLiteral("PDATUM1"));
  m_source = new TDataSource(this);
  m_source->SetDataSet(Table1);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Cég neve:"), this), 0, 0);
  DBECEGNEV = new TDBEdit(this);
  DBECEGNEV->setObjectName(QStringLiteral("DBECEGNEV"));
  layout->addWidget(DBECEGNEV, 0, 1, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Adószám:"), this), 1, 0);
  DBEADOSZAM = new TDBEdit(this);
  DBEADOSZAM->setObjectName(QStringLiteral("DBEADOSZAM"));
  layout->addWidget(DBEADOSZAM, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("Könyvelés módja:"), this), 2, 0);
  DBCkonyveles = new TDBComboBox(this);
  DBCkonyveles->setObjectName(QStringLiteral("DBCkonyveles"));
  DBCkonyveles->SetItems({QStringLiteral("E - Egyszeres"), QStringLiteral("K - Kettős")});
  layout->addWidget(DBCkonyveles, 2, 1);
  layout->addWidget(new QLabel(QStringLiteral("Számítási pontosság:"), this), 3, 0);
  layout->addWidget(new QLabel(QStringLiteral("N - Napi\nH - Havi\n4 - Negyedéves"), this), 3, 1);
  layout->addWidget(new QLabel(QStringLiteral("Időszak:"), this), 4, 0);
  layout->addWidget(new QLabel(QStringLiteral(" -tól                            -ig"), this), 4, 1);
  layout->addWidget(new QLabel(QStringLiteral("Pontosság"), this), 4, 2);
  ScrollBox2 = new QScrollArea(this);
  ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
  ScrollBox2->setFocusPolicy(Qt::NoFocus);  // its cells take the focus, not the box
  ScrollBox2->setMinimumSize(260, 200);
  layout->addWidget(ScrollBox2, 5, 0, 1, 3);
  layout->addWidget(
      new QLabel(QStringLiteral("Sor törlés: CTRL+DEL    sor beszúrás: CTRL+INS"), this), 6, 0, 1,
      3);
  BtnOk = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnOk->setDefault(true);
  BtnMegsem = new QPushButton(QStringLiteral("&Mégsem"), this);
  BtnMegsem->setObjectName(QStringLiteral("BtnMegsem"));
  BtnHelp = new QPushButton(QStringLiteral("&Súgó"), this);
  BtnHelp->setObjectName(QStringLiteral("BtnHelp"));
  BtnHelp->setProperty(kHelpButtonProperty, true);
  layout->addWidget(BtnOk, 7, 0);
  layout->addWidget(BtnMegsem, 7, 1);
  layout->addWidget(BtnHelp, 7, 2);
  connect(BtnOk, &QPushButton::clicked, this, &TFormceg::BtnOkClick);
  connect(BtnMegsem, &QPushButton::clicked, this, &TFormceg::BtnMegsemClick);

  // FormCreate
  FormSetupOwnColors(this);
  SetHelpContexts(this, 6020);
}

TFormceg::~TFormceg() { FormClose(); }

void TFormceg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_activated) return;
  m_activated = true;
  FormActivate();
}

void TFormceg::FormActivate() {
  m_taxNumber.clear();
  try {
    if (!Table1->Active()) {
      Table1->SetDatabase(&m_db1);
      Table1->Open();
      EditCompanyRow(*Table1);
      m_openedTable = true;
    }
    DBECEGNEV->SetDataSource(m_source);
    DBECEGNEV->SetDataField(QStringLiteral("CEGNEV"));
    DBEADOSZAM->SetDataSource(m_source);
    DBEADOSZAM->SetDataField(QStringLiteral("ADOSZAM"));
    DBCkonyveles->SetDataSource(m_source);
    DBCkonyveles->SetDataField(QStringLiteral("KONYVELES"));
    EnsureDefaultPeriod(m_db1);
    TablePontosok->SetDatabase(&m_db1);
    TablePontosok->Open();
    TablePontosok->FieldByName(QStringLiteral("PDATUM1"))
        ->SetDisplayLabel(QStringLiteral("Dátumtól"));
    TablePontosok->FieldByName(QStringLiteral("PDATUM2"))
        ->SetDisplayLabel(QStringLiteral("Dátumig"));
    TablePontosok->FieldByName(QStringLiteral("PONTOS"))
        ->SetDisplayLabel(QStringLiteral("Pontosság"));
  } catch (const Exception& e) {
    ShowError(e.Message());
    return;
  }
  m_taxNumber = CleanTaxNumber(DBEADOSZAM->text());
  m_pickList = {QStringLiteral("N"), QStringLiteral("H"), QStringLiteral("4")};

  const bool browsing = Table1->State() == dsBrowse;
  Grid = std::make_unique<TEditGrid>(ScrollBox2, TablePontosok, 10, false);
  Grid->NormalColor = QColor(0xFF, 0xFF, 0xFF);
  Grid->ReadOnlyColor = QColor(0xFF, 0xFF, 0x00);
  Grid->FontHeight = 10;
  Grid->AddColumn(QStringLiteral("PDATUM1"), 80, nullptr, browsing);
  Grid->AddColumn(QStringLiteral("PDATUM2"), 80, nullptr, browsing);
  Grid->AddColumn(QStringLiteral("PONTOS"), 50, &m_pickList, browsing);
  for (int column : {0, 1}) {
    Grid->SetColumnAllowEmpty(column, true);
    Grid->SetColumnPopupKey(column, Qt::Key_F2);
  }
  Grid->SetColumnExit(2, [this](TExitEdit* cell) { PontosExit(cell); });
  Grid->BuildRows();
  Grid->LoadRows();
  DBECEGNEV->setFocus();
}

void TFormceg::PontosExit(TExitEdit* cell) {
  cell->setText(cell->text().toUpper());
  const QString code = cell->text().trimmed();
  if (code.isEmpty() || code == QStringLiteral("N") || code == QStringLiteral("H") ||
      code == QStringLiteral("4"))
    return;
  Ui().MessageBox(QStringLiteral("Hibás adat!"), QString(), MsgType::Information);
  cell->clear();
}

void TFormceg::BtnOkClick() {
  RunGuarded([this] { Save(); });
}

void TFormceg::Save() {
  BtnOk->setFocus();  // ends the current cell's editing and runs its exit check
  if (!Grid || !Table1->Active() || Table1->State() == dsBrowse) return;

  std::vector<TPrecisionPeriod> periods;
  for (int row = 0; row <= Grid->LastRow(); ++row)
    periods.push_back({Grid->CellValue(row, 0).toDate(), Grid->CellValue(row, 1).toDate(),
                       Grid->CellValue(row, 2).toString()});
  const QStringList errors = PeriodDateErrors(periods);
  for (const QString& e : errors) Ui().MessageBox(e, QString(), MsgType::Information);
  if (!errors.isEmpty()) return;
  const bool codesOk = NormalizePeriodCodes(periods);
  for (int row = 0; row <= Grid->LastRow(); ++row)
    if (!periods[row].Empty()) Grid->SetCellValue(row, 2, periods[row].Code);
  if (!codesOk) {
    Ui().MessageBox(kBadPrecisionCode, QString(), MsgType::Information);
    return;
  }

  try {
    SaveCompanyData(*Table1, periods);
  } catch (const Exception& e) {
    ShowError(e.Message());
    return;
  }
  try {
    if (CleanTaxNumber(DBEADOSZAM->text()) != m_taxNumber) SyncCompanyTaxNumber(m_db0, m_db1, true);
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
  accept();
}

void TFormceg::BtnMegsemClick() {
  if (Table1->Active() && Table1->State() != dsBrowse) Table1->Cancel();
  reject();
}

void TFormceg::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F9) {
    BtnOkClick();
    return;
  }
  QDialog::keyReleaseEvent(event);
}

void TFormceg::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TFormceg::FormClose() {
  Grid.reset();
  TablePontosok->Close();
  if (Table1->Active() && Table1->State() != dsBrowse) Table1->Cancel();
  if (m_openedTable) {
    Table1->Close();
    m_openedTable = false;
  }
}
