#include "form_db_filter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "data_source.h"
#include "db_filter_condition.h"
#include "exceptions.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"
#include "wait_cursor.h"

void TFilterComboBox::showPopup() {
  NeedValues();
  QComboBox::showPopup();
}

void TFilterComboBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Down) NeedValues();
  QComboBox::keyPressEvent(event);
}

void TFilterComboBox::NeedValues() {
  if (count() == 0 && OnNeedValues) OnNeedValues(this);
}

TFormDBFilter::TFormDBFilter(TUniSQLTable* table, QWidget* parent)
    : QDialog(parent), m_table(table) {
  setObjectName(QStringLiteral("FormDBFilter"));
  setWindowTitle(QStringLiteral("Szürő feltételek"));
  if (table->Filtered()) m_ownFilter = table->Filter();
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(table);
  Q1 = new TUniSQLQuery(this);
  Q1->SetDatabase(table->Database());

  ScrollBox1 = new QScrollArea(this);
  auto* box = new QWidget;
  const int count = table->FieldCount();
  // The combos stand 100 pixels right of the check boxes, or further where a caption needs it.
  int checkWidth = 98;
  for (int i = 0; i < count; ++i)
    if (table->Fields(i)->Visible())
      checkWidth = qMax(checkWidth, QCheckBox(table->Fields(i)->DisplayLabel()).sizeHint().width());
  const int columnWidth = qMax(320, checkWidth + 2 + 200 + 20);
  int x = 2;
  int y = 2;
  int bottom = 0;
  for (int i = 0; i < count; ++i) {
    TField* field = table->Fields(i);
    if (!field->Visible()) continue;
    auto* check = new QCheckBox(field->DisplayLabel(), box);
    check->setProperty("tag", i);
    auto* combo = new TFilterComboBox(box);
    combo->setObjectName(QStringLiteral("CB") + QString::number(i));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // The first few letters are enough: they are not completed into a whole value.
    combo->setCompleter(nullptr);
    combo->setFixedWidth(200);
    if (field->DataType() == ftString && field->Size() >= 16)
      combo->setStyleSheet(QStringLiteral("QComboBox { background-color: yellow; }"));
    const int height = combo->sizeHint().height();
    check->setGeometry(x, y, checkWidth, height);
    combo->move(x + checkWidth + 2, y);
    combo->OnNeedValues = [this](TFilterComboBox* c) { LoadValues(c); };
    connect(check, &QCheckBox::toggled, combo, [combo](bool on) {
      if (on) combo->setFocus();
    });
    m_rows.push_back({i, check, combo});
    y += height + 2;
    bottom = qMax(bottom, y);
    if (i == count / 2) {  // the second half goes into a second column
      x += columnWidth;
      y = 2;
    }
  }
  box->resize(x + columnWidth, bottom + 2);
  ScrollBox1->setWidget(box);

  auto* note1 = new QLabel(
      QStringLiteral("A sárgával jelölt adatoknál elegendő az első néhány karaktert beirni-"),
      this);
  auto* note2 = new QLabel(QStringLiteral("A kis és nagy betük azonosnak számítanak"), this);
  BtnOK = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnMegsem = new QPushButton(QStringLiteral("&Mégsem"), this);
  BtnOK->setAutoDefault(false);
  BtnMegsem->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ScrollBox1, 1);
  layout->addWidget(note1);
  layout->addWidget(note2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnMegsem);
  layout->addLayout(buttons);
  // Both columns in view, as far as the screen allows.
  resize(qMax(680, box->width() + 40), 420);
  connect(BtnOK, &QPushButton::clicked, this, &TFormDBFilter::BtnOKClick);
  connect(BtnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  FormSetupOwnColors(this);
  SetHelpContexts(this, 1100);
  if (!m_rows.empty()) ScrollBox1->setFocus();
}

TFormDBFilter::~TFormDBFilter() = default;

QCheckBox* TFormDBFilter::CheckBoxOf(int fieldIndex) const {
  for (const Row& r : m_rows)
    if (r.fieldIndex == fieldIndex) return r.check;
  return nullptr;
}

TFilterComboBox* TFormDBFilter::ComboOf(int fieldIndex) const {
  for (const Row& r : m_rows)
    if (r.fieldIndex == fieldIndex) return r.combo;
  return nullptr;
}

void TFormDBFilter::LoadValues(TFilterComboBox* combo) {
  const Row* row = nullptr;
  for (const Row& r : m_rows)
    if (r.combo == combo) row = &r;
  if (!row) return;
  const QString typed = combo->currentText();
  TWaitCursor wait;
  try {
    Q1->SetSQL(DistinctValuesSQL(m_table->Fields(row->fieldIndex)->FieldName(),
                                 m_table->Tablename(), m_ownFilter));
    Q1->Open();
    for (Q1->First(); !Q1->Eof(); Q1->Next()) combo->addItem(Q1->Fields(0)->AsString());
    Q1->Close();
  } catch (const Exception& e) {
    Q1->Close();
    Ui().MessageBox(e.Message(), QString(), MsgType::Error);
  }
  combo->setEditText(typed);
}

void TFormDBFilter::BtnOKClick() {
  std::vector<TFilterEntry> entries;
  for (const Row& r : m_rows)
    if (r.check->isChecked())
      entries.push_back({m_table->Fields(r.fieldIndex), r.combo->currentText()});
  try {
    QString description;
    const QString conditions = BuildFilterConditions(
        entries, [this](const QString& text) { return m_table->Database()->EscapeString(text); },
        &description);
    m_table->SetFilter(CombineFilter(m_ownFilter, conditions));
    m_table->SetFiltered(true);
    m_description = description;
  } catch (const Exception& e) {  // the table's filter stays; the user corrects the value
    Ui().MessageBox(e.Message(), QString(), MsgType::Error);
    return;
  }
  accept();
}
