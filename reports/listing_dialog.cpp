#include "listing_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app_globals.h"
#include "date_edit.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "form_setup.h"
#include "report_renderer.h"
#include "ui_services.h"
#include "uni_sql_query.h"

TRadioGroup::TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
                         QWidget* parent)
    : QWidget(parent), m_buttons(new QButtonGroup(this)) {
  setObjectName(name);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* box = new QGroupBox(caption, this);
  outer->addWidget(box);
  auto* layout = new QVBoxLayout(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], box);
    m_buttons->addButton(button, i);
    layout->addWidget(button);
  }
  SetItemIndex(0);
  connect(m_buttons, &QButtonGroup::idClicked, this, [this](int) {
    if (OnClick) OnClick();
  });
}

int TRadioGroup::ItemIndex() const { return m_buttons->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* b = m_buttons->button(index)) b->setChecked(true);
  if (OnClick) OnClick();
}

TListingDialog::TListingDialog(TUniSQLDatabase& database, const QString& name,
                               const QString& caption, int helpContext, QWidget* parent)
    : QDialog(parent), m_database(database), m_grid(new QGridLayout(this)) {
  setObjectName(name);
  setWindowTitle(caption);
  LabelCegNev = new QLabel(this);
  LabelCegNev->setObjectName(QStringLiteral("LabelCegNev"));
  QFont bold = LabelCegNev->font();
  bold.setBold(true);
  LabelCegNev->setFont(bold);
  m_grid->addWidget(LabelCegNev, 0, 0, 1, 3);
  FormSetupOwnColors(this);
  SetHelpContexts(this, helpContext);
}

void TListingDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  RunGuarded([this] { FormActivate(); });
}

QLineEdit* TListingDialog::AddEdit(const QString& name, const QString& label, int column) {
  if (column == 1 && !label.isEmpty()) m_grid->addWidget(new QLabel(label, this), m_row, 0);
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  // Not squeezed below its natural width by the wider rows of the dialog.
  edit->setMinimumWidth(edit->sizeHint().width());
  m_grid->addWidget(edit, m_row, column);
  return edit;
}

TdateEdit* TListingDialog::AddDate(const QString& name, const QString& label, int column) {
  if (column == 1 && !label.isEmpty()) m_grid->addWidget(new QLabel(label, this), m_row, 0);
  auto* edit = new TdateEdit(this);
  edit->setObjectName(name);
  m_grid->addWidget(edit, m_row, column);
  return edit;
}

QCheckBox* TListingDialog::AddCheck(const QString& name, const QString& caption) {
  auto* check = new QCheckBox(caption, this);
  check->setObjectName(name);
  m_grid->addWidget(check, m_row++, 0, 1, 3);
  return check;
}

TRadioGroup* TListingDialog::AddValuation() {
  auto* group = new TRadioGroup(
      QStringLiteral("RadioGroup"), QString(),
      {QStringLiteral("Számviteli törvény szerint"), QStringLiteral("Adó törvény szerint")}, this);
  m_grid->addWidget(group, m_row++, 0, 1, 3);
  return group;
}

void TListingDialog::AddCostLocation(TRadioGroup*& group, QComboBox*& list) {
  group = new TRadioGroup(
      QStringLiteral("RGKoltsH"), QStringLiteral("Költséghely"),
      {QStringLiteral("Összes költséghely"), QStringLiteral("Csak egy megadott költséghely")},
      this);
  list = new QComboBox(this);
  list->setObjectName(QStringLiteral("CBKoltsH"));
  list->setEditable(true);
  m_grid->addWidget(group, m_row, 0, 1, 2);
  m_grid->addWidget(list, m_row++, 2);
  QComboBox* combo = list;
  TRadioGroup* radio = group;
  group->OnClick = [combo, radio] { combo->setEnabled(radio->ItemIndex() == 1); };
  combo->setEnabled(false);
}

QPushButton* TListingDialog::AddButtons(const QString& startName, const QString& startCaption,
                                        const std::function<void()>& onStart,
                                        QPushButton** cancel) {
  auto* row = new QHBoxLayout;
  auto* start = new QPushButton(startCaption, this);
  start->setObjectName(startName);
  start->setDefault(true);
  auto* close = new QPushButton(QStringLiteral("&Mégsem"), this);
  close->setObjectName(QStringLiteral("BtnMegsem"));
  row->addStretch();
  row->addWidget(start);
  row->addWidget(close);
  m_grid->addLayout(row, m_row++, 0, 1, 3);
  connect(start, &QPushButton::clicked, this, onStart);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  if (cancel) *cancel = close;
  // The last controls are in place: F9 starts, Enter moves on or starts by the keyboard mode.
  InstallDialogKeys(this, [start] { start->click(); });
  return start;
}

void TListingDialog::FillCompany(const QString& sql) {
  Run([&] {
    TUniSQLQuery q;
    q.SetDatabase(&m_database);
    q.SetSQL(sql);
    q.Open();
    LabelCegNev->setText(q.IsEmpty() ? QString()
                                     : q.FieldByName(QStringLiteral("CEGNEV"))->AsString());
  });
}

void TListingDialog::AddAssetRange(const QString& fromName, const QString& toName, QLineEdit*& from,
                                   QLineEdit*& to, TdateEdit*& acquiredFrom,
                                   TdateEdit*& acquiredTo) {
  from = AddEdit(fromName, QStringLiteral("Leltári szám:"));
  to = AddEdit(toName, {}, 2);
  NextRow();
  acquiredFrom = AddDate(QStringLiteral("dateEdittol"), QStringLiteral("Beszerzés:"));
  acquiredTo = AddDate(QStringLiteral("dateEditig"), {}, 2);
  NextRow();
}

void TListingDialog::FillRange(QLineEdit* from, QLineEdit* to, TdateEdit* acquiredFrom,
                               TdateEdit* acquiredTo, int days) {
  if (acquiredFrom) acquiredFrom->SetValue(QDate::currentDate().addDays(-days));
  if (acquiredTo) acquiredTo->SetValue(QDate::currentDate());
  Run([&] {
    TUniSQLQuery Qminmax;
    Qminmax.SetDatabase(&m_database);
    Qminmax.SetSQL(QStringList{"SELECT MIN(LELTSZAM)", "FROM KARTFEJ", "UNION ALL",
                               "SELECT MAX(LELTSZAM)", "FROM KARTFEJ"});
    Qminmax.Open();
    Qminmax.First();
    from->setText(Qminmax.Fields(0)->AsString());
    Qminmax.Last();
    to->setText(Qminmax.Fields(0)->AsString());
  });
}

void TListingDialog::FillCostLocations(QComboBox* list) {
  Run([&] {
    TUniSQLQuery q;
    q.SetDatabase(&m_database);
    q.SetSQL(QStringList{"select distinct KOLTSHELY", "from KARTFEJ;"});
    q.Open();
    list->clear();
    for (q.First(); !q.Eof(); q.Next()) list->addItem(q.Fields(0)->AsString());
  });
}

TCostLocationChoice TListingDialog::CostLocation(TRadioGroup* group, QComboBox* list) {
  TCostLocationChoice choice;
  choice.One = group->ItemIndex() == 1;
  choice.Koltshely = list->currentText();
  return choice;
}

bool TListingDialog::Run(const std::function<void()>& work) { return RunGuarded(work); }

void TListingDialog::Show(const QString& report) {
  // A renderer that fails is reported by ShowReport itself.
  ShowReport(Globals().UserDir, report);
}

void TListingDialog::RunListing(const std::function<bool()>& write, const QString& report) {
  bool any = false;
  if (!Run([&] { any = write(); })) return;
  if (!any) {
    Ui().MessageBox(QStringLiteral("A kiválasztott lekérdezés nem tartalmaz adatokat!"),
                    QStringLiteral("Hiba"), MsgType::Error);
    return;
  }
  Show(report);
}

bool TListingDialog::PeriodOk(TdateEdit* from, TdateEdit* to) {
  if (from->Value() <= to->Value()) return true;
  Ui().MessageBox(QStringLiteral("A kezdő dátum nagyobb, mint a végérték!"), QStringLiteral("Hiba"),
                  MsgType::Error);
  from->SetValue(QDate(QDate::currentDate().year(), 1, 1));
  from->selectAll();
  to->setFocus();
  return false;
}
