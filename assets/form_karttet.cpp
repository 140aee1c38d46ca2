#include "form_karttet.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "asset_store.h"
#include "data_source.h"
#include "db_browser.h"
#include "db_date_edit.h"
#include "db_ftedit.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_table.h"

namespace {

double Amount(const TUniSQLTable* t, const char* name) {
  return t->FieldByName(QString::fromLatin1(name))->AsFloat();
}
void SetAmount(TUniSQLTable* t, const char* name, double value) {
  t->FieldByName(QString::fromLatin1(name))->SetAsFloat(value);
}
const QDate kDateSet(1901, 1, 1);

}  // namespace

TFormkarttet::TFormkarttet(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("Formkarttet"));
  setWindowTitle(QStringLiteral("Tétel adatok"));
  TableTETEL = new TUniSQLTable(this);
  TableTETEL->SetTablename(QStringLiteral("KARTTET"));
  TableTETEL->SetIndexFields(QStringLiteral("DATUM, TIPUS"));
  TableTETEL->SetDatabase(&m_database);
  TableTETEL->AfterOpen = [this](TDataSet*) {
    const struct {
      const char* field;
      const char* label;
    } labels[] = {{"LELTSZAM", "Leltári szám"},
                  {"DATUM", "Dátum"},
                  {"BIZSZAM", "Biz.szám"},
                  {"SZOVEG", "Szöveg"},
                  {"TIPUS", "Tipus"},
                  {"BRUTTONOV", "Bruttó+"},
                  {"BRUTTOCSOK", "Brutto-"},
                  {"BRUTTO", "Bruttó"},
                  {"ECSNOV", "ECS+ Adó tv.srt."},
                  {"ECSCSOKK", "ECS- Adó tv.szrt."},
                  {"ECS", "ECS Adó tv.szrt."},
                  {"ECSNSZ", "ECS+ szt.szrt."},
                  {"ECSCSSZ", "ECS- szt.szrt."},
                  {"ECSSZ", "ECS szt.szrt."},
                  {"NETTO", "Nettó Adó tv.szrt."},
                  {"NETTOSZ", "Nettó szt.szrt."},
                  {"MENNYISEG", "Menny.változás"}};
    for (const auto& l : labels)
      if (TField* f = TableTETEL->FindField(QString::fromLatin1(l.field)))
        f->SetDisplayLabel(QString::fromUtf8(l.label));
    if (TField* f = TableTETEL->FindField(QStringLiteral("SZOVEG"))) f->SetDisplayWidth(20);
    for (const char* name : {"BRUTTONOV", "BRUTTOCSOK", "BRUTTO", "ECSNOV", "ECSCSOKK", "ECS",
                             "ECSNSZ", "ECSCSSZ", "ECSSZ", "NETTO", "NETTOSZ"})
      if (TField* f = TableTETEL->FindField(QString::fromLatin1(name))) {
        f->SetCurrency(true);
        f->SetDisplayWidth(15);
      }
  };
  TableTETEL->AfterScroll = [this](TDataSet*) {
    if (ActionCode == QLatin1Char('M')) DBBrowser2->SetUpdateEnabled(true);
  };
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(TableTETEL);

  DBBrowser2 = new TDBBrowser(this);
  DBBrowser2->DataForm = this;
  DBBrowser2->DataSource = DataSource1;
  DBBrowser2->InsertEnabled = false;
  DBBrowser2->DeleteEnabled = false;
  DBBrowser2->PrintEnabled = false;
  DBBrowser2->SelectEnabled = false;
  DBBrowser2->Extra1 = QStringLiteral("&Törlés");
  DBBrowser2->onExtra1 = [this](TFormDBBrowser*) { DeleteItem(); };
  DBBrowser2->DeleteDialog = false;

  auto* top = new QGridLayout(this);
  LabelTipus = new QLabel(this);
  LabelTipus->setObjectName(QStringLiteral("LabelTipus"));
  LabelTipus->setStyleSheet(QStringLiteral("color: white; background: blue; font-weight: bold;"));
  LabelNev = new QLabel(this);
  LabelNev->setObjectName(QStringLiteral("LabelNev"));
  top->addWidget(LabelTipus, 0, 0);
  top->addWidget(LabelNev, 0, 1);
  PanelEdit = new QWidget(this);
  auto* g = new QGridLayout(PanelEdit);
  const auto edit = [&]<class Edit>(Edit*& e, const char* name, const char* field) {
    e = new Edit(PanelEdit);
    e->setObjectName(QString::fromLatin1(name));
    e->SetDataSource(DataSource1);
    e->SetDataField(QString::fromLatin1(field));
    return e;
  };
  int row = 0;
  g->addWidget(edit(DBELELTSZAM, "DBELELTSZAM", "LELTSZAM"), row++, 1);
  DBELELTSZAM->SetReadOnly(true);
  DBELELTSZAM->setStyleSheet(QStringLiteral("background: lime;"));
  DBEDATUM = new TDBDateEdit(PanelEdit);
  DBEDATUM->setObjectName(QStringLiteral("DBEDATUM"));
  DBEDATUM->SetDataSource(DataSource1);
  DBEDATUM->SetDataField(QStringLiteral("DATUM"));
  g->addWidget(new QLabel(QStringLiteral("Dátum:"), PanelEdit), row, 0);
  g->addWidget(DBEDATUM, row++, 1);
  g->addWidget(new QLabel(QStringLiteral("Biz.szám:"), PanelEdit), row, 0);
  g->addWidget(edit(DBEBIZSZAM, "DBEBIZSZAM", "BIZSZAM"), row++, 1);
  g->addWidget(new QLabel(QStringLiteral("Szöveg:"), PanelEdit), row, 0);
  g->addWidget(edit(DBESZOVEG, "DBESZOVEG", "SZOVEG"), row++, 1);
  g->addWidget(new QLabel(QStringLiteral("Mennyiség változás (+/-)"), PanelEdit), row, 0);
  g->addWidget(edit(DBEMENNYISEG, "DBEMENNYISEG", "MENNYISEG"), row++, 1);
  const auto group = [&](const QString& title, TDBFTEDit*& inc, const char* incName,
                         const char* incField, TDBFTEDit*& dec, const char* decName,
                         const char* decField, TDBFTEDit*& bal, const char* balName,
                         const char* balField) {
    auto* box = new QGroupBox(title, PanelEdit);
    auto* bg = new QGridLayout(box);
    bg->addWidget(new QLabel(QStringLiteral("Növekedés"), box), 0, 0);
    bg->addWidget(new QLabel(QStringLiteral("Csökkenés"), box), 0, 1);
    bg->addWidget(new QLabel(QStringLiteral("Egyenleg"), box), 0, 2);
    bg->addWidget(edit(inc, incName, incField), 1, 0);
    bg->addWidget(edit(dec, decName, decField), 1, 1);
    bg->addWidget(edit(bal, balName, balField), 1, 2);
    bal->SetReadOnly(true);
    g->addWidget(box, row++, 0, 1, 2);
  };
  group(QStringLiteral("Bruttó érték"), DBEBRUTTONOV, "DBEBRUTTONOV", "BRUTTONOV", DBEBRUTTOCSOK,
        "DBEBRUTTOCSOK", "BRUTTOCSOK", DBEBRUTTO, "DBEBRUTTO", "BRUTTO");
  group(QStringLiteral("Érték csökkenés Adó tv. szerint"), DBEECSNOV, "DBEECSNOV", "ECSNOV",
        DBEECSCSOKK, "DBEECSCSOKK", "ECSCSOKK", DBEECS, "DBEECS", "ECS");
  group(QStringLiteral("Érték csökkenés Számviteli tv. szrt."), DBEECSNSZ, "DBEECSNSZ", "ECSNSZ",
        DBEECSCSSZ, "DBEECSCSSZ", "ECSCSSZ", DBEECSSZ, "DBEECSSZ", "ECSSZ");
  g->addWidget(new QLabel(QStringLiteral("Nettó érték Adó tv. szrt.:"), PanelEdit), row, 0);
  g->addWidget(edit(DBENETTO, "DBENETTO", "NETTO"), row++, 1);
  g->addWidget(new QLabel(QStringLiteral("Nettó érték Számviteli tv.szrt.:"), PanelEdit), row, 0);
  g->addWidget(edit(DBENETTOSZ, "DBENETTOSZ", "NETTOSZ"), row++, 1);
  DBENETTO->SetReadOnly(true);
  DBENETTOSZ->SetReadOnly(true);
  Lleltszam2 = new QLabel(QStringLiteral("Leltári szám (ami novekszik):"), PanelEdit);
  Editleltszam2 = new QLineEdit(PanelEdit);
  Editleltszam2->setObjectName(QStringLiteral("Editleltszam2"));
  LabelNev2 = new QLabel(PanelEdit);
  LabelNev2->setObjectName(QStringLiteral("LabelNev2"));
  g->addWidget(Lleltszam2, row, 0);
  g->addWidget(Editleltszam2, row++, 1);
  g->addWidget(LabelNev2, row++, 1);
  EditSumMennyiseg = new QLineEdit(PanelEdit);
  EditSumMennyiseg->setObjectName(QStringLiteral("EditSumMennyiseg"));
  EditSumMennyiseg->hide();
  top->addWidget(PanelEdit, 1, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  BtnOk = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnBezar = new QPushButton(QStringLiteral("&Bezárás"), this);
  BtnBezar->setObjectName(QStringLiteral("BtnBezar"));
  BtnSugo = new QPushButton(QStringLiteral("&Súgó"), this);
  for (QPushButton* b : {BtnOk, BtnBezar, BtnSugo}) buttons->addWidget(b);
  top->addLayout(buttons, 2, 0, 1, 2);
  connect(BtnOk, &QPushButton::clicked, this, &TFormkarttet::BtnOkClick);
  connect(BtnBezar, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtnSugo, &QPushButton::clicked, this, [] { ShowProgramHelp(0); });
  connect(Editleltszam2, &QLineEdit::textChanged, this, [this](const QString& text) {
    RunGuarded([&] { LabelNev2->setText(AssetName(m_database, text.trimmed())); });
  });
  for (TDBFTEDit* e : {DBEBRUTTONOV, DBEBRUTTOCSOK, DBEECSNOV, DBEECSCSOKK, DBEECSNSZ, DBEECSCSSZ})
    connect(e, &TExitEdit::exited, this, [this] { RunGuarded([this] { Recompute(); }); });
  connect(DBEMENNYISEG, &TExitEdit::exited, this, &TFormkarttet::QuantityLeft);
  DBEMENNYISEG->installEventFilter(this);
  // F9 runs the OK steps without closing; Enter, where it confirms, is the OK button.
  InstallDialogKeys(
      this,
      [this] {
        RunGuarded([this] {
          BtnOk->setFocus();
          TableTETEL->UpdateRecord();
          if (TableTETEL->FieldByName("TIPUS")->AsString() == QLatin1String("2"))
            m_activated = true;
          Recompute();
        });
      },
      [this] { BtnOkClick(); });
  FormSetupOwnColors(this);
}

TFormkarttet::~TFormkarttet() = default;

void TFormkarttet::OpenItems(const QString& number) {
  TableTETEL->Close();
  TableTETEL->SetFilter(QStringLiteral("LELTSZAM = '%1'").arg(m_database.EscapeString(number)));
  TableTETEL->SetFiltered(true);
  TableTETEL->Open();
}

void TFormkarttet::AppendItem(QChar type, const QDate& date, const QString& text) {
  const int count = TableTETEL->RecordCount();
  TableTETEL->Append();
  TableTETEL->FieldByName("SORSZAM")->SetAsInteger(count + 1);
  TableTETEL->FieldByName("TIPUS")->SetAsString(QString(type));
  TableTETEL->FieldByName("LELTSZAM")->SetAsString(AssetNumber);
  TableTETEL->FieldByName("DATUM")->SetAsDate(date);
  TableTETEL->FieldByName("SZOVEG")->SetAsString(text);
}

ItemAmounts TFormkarttet::Amounts() const {
  ItemAmounts a;
  a.BRUTTONOV = Amount(TableTETEL, "BRUTTONOV");
  a.BRUTTOCSOK = Amount(TableTETEL, "BRUTTOCSOK");
  a.ECSNOV = Amount(TableTETEL, "ECSNOV");
  a.ECSCSOKK = Amount(TableTETEL, "ECSCSOKK");
  a.ECSNSZ = Amount(TableTETEL, "ECSNSZ");
  a.ECSCSSZ = Amount(TableTETEL, "ECSCSSZ");
  return a;
}

void TFormkarttet::SetAmounts(const ItemAmounts& a) {
  SetAmount(TableTETEL, "BRUTTO", a.BRUTTO);
  SetAmount(TableTETEL, "ECS", a.ECS);
  SetAmount(TableTETEL, "ECSSZ", a.ECSSZ);
  SetAmount(TableTETEL, "NETTO", a.NETTO);
  SetAmount(TableTETEL, "NETTOSZ", a.NETTOSZ);
}

void TFormkarttet::Recompute() {
  if (TableTETEL->State() != dsInsert && TableTETEL->State() != dsEdit) return;
  ItemAmounts a = Amounts();
  RecomputeItem(a, m_previous, m_activated);
  SetAmounts(a);
}

void TFormkarttet::RefreshQuantity() {
  m_quantitySum = QuantitySum(m_database, AssetNumber);
  EditSumMennyiseg->setText(QString::number(m_quantitySum, 'g', QLocale::FloatingPointShortest));
}

void TFormkarttet::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) RunGuarded([this] { FormActivate(); });
}

void TFormkarttet::FormActivate() {
  LabelNev2->clear();
  const TDataSetState state = TableTETEL->State();
  const bool inserting = state == dsInsert;
  PanelEdit->setEnabled(state == dsInsert || state == dsEdit);
  const QString type = TableTETEL->FieldByName("TIPUS")->AsString();
  ItemType = type.isEmpty() ? QLatin1Char(' ') : type.at(0);
  m_previous = ReadPreviousBalances(
      m_database, AssetNumber, TableTETEL->FieldByName("DATUM")->AsDate(), ItemType, inserting);
  m_activated = m_previous.activated;
  Recompute();
  RefreshQuantity();
  const ItemTypeRule rule = ItemTypeRuleOf(ItemType);
  LabelTipus->setText(rule.caption);
  const struct {
    TDBFTEDit* box;
    unsigned flag;
  } boxes[] = {{DBEMENNYISEG, ItemBox::Quantity},    {DBEBRUTTONOV, ItemBox::BruttoNov},
               {DBEBRUTTOCSOK, ItemBox::BruttoCsok}, {DBEECSNOV, ItemBox::EcsNov},
               {DBEECSCSOKK, ItemBox::EcsCsokk},     {DBEECSNSZ, ItemBox::EcsNsz},
               {DBEECSCSSZ, ItemBox::EcsCssz}};
  for (const auto& b : boxes) {
    const bool locked = rule.locked & b.flag;
    b.box->setEnabled(!locked);
    b.box->setStyleSheet(locked ? QStringLiteral("background: lime;")
                                : QStringLiteral("background: white;"));
  }
  if (inserting && rule.closing) {
    SetAmount(TableTETEL, "BRUTTOCSOK", m_previous.BRUTTO);
    SetAmount(TableTETEL, "ECSCSOKK", m_previous.ECS);
    SetAmount(TableTETEL, "ECSCSSZ", m_previous.ECSSZ);
    SetAmount(TableTETEL, "MENNYISEG", -m_quantitySum);
    Recompute();
  }
  const bool receiving = ItemType == QLatin1Char('C') && ActionCode == QLatin1Char('C');
  Lleltszam2->setVisible(receiving);
  Editleltszam2->setVisible(receiving);
  LabelNev2->setVisible(receiving);
  if (inserting) TableTETEL->FieldByName("SZOVEG")->SetAsString(rule.caption);
  DBEDATUM->setFocus();
}

bool TFormkarttet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == DBEMENNYISEG && event->type() == QEvent::FocusIn && TableTETEL->Active())
    m_quantityOnEntry = Amount(TableTETEL, "MENNYISEG");
  return QDialog::eventFilter(watched, event);
}

void TFormkarttet::QuantityLeft() {
  RunGuarded([this] { QuantityStep(); });
}

void TFormkarttet::QuantityStep() {
  RefreshQuantity();
  if (TableTETEL->State() != dsInsert && TableTETEL->State() != dsEdit) return;
  const double now = Amount(TableTETEL, "MENNYISEG");
  if (now == m_quantityOnEntry || m_quantityOnEntry == 0) return;
  SetAmount(TableTETEL, "BRUTTOCSOK",
            ScaleByQuantity(Amount(TableTETEL, "BRUTTOCSOK"), m_quantityOnEntry, now));
  SetAmount(TableTETEL, "BRUTTONOV",
            ScaleByQuantity(Amount(TableTETEL, "BRUTTONOV"), m_quantityOnEntry, now));
  m_quantityOnEntry = now;
  Recompute();
}

void TFormkarttet::BtnOkClick() {
  const bool ready = RunGuarded([this] {
    BtnOk->setFocus();
    if (TableTETEL->Active()) TableTETEL->UpdateRecord();
    ReceivingNumber = Editleltszam2->text().trimmed();
    if (TableTETEL->Active() && TableTETEL->FieldByName("TIPUS")->AsString() == QLatin1String("2"))
      m_activated = true;
  });
  if (ready) done(QDialog::Accepted);
}

bool TFormkarttet::CheckItem() {
  Recompute();
  bool ok = true;
  const auto fail = [&ok](const QString& text) {
    Ui().ShowMessage2(QString(), text);
    ok = false;
  };
  if (Amount(TableTETEL, "BRUTTO") < 0) fail(QStringLiteral("A Bruttó érték nem lehet negativ!"));
  if (Amount(TableTETEL, "NETTO") < 0)
    fail(QStringLiteral("A Nettó érték (adó tv.szrt) nem lehet negativ!"));
  if (Amount(TableTETEL, "NETTOSZ") < 0)
    fail(QStringLiteral("A Nettó érték (szvt.szrt.) nem lehet negativ!"));
  const QDate date = TableTETEL->FieldByName("DATUM")->AsDate();
  const QChar type = ItemType;
  QDate min, max;
  if (type == QLatin1Char('0') || type == QLatin1Char('1')) {
    if (ItemDateRange(m_database, AssetNumber, type, &min, &max) && date > min)
      fail(QStringLiteral("Korábbi dátummal is szerepelnek már adatok!"));
  } else if (QStringLiteral("567C").contains(type)) {
    if (ItemDateRange(m_database, AssetNumber, type, &min, &max) && date < max)
      fail(QStringLiteral("Késöbbi dátummal is szerepelnek már adatok!"));
  } else {
    const AssetDates asset = ReadAssetDates(m_database, AssetNumber);
    if (asset.found) {
      if (date < asset.BESZKELT)
        fail(QStringLiteral("Ekkor még nem volt meg ez az eszköz/immat.jav!"));
      if (asset.ELADAS.isValid() && asset.ELADAS > kDateSet && date > asset.ELADAS)
        fail(QStringLiteral("Ekkor már nincs meg ez az eszköz/immat.jav!"));
      if (asset.SLEJTEZ.isValid() && asset.SLEJTEZ > kDateSet && date > asset.SLEJTEZ)
        fail(QStringLiteral("Ekkor már selejtezve van ez az eszköz/immat.jav!"));
    }
  }
  if (Editleltszam2->isVisible() ||
      (ItemType == QLatin1Char('C') && ActionCode == QLatin1Char('C'))) {
    if (ReceivingNumber.isEmpty()) {
      fail(QStringLiteral("Növekedő értékü leltári számot meg kell adni!"));
      Editleltszam2->setFocus();
    } else {
      const AssetDates receiving = ReadAssetDates(m_database, ReceivingNumber);
      if (!receiving.found) {
        fail(QStringLiteral("Nincs ilyen leltári szám!"));
        Editleltszam2->setFocus();
      } else {
        ReceivingName = receiving.name;
      }
    }
  }
  if (type == QLatin1Char('C') && TableTETEL->FieldByName("MENNYISEG")->AsInteger() >= 0) {
    fail(QStringLiteral("A mennyiség csak negatív szám lehet!"));
    DBEMENNYISEG->setFocus();
  }
  return ok;
}

void TFormkarttet::Reposition(int position) {
  TableTETEL->Close();
  TableTETEL->Open();
  TableTETEL->SetRecNo(position);
}

bool TFormkarttet::PostItem() {
  const int position = TableTETEL->RecNo();
  const bool inserting = TableTETEL->State() == dsInsert;
  TableTETEL->FieldByName("LELTSZAM")->SetAsString(AssetNumber);
  Posted = Amounts();
  PostedDate = TableTETEL->FieldByName("DATUM")->AsDate();
  PostedQuantity = Amount(TableTETEL, "MENNYISEG");
  const QList<QVariant> typed = FieldValues(*TableTETEL);
  if (!ChangeCard([this] { TableTETEL->Post(); })) {
    // Nothing was stored: the item stays as typed (taken again when the post itself went
    // through and the card's recalculation failed), for the user to mend or cancel.
    if (TableTETEL->State() == dsBrowse) ResumeEditing(*TableTETEL, inserting, position, typed);
    return false;
  }
  Reposition(position);
  RefreshQuantity();
  if (m_quantitySum < 0)
    Ui().ShowMessage2(QStringLiteral("FIGYELEM! A mennyiség negativ lett!"), QString());
  return true;
}

void TFormkarttet::done(int result) {
  const TDataSetState state = TableTETEL->State();
  const bool editing = state == dsInsert || state == dsEdit;
  if (result == QDialog::Accepted && editing) {
    // A failed check or post keeps the form open with the item as typed.
    bool posted = false;
    RunGuarded([&] { posted = CheckItem() && PostItem(); });
    if (!posted) return;
  } else if (result != QDialog::Accepted && state == dsInsert &&
             TableTETEL->FieldByName("TIPUS")->AsString() == QLatin1String("D")) {
    Ui().ShowMessage2(
        QStringLiteral("FIGYELEM AZ ÁTVEZETÉS MÁSIK FELÉT (ahol csökkenés van) KÉZZEL "
                       "TÖRÖLNI KELL!"),
        QString());
  }
  QDialog::done(result);
}

void TFormkarttet::DeleteItem() {
  RunGuarded([this] { DeleteCurrent(); });
}

void TFormkarttet::DeleteCurrent() {
  if (!TableTETEL->Active() || TableTETEL->IsEmpty()) return;
  const QString type = TableTETEL->FieldByName("TIPUS")->AsString();
  if (type == QLatin1String("0") || type == QLatin1String("1")) {
    Ui().MessageBox(QStringLiteral("Ez a tétel nem törölhető!"), QString(), MsgType::Warning);
    return;
  }
  if (!Ui().AskYesNo(QStringLiteral("Törölni akarja ezt a tételt?"), QString(), QString(),
                     QStringLiteral("Törlés megerősítés")))
    return;
  const int position = TableTETEL->RecNo();
  ChangeCard([this] { TableTETEL->Delete(); });
  // What the table shows is what the database holds, after a failure too.
  Reposition(position);
}

bool TFormkarttet::ChangeCard(const std::function<void()>& change) {
  try {
    ChangeCardUnderLock(m_database, AssetNumber, change, Recalc);
  } catch (const Exception& e) {
    ShowError(e.Message());
    return false;
  }
  return true;
}
