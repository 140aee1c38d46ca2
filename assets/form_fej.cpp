#include "form_fej.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include "asset_rules.h"
#include "asset_store.h"
#include "balance_recalc.h"
#include "currency_edit.h"
#include "data_source.h"
#include "date_edit.h"
#include "db_browser.h"
#include "db_combo_box.h"
#include "db_date_edit.h"
#include "db_ftedit.h"
#include "dialog_keys.h"
#include "edit_grid.h"
#include "exceptions.h"
#include "form_ecsszamito.h"
#include "form_karttet.h"
#include "form_setup.h"
#include "transaction.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_table.h"

namespace {

const QString kCaptionBase = QStringLiteral("Tárgyieszközök/Immateriális javak főadatok ");

QString Text(const TUniSQLTable* t, const char* name) {
  return t->FieldByName(QString::fromLatin1(name))->AsString();
}

// A date counts as set above this text (the form's date boxes) or kItemDateSet (the item guards).
bool DateAbove(const QDate& date, const QDate& limit) { return date.isValid() && date > limit; }
const QDate kBoxDateSet(1900, 1, 1);
const QDate kItemDateSet(1901, 1, 1);

QString CellText(const QVariant& v) {
  if (v.typeId() == QMetaType::Double)
    return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
  return v.toString();
}

}  // namespace

TFormFej::TFormFej(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("FormFej"));
  setWindowTitle(QStringLiteral("Beszerzés"));

  Table1 = new TUniSQLTable(this);
  Table1->SetTablename(QStringLiteral("KARTFEJ"));
  Table1->SetIndexFields(QStringLiteral("LELTSZAM"));
  Table1->AfterOpen = [this](TDataSet*) { SetupFields(); };
  Table1->AfterScroll = [this](TDataSet*) { AfterScroll(); };
  Table1->BeforeDelete = [this](TDataSet*) { BeforeDelete(); };
  Table1->AfterDelete = [this](TDataSet*) {
    if (m_deleteWork) m_deleteWork->Commit();
    m_deleteWork.reset();
  };
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(Table1);
  TableKulcsok = new TUniSQLTable(this);
  TableKulcsok->SetTablename(QStringLiteral("KULCSOK"));
  TableKulcsok->SetIndexFields(QStringLiteral("EV"));
  TableKarttet = new TUniSQLTable(this);
  TableKarttet->SetTablename(QStringLiteral("KARTTET"));
  TableKarttet->SetIndexFields(QStringLiteral("DATUM,TIPUS"));
  Table1->SetDatabase(&m_database);
  TableKulcsok->SetDatabase(&m_database);
  TableKarttet->SetDatabase(&m_database);

  DBBrowser1 = new TDBBrowser(this);
  DBBrowser1->DataForm = this;
  DBBrowser1->DataSource = DataSource1;
  DBBrowser1->Title = QStringLiteral("Tárgyi eszközök / Immateriális javak");
  DBBrowser1->PrintEnabled = true;
  DBBrowser1->SelectEnabled = false;
  DBBrowser1->Extra2 = QStringLiteral("Csak az \"élők\"");
  DBBrowser1->onExtra2 = [this](TFormDBBrowser*) { ExtraElok(); };
  DBBrowser1->onExtra1 = [this](TFormDBBrowser*) { StartItemAction(); };
  DBBrowser1->DeleteDialog = true;
  DBBrowser1->SplitWindow = false;

  auto* top = new QGridLayout(this);
  PanelEdit = new QWidget(this);
  auto* g = new QGridLayout(PanelEdit);
  int row = 0;
  const auto edit = [&]<class Edit>(Edit*& e, const char* name, const char* field,
                                    const QString& label) {
    e = new Edit(PanelEdit);
    e->setObjectName(QString::fromLatin1(name));
    e->SetDataSource(DataSource1);
    e->SetDataField(QString::fromLatin1(field));
    g->addWidget(new QLabel(label, PanelEdit), row, 0);
    g->addWidget(e, row++, 1);
  };
  const auto date = [&](TDBDateEdit*& e, const char* name, const char* field,
                        const QString& label) {
    e = new TDBDateEdit(PanelEdit);
    e->setObjectName(QString::fromLatin1(name));
    e->SetDataSource(DataSource1);
    e->SetDataField(QString::fromLatin1(field));
    g->addWidget(new QLabel(label, PanelEdit), row, 0);
    g->addWidget(e, row++, 1);
  };
  edit(DBELELTSZAM, "DBELELTSZAM", "LELTSZAM", QStringLiteral("Leltári szám:"));
  edit(DBEMEGNEV, "DBEMEGNEV", "MEGNEV", QStringLiteral("Megnevezés:"));
  edit(DBEGYARTO, "DBEGYARTO", "GYARTO", QStringLiteral("Gyártó:"));
  edit(DBETIPUS, "DBETIPUS", "TIPUS", QStringLiteral("Tipus:"));
  edit(DBEGYARISZ, "DBEGYARISZ", "GYARISZ", QStringLiteral("Gyáriszám:"));
  DBCTI = new TDBComboBox(PanelEdit);
  DBCTI->setObjectName(QStringLiteral("DBCTI"));
  DBCTI->SetItems({QStringLiteral("T Tárgyi eszköz"), QStringLiteral("I  Immateriális jav")});
  DBCTI->SetDataSource(DataSource1);
  DBCTI->SetDataField(QStringLiteral("TI"));
  g->addWidget(new QLabel(QStringLiteral("Tárgyie./immat. :"), PanelEdit), row, 0);
  g->addWidget(DBCTI, row++, 1);
  date(DBEBESZKELT, "DBEBESZKELT", "BESZKELT", QStringLiteral("Beszerzés kelte:"));
  EditMennyiseg = new QLineEdit(PanelEdit);
  EditMennyiseg->setObjectName(QStringLiteral("EditMennyiseg"));
  g->addWidget(new QLabel(QStringLiteral("Mennyiség:"), PanelEdit), row, 0);
  g->addWidget(EditMennyiseg, row++, 1);
  EditBsz = new QLineEdit(PanelEdit);
  EditBsz->setObjectName(QStringLiteral("EditBsz"));
  g->addWidget(new QLabel(QStringLiteral("Besz.bizonylat száma:"), PanelEdit), row, 0);
  g->addWidget(EditBsz, row++, 1);
  edit(DBEBESZERTEK, "DBEBESZERTEK", "BESZERTEK", QStringLiteral("Beszerzési érték:"));
  edit(DBEMARERTEK, "DBEMARERTEK", "MARERTEK", QStringLiteral("Maradvány érték:"));
  edit(DBEELHASZNA, "DBEELHASZNA", "ELHASZNA", QStringLiteral("Terv. élettartam adó tv.:"));
  g->addWidget(new QLabel(QStringLiteral("év"), PanelEdit), row - 1, 2);
  edit(DBEELHASZNSZ, "DBEELHASZNSZ", "ELHASZN", QStringLiteral("Számv.tv."));
  g->addWidget(new QLabel(QStringLiteral("év"), PanelEdit), row - 1, 2);
  edit(DBKoltsHely, "DBKoltsHely", "KOLTSHELY", QStringLiteral("Költséghely:"));
  date(DBEAKTKELT, "DBEAKTKELT", "AKTKELT", QStringLiteral("Aktiválás kelte:"));
  date(DBESLEJTEZ, "DBESLEJTEZ", "SLEJTEZ", QStringLiteral("Selejtezés kelte:"));
  date(DBEELADAS, "DBEELADAS", "ELADAS", QStringLiteral("Eladás kelte:"));
  for (TDBDateEdit* d : {DBEAKTKELT, DBESLEJTEZ, DBEELADAS}) {
    d->SetReadOnly(true);
    d->setStyleSheet(QStringLiteral("font-weight: bold; background: yellow;"));
  }
  edit(DBMEGJ1, "DBMEGJ1", "MEGJ1", QStringLiteral("Megjegyzés:"));
  auto* accounts = new QGroupBox(QStringLiteral("Kontír számok:"), PanelEdit);
  auto* ag = new QGridLayout(accounts);
  int arow = 0;
  const auto account = [&](TDBEdit*& e, const char* name, const char* field, const QString& label) {
    e = new TDBEdit(accounts);
    e->setObjectName(QString::fromLatin1(name));
    e->SetDataSource(DataSource1);
    e->SetDataField(QString::fromLatin1(field));
    ag->addWidget(new QLabel(label, accounts), arow, 0);
    ag->addWidget(e, arow++, 1);
  };
  account(DBEFKSZSZAM, "DBEFKSZSZAM", "FKSZSZAM", QStringLiteral("Aktivált nettó érték"));
  account(DBEFKSZAKTEL, "DBEFKSZAKTEL", "FKSZAKTEL",
          QStringLiteral("Aktiválás elötti nettó érték"));
  account(DBEFKSZSZAMECS, "DBEFKSZSZAMECS", "FKSZSZAMECS", QStringLiteral("ÉCS leirás Követel"));
  account(DBEFKSZECSKLTG, "DBEFKSZECSKLTG", "FKSZECSKLTG", QStringLiteral("ÉCS leirás Tartozik"));
  g->addWidget(accounts, row++, 0, 1, 3);
  top->addWidget(PanelEdit, 0, 0);

  auto* rates = new QWidget(this);
  auto* rg = new QGridLayout(rates);
  rg->addWidget(new QLabel(QStringLiteral("Leirási kulcsok: [%]"), rates), 0, 0);
  rg->addWidget(new QLabel(QStringLiteral("Év         Adó tv.         Számv.tv."), rates), 1, 0);
  ScrollBox2 = new QScrollArea(rates);
  ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
  ScrollBox2->setFocusPolicy(Qt::NoFocus);  // its cells take the focus, not the box
  ScrollBox2->setMinimumSize(260, 300);
  rg->addWidget(ScrollBox2, 2, 0);
  int lrow = 3;
  for (const char* legend :
       {"-1 Egy összegben", "-2 Két naptári év", "CTRL+Del Sor törlés", "CTRL+Ins sor beszúrás"})
    rg->addWidget(new QLabel(QString::fromUtf8(legend), rates), lrow++, 0);
  top->addWidget(rates, 0, 1);

  auto* buttons = new QHBoxLayout;
  BtnSugo = new QPushButton(QStringLiteral("&Súgó"), this);
  BtnOk = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnTetelek = new QPushButton(QStringLiteral("&Tételek"), this);
  BtnTetelek->setObjectName(QStringLiteral("BtnTetelek"));
  BtnBezar = new QPushButton(QStringLiteral("&Bezárás"), this);
  BtnBezar->setObjectName(QStringLiteral("BtnBezar"));
  for (QPushButton* b : {BtnSugo, BtnOk, BtnTetelek, BtnBezar}) buttons->addWidget(b);
  top->addLayout(buttons, 1, 0, 1, 2);
  connect(BtnOk, &QPushButton::clicked, this, &TFormFej::BtnOkClick);
  connect(BtnTetelek, &QPushButton::clicked, this, &TFormFej::BtnTetelekClick);
  connect(BtnBezar, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtnSugo, &QPushButton::clicked, this, [this] { ShowProgramHelp(HelpContext); });
  connect(DBEELHASZNA, &TExitEdit::exited, this, &TFormFej::LivesLeft);
  connect(DBEELHASZNSZ, &TExitEdit::exited, this, &TFormFej::LivesLeft);
  InstallDialogKeys(this, [this] { BtnOkClick(); });
  FormSetupOwnColors(this);
}

TFormFej::~TFormFej() = default;

void TFormFej::SetupFields() {
  const struct {
    const char* field;
    const char* label;
  } labels[] = {
      {"LELTSZAM", "Leltári szám"},
      {"BESZKELT", "Besz.kelte"},
      {"BESZERTEK", "Besz.érték"},
      {"TI", "T/I"},
      {"GYARTO", "Gyártó"},
      {"TIPUS", "Tipus"},
      {"MARERTEK", "Maradvány érték"},
      {"MEGNEV", "Megnevezés"},
      {"GYARISZ", "Gyári szám"},
      {"FKSZECSKLTG", "Kontir ECS T"},
      {"ELHASZN", "Elhaszn. SZTV"},
      {"FKSZSZAM", "Kontir NETTO T"},
      {"FKSZSZAMECS", "Kontir ÉCS K"},
      {"AKTKELT", "Aktiválás"},
      {"ELADAS", "Eladás"},
      {"SLEJTEZ", "Selejtezés"},
      {"KOLTSHELY", "Költséghely"},
      {"ELHASZNA", "Elhaszn. ATV"},
  };
  for (const auto& l : labels)
    if (TField* f = Table1->FindField(QString::fromLatin1(l.field)))
      f->SetDisplayLabel(QString::fromUtf8(l.label));
  if (TField* f = Table1->FindField(QStringLiteral("MENNYISEG"))) f->SetVisible(false);
  for (const char* name : {"BESZERTEK", "MARERTEK"})
    if (TField* f = Table1->FindField(QString::fromLatin1(name))) f->SetCurrency(true);
}

void TFormFej::OpenTable() {
  if (Table1->Active()) return;
  Table1->SetDatabase(&m_database);
  Table1->Open();
  m_openedHere = true;
}

void TFormFej::AfterScroll() {
  if (!Table1->Active()) return;
  DBEAKTKELT->setVisible(DateAbove(Table1->FieldByName("AKTKELT")->AsDate(), kBoxDateSet));
  DBEELADAS->setVisible(DateAbove(Table1->FieldByName("ELADAS")->AsDate(), kBoxDateSet));
  DBESLEJTEZ->setVisible(DateAbove(Table1->FieldByName("SLEJTEZ")->AsDate(), kBoxDateSet));
  // A new asset's "0" item starts with one piece.
  const double sum =
      Table1->State() == dsInsert ? 1 : QuantitySum(m_database, Text(Table1, "LELTSZAM"));
  EditMennyiseg->setText(QString::number(sum, 'g', QLocale::FloatingPointShortest));
}

void TFormFej::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) RunGuarded([this] { FormActivate(); });
}

void TFormFej::FormActivate() {
  OpenTable();
  TableKulcsok->SetDatabase(&m_database);
  TableKarttet->SetDatabase(&m_database);
  AfterScroll();
  const TDataSetState state = Table1->State();
  const bool editing = state == dsInsert || state == dsEdit;
  PanelEdit->setEnabled(editing);
  if (ActionCode == QLatin1Char(' ') && state == dsEdit) ActionCode = QLatin1Char('M');
  switch (ActionCode.toLatin1()) {
    case 'F':
      setWindowTitle(kCaptionBase + QStringLiteral("(FELVITEL)"));
      break;
    case ' ':
      setWindowTitle(kCaptionBase + QStringLiteral("(LEKÉRDEZÉS)"));
      break;
    case 'M':
      setWindowTitle(kCaptionBase + QStringLiteral("(MÓDOSÍTÁS)"));
      break;
    case '2':
      // Activation is code "2"; "A" (suspension) keeps its creator's caption.
      setWindowTitle(kCaptionBase + QStringLiteral("(AKTÍVÁLÁS)"));
      break;
  }
  BtnTetelek->setVisible(ActionCode == QLatin1Char(' ') || ActionCode == QLatin1Char('M'));
  EditMennyiseg->setEnabled(ActionCode == QLatin1Char('F'));

  EditBsz->setText(AcquisitionDocument(m_database, Text(Table1, "LELTSZAM")));
  if (state == dsInsert) {
    Table1->FieldByName("BESZKELT")->SetAsDate(QDate::currentDate());
    Table1->FieldByName("TI")->SetAsString(QStringLiteral("T"));
    m_ratesNew = true;
    m_gridKey = NextInventoryNumber(m_database);
    Table1->FieldByName("LELTSZAM")->SetAsString(m_gridKey);
    DBELELTSZAM->setEnabled(true);
    DBELELTSZAM->setFocus();
  } else {
    m_gridKey = Text(Table1, "LELTSZAM");
    // No placeholder row is written: an asset without rates just shows an empty grid.
    m_ratesNew = LoadRates(m_database, m_gridKey).isEmpty();
    DBELELTSZAM->setEnabled(false);
    DBEMEGNEV->setFocus();
  }
  m_grid = std::make_unique<TEditGrid>(ScrollBox2, TableKulcsok, 20, state == dsBrowse);
  TableKulcsok->Close();
  TableKulcsok->SetFilter(
      QStringLiteral("LELTSZAM = '%1'").arg(m_database.EscapeString(m_gridKey)));
  TableKulcsok->SetFiltered(true);
  TableKulcsok->Open();
  m_grid->AddColumn(QStringLiteral("EV"), 50, nullptr, state == dsBrowse);
  m_grid->AddColumn(QStringLiteral("KULCS"), 80, nullptr, state == dsBrowse);
  m_grid->AddColumn(QStringLiteral("KULCSSZ"), 80, nullptr, state == dsBrowse);
  m_grid->AddKeyField(QStringLiteral("LELTSZAM"), m_gridKey);
  m_grid->SetOrderField(QStringLiteral("EV"));
  m_grid->BuildRows();
  m_grid->LoadRows();
  DBCTI->setCurrentIndex(Text(Table1, "TI") == QLatin1String("T") ? 0 : 1);
}

QList<RateCells> TFormFej::GridRows() const {
  QList<RateCells> rows;
  if (!m_grid) return rows;
  for (int r = 0; r <= m_grid->LastRow(); ++r) {
    RateCells cells;
    if (!m_grid->RowEmpty(r)) {
      cells = {CellText(m_grid->CellValue(r, 0)), CellText(m_grid->CellValue(r, 1)),
               CellText(m_grid->CellValue(r, 2))};
      if (cells.year == QLatin1String("0")) cells.year.clear();
    }
    rows << cells;
  }
  return rows;
}

QList<RateCells> TFormFej::RateRows() const {
  QList<RateCells> rows = GridRows();
  rows.removeIf(
      [](const RateCells& c) { return c.year.isEmpty() && c.tax.isEmpty() && c.acc.isEmpty(); });
  return rows;
}

void TFormFej::LivesLeft() {
  RunGuarded([this] { ProposeRates(); });
}

void TFormFej::ProposeRates() {
  if (!m_ratesNew || !m_grid || !Table1->Active()) return;
  if (TableKulcsok->Active() && TableKulcsok->RecordCount() > 1) return;
  int lifeTax = 0, lifeAcc = 0;
  if (!ParseLife(Text(Table1, "ELHASZNA"), &lifeTax)) lifeTax = 0;
  if (!ParseLife(Text(Table1, "ELHASZN"), &lifeAcc)) lifeAcc = 0;
  const int year = Table1->FieldByName("BESZKELT")->AsDate().year();
  const QList<RateRow> rows = RatesFromLives(year, lifeTax, lifeAcc);
  const int previousLast = m_grid->LastRow();
  for (int r = 0; r < rows.size(); ++r) {
    while (m_grid->LastRow() < r)
      if (!m_grid->AddRow()) return;
    m_grid->SetCellValue(r, 0, double(rows[r].year));
    m_grid->SetCellValue(r, 1, rows[r].tax);
    m_grid->SetCellValue(r, 2, rows[r].acc);
  }
  for (int r = int(rows.size()); r <= previousLast; ++r)
    for (int c = 0; c < 3; ++c) m_grid->ClearCell(r, c);
}

bool TFormFej::CheckOk() {
  int life = 0;
  if (!ParseLife(Text(Table1, "ELHASZN"), &life)) {
    Ui().MessageBox(QStringLiteral("Nem megfelelő a megadott számviteli törvény szerinti tervezett "
                                   "élettartam."),
                    QStringLiteral("HIBA!"), MsgType::Error);
    DBEELHASZNSZ->setFocus();
    return false;
  }
  if (!ParseLife(Text(Table1, "ELHASZNA"), &life)) {
    Ui().MessageBox(QStringLiteral("Nem megfelelő a megadott adótörvény szerinti tervezett "
                                   "élettartam."),
                    QStringLiteral("HIBA!"), MsgType::Error);
    DBEELHASZNA->setFocus();
    return false;
  }
  if (AccountsConflict(Text(Table1, "FKSZSZAM"), Text(Table1, "FKSZAKTEL"))) {
    Ui().MessageBox(QStringLiteral("Az \"Aktivált nettó érték\" és az \"Aktiválás elötti nettó "
                                   "érték\" kontirozására vonatkozó beállítások ellentmondanak "
                                   "egymásnak!"),
                    QStringLiteral("HIBA!"), MsgType::Error);
    DBEFKSZSZAM->setFocus();
    return false;
  }
  if (AccountsConflict(Text(Table1, "FKSZSZAMECS"), Text(Table1, "FKSZECSKLTG"))) {
    Ui().MessageBox(QStringLiteral("Az \"ÉCS leírás Követel\" és az \"ÉCS leírás Tartozik\" "
                                   "kontirozására vonatkozó beállítások ellentmondanak "
                                   "egymásnak!"),
                    QStringLiteral("HIBA!"), MsgType::Error);
    DBEFKSZSZAMECS->setFocus();
    return false;
  }
  if (const int row = RateRowWithoutYear(GridRows()); row >= 0) {
    Ui().MessageBox(QStringLiteral("Hiányzik az év a leírási kulcsok %1. sorában!").arg(row + 1),
                    QStringLiteral("HIBA!"), MsgType::Error);
    m_grid->Cell(row, 0)->setFocus();
    return false;
  }
  const RateCheck check = CheckRateTable(RateRows());
  QWidget* firstYear = m_grid ? m_grid->Cell(0, 0) : nullptr;
  if (!check.duplicateYear.isEmpty()) {
    Ui().MessageBox(QStringLiteral("Ugyanaz az év többször szerepel: ") + check.duplicateYear,
                    QStringLiteral("HIBA!"), MsgType::Error);
    if (firstYear) firstYear->setFocus();
    return false;
  }
  for (int i = 0; i < check.questions.size(); ++i)
    if (Ui().MessageBox(check.questions[i], check.titles[i], MsgType::Confirmation, mbYes | mbNo,
                        mbNo) != mbYes) {
      if (firstYear) firstYear->setFocus();
      return false;
    }
  return true;
}

void TFormFej::BtnOkClick() {
  bool checked = false;
  RunGuarded([&] {
    BtnOk->setFocus();
    const TDataSetState state = Table1->State();
    const bool editing = state == dsInsert || state == dsEdit;
    if (Table1->Active() && editing) Table1->UpdateRecord();
    checked =
        !editing || (ActionCode != QLatin1Char('F') && ActionCode != QLatin1Char('M')) || CheckOk();
  });
  if (checked) done(QDialog::Accepted);
}

bool TFormFej::CheckRequired() {
  bool ok = true;
  if (Text(Table1, "LELTSZAM").trimmed().isEmpty()) {
    Ui().MessageBox(QStringLiteral("Leltári számot meg kell adni!"), QString(), MsgType::Warning);
    if (DBELELTSZAM->isEnabled()) DBELELTSZAM->setFocus();
    ok = false;
  }
  if (Text(Table1, "MEGNEV").trimmed().isEmpty()) {
    Ui().MessageBox(QStringLiteral("Megnevezést meg kell adni!"), QString(), MsgType::Warning);
    DBEMEGNEV->setFocus();
    ok = false;
  }
  const QString ti = Text(Table1, "TI");
  if (ti != QLatin1String("T") && ti != QLatin1String("I")) {
    Ui().MessageBox(QStringLiteral("Tárgyi e. / Immat. jelleget meg kell adni!"), QString(),
                    MsgType::Warning);
    DBCTI->setFocus();
    ok = false;
  }
  if (!(Table1->FieldByName("BESZERTEK")->AsFloat() > 0) &&
      Ui().MessageBox(QStringLiteral("Beszerzési érték nulla!\r\nJó így?"), QString(),
                      MsgType::Confirmation, mbYes | mbNo, mbNo) != mbYes) {
    DBEBESZERTEK->setFocus();
    ok = false;
  }
  return ok;
}

bool TFormFej::SaveOnClose() {
  const bool isNew = Table1->State() == dsInsert;
  if (isNew && InventoryNumberExists(m_database, Text(Table1, "LELTSZAM"))) {
    Ui().MessageBox(QStringLiteral("Már van ilyen!"), QString(), MsgType::Warning);
    return false;
  }
  if (!CheckRequired()) return false;
  AssetSave save;
  save.isNew = isNew;
  save.action = ActionCode;
  save.documentNumber = EditBsz->text();
  if (isNew && !ParseQuantity(EditMennyiseg->text(), &save.quantity)) {
    Ui().MessageBox(QStringLiteral("Hibás szám adat a mennyiségben. Letárolt érték:1"), QString(),
                    MsgType::Warning);
    save.quantity = 1;
  }
  save.rates = RateRows();
  if (SaveAsset(*Table1, *TableKarttet, save) == AssetSaveResult::AlreadyExists) {
    Ui().MessageBox(QStringLiteral("Már van ilyen!"), QString(), MsgType::Warning);
    return false;
  }
  return true;
}

void TFormFej::done(int result) {
  const TDataSetState state = Table1->Active() ? Table1->State() : dsInactive;
  const bool editing = state == dsInsert || state == dsEdit;
  if (result == QDialog::Accepted && editing) {
    // A save that fails keeps the form open with what was typed, the error shown.
    bool saved = false;
    RunGuarded([&] { saved = SaveOnClose(); });
    if (!saved) return;
  } else if (result != QDialog::Accepted && editing) {
    Table1->Cancel();
  }
  if (m_openedHere) {
    Table1->Close();
    m_openedHere = false;
  }
  TableKulcsok->Close();
  m_grid.reset();
  QDialog::done(result);
}

void TFormFej::BeforeDelete() {
  // The rates, the card and the run lines go with the master row as one piece of work; the
  // master's delete follows this handler, and AfterDelete commits. A failed delete leaves the
  // work to be rolled back once control is back in the event loop.
  m_deleteWork = std::make_unique<TLockedWork>(m_database, kAssetDeleteLocks);
  DeleteAssetDependents(m_database, Text(Table1, "LELTSZAM"));
  QTimer::singleShot(0, this, [this] { m_deleteWork.reset(); });
}

void TFormFej::ExtraElok() {
  RunGuarded([this] { SwitchLiving(); });
}

void TFormFej::SwitchLiving() {
  TFormDBBrowser* list = DBBrowser1->Form();
  Table1->Close();
  if (!Table1->Filtered()) {
    Table1->SetFilter(QStringLiteral("ELADAS = '1900-01-01' and SLEJTEZ = '1900-01-01'"));
    Table1->SetFiltered(true);
    if (list) list->BtnExtra2->setText(QStringLiteral("Összes"));
  } else {
    Table1->SetFiltered(false);
    if (list) list->BtnExtra2->setText(QStringLiteral("Csak az \"Élők\""));
  }
  Table1->Open();
}

void TFormFej::RecalcAsset(const QString& number) {
  // An asset being changed is not posted with its card: what was typed waits for the OK and
  // its checks.
  if (Table1->Active() && Table1->State() == dsBrowse && !Table1->IsEmpty() &&
      Text(Table1, "LELTSZAM") == number)
    RecalcBalances(*Table1, *TableKarttet);
  else
    RecalcAssetBalances(m_database, number);
}

void TFormFej::FollowCard(const QString& number, const QDate& storedBought) {
  QList<QVariant> values = FieldValues(*Table1);
  const AssetDates card = ReadAssetDates(m_database, number);
  for (int i = 0; i < Table1->FieldCount(); ++i) {
    const QString name = Table1->Fields(i)->FieldName().toUpper();
    if (name == QLatin1String("AKTKELT")) values[i] = card.AKTKELT;
    if (name == QLatin1String("ELADAS")) values[i] = card.ELADAS;
    if (name == QLatin1String("SLEJTEZ")) values[i] = card.SLEJTEZ;
    // An acquisition date typed here stays; otherwise the card's "0" item gives it.
    if (name == QLatin1String("BESZKELT") && values[i].toDate() == storedBought)
      values[i] = card.BESZKELT;
  }
  ResumeMasterEditing(*Table1, number, values);
  AfterScroll();
}

void TFormFej::BtnTetelekClick() {
  RunGuarded([this] { ShowItems(); });
}

void TFormFej::ShowItems() {
  BtnTetelek->setFocus();
  const TDataSetState state = Table1->State();
  const bool editing = state == dsInsert || state == dsEdit;
  // Pending edits reach the row; a row only looked at has none.
  if (Table1->Active() && editing) Table1->UpdateRecord();
  const QString number = Text(Table1, "LELTSZAM");
  const QString name = Text(Table1, "MEGNEV");
  const QDate storedBought = editing ? ReadAssetDates(m_database, number).BESZKELT : QDate();
  TFormkarttet items(m_database, this);
  items.AssetNumber = number;
  items.LabelNev->setText(name);
  items.Recalc = [this](const QString& n) { RecalcAsset(n); };
  items.OpenItems(number);
  if (editing) {
    items.ActionCode = QLatin1Char('M');
    items.DBBrowser2->Title =
        number + QStringLiteral(" ") + name + QStringLiteral(" Tételek (MÓDOSÍTÁS)");
  } else {
    items.DBBrowser2->UpdateEnabled = false;
    items.DBBrowser2->DeleteEnabled = false;
    items.DBBrowser2->Extra1.clear();  // query mode deletes nothing
    items.ActionCode = QLatin1Char('L');
    items.DBBrowser2->Title =
        number + QStringLiteral(" ") + name + QStringLiteral(" Tételek (LEKÉRDEZÉS)");
  }
  items.DBBrowser2->Execute();
  items.TableTETEL->Close();
  if (state == dsEdit) FollowCard(number, storedBought);
  EditMennyiseg->setText(
      QString::number(QuantitySum(m_database, number), 'g', QLocale::FloatingPointShortest));
}

void TFormFej::StartItemAction() {
  RunGuarded([this] { ItemAction(); });
}

void TFormFej::ItemAction() {
  if (!Table1->Active() || Table1->IsEmpty()) return;
  const int position = Table1->RecNo();
  const QChar action = ActionCode;
  const QString number = Text(Table1, "LELTSZAM");
  const QDate aktkelt = Table1->FieldByName("AKTKELT")->AsDate();
  const QDate eladas = Table1->FieldByName("ELADAS")->AsDate();
  const QDate slejtez = Table1->FieldByName("SLEJTEZ")->AsDate();
  const auto refuse = [](const QString& text) {
    Ui().MessageBox(text, QString(), MsgType::Information);
  };
  const QString code(action);
  if (code == QLatin1String("2") && DateAbove(aktkelt, kItemDateSet))
    return refuse(QStringLiteral("Már aktiválva van!"));
  if (QStringLiteral("2653C").contains(action)) {
    if (DateAbove(eladas, kItemDateSet)) return refuse(QStringLiteral("El van adva!"));
    if (DateAbove(slejtez, kItemDateSet)) return refuse(QStringLiteral("Selejtezve van!"));
  }
  const auto reopen = [this, position] {
    Table1->Close();
    Table1->Open();
    Table1->SetRecNo(position);
  };
  QDate base = QDate::currentDate();
  if (QStringLiteral("65CR").contains(action) && DateAbove(aktkelt, kItemDateSet)) {
    refuse(QStringLiteral("Kérem, hogy az eladást/selejtezést megelöző napig számoljon ECS-t!"));
    {
      TFormECSszamito run(m_database, this);
      run.EditLsz->setText(number);
      base = run.exec() == QDialog::Accepted ? run.dateEdit1->Value() : QDate();
    }
    reopen();
    try {
      TLockedWork work(m_database, kItemLocks);
      RecalcBalances(*Table1, *TableKarttet);
      work.Commit();
    } catch (const Exception& e) {
      ShowError(e.Message());
      return;
    }
  }
  if (action == QLatin1Char('2')) {
    const QDate bought = Table1->FieldByName("BESZKELT")->AsDate();
    if (!DateAbove(bought, kItemDateSet))
      return refuse(QStringLiteral("Nincs rögzítve a beszerzés, nem aktiválható!"));
    base = bought.addDays(-1);
  }
  if (!base.isValid()) return;

  const QString caption = DBBrowser1->Extra1.mid(1);
  QString receivingNumber, receivingName;
  QDate transferDate;
  double transferAmount = 0, transferQuantity = 0;
  bool posted = false;
  {
    TFormkarttet item(m_database, this);
    item.ActionCode = action;
    item.setWindowTitle(caption);
    item.AssetNumber = number;
    item.LabelNev->setText(Text(Table1, "MEGNEV"));
    item.Recalc = [this](const QString& n) { RecalcAsset(n); };
    item.OpenItems(number);
    item.AppendItem(action, base.addDays(1), caption);
    posted = item.exec() == QDialog::Accepted;
    if (!posted && item.TableTETEL->State() != dsBrowse) item.TableTETEL->Cancel();
    if (posted) {
      transferDate = item.PostedDate;
      transferAmount = item.Posted.BRUTTOCSOK - item.Posted.BRUTTONOV;
      transferQuantity = item.PostedQuantity;
    }
    item.TableTETEL->Close();
    receivingNumber = item.ReceivingNumber;
    receivingName = item.ReceivingName;
  }
  // A cancelled giving half has no receiving half.
  if (action == QLatin1Char('C') && posted) {
    TFormkarttet item(m_database, this);
    item.ActionCode = QLatin1Char('C');
    item.setWindowTitle(QStringLiteral("Átvezetés (érték NÖVEKEDÉS)"));
    item.AssetNumber = receivingNumber;
    item.LabelNev->setText(receivingName);
    item.Recalc = [this](const QString& n) { RecalcAsset(n); };
    item.OpenItems(receivingNumber);
    item.AppendItem(QLatin1Char('D'), transferDate, QStringLiteral("átvezetés (NÖVEKEDÉS)"));
    item.TableTETEL->FieldByName("BRUTTONOV")->SetAsFloat(transferAmount);
    item.TableTETEL->FieldByName("MENNYISEG")->SetAsFloat(0 - transferQuantity);
    if (item.exec() != QDialog::Accepted && item.TableTETEL->State() != dsBrowse)
      item.TableTETEL->Cancel();
    item.TableTETEL->Close();
  }
  reopen();
}
