#include "form_csv_inport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_globals.h"
#include "company_databases.h"
#include "csv_import.h"
#include "dialog_keys.h"
#include "dos_takeover.h"
#include "exceptions.h"
#include "form_licensz.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_database.h"

namespace {

void Colour(QLabel* label, const char* colour) {
  label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
  label->repaint();
}

}  // namespace

TFormCSVinport::TFormCSVinport(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent)
    : QDialog(parent), m_db0(db0), m_db1(db1) {
  setObjectName(QStringLiteral("FormCSVinport"));
  setWindowTitle(QStringLiteral("Betöltés CSV fájlokból"));

  auto* panel = new QWidget(this);
  auto* grid = new QGridLayout(panel);
  grid->addWidget(new QLabel(QStringLiteral("Betöltés"), panel), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Jelenlegi adatok törlése"), panel), 0, 2);
  const struct {
    QLabel** label;
    const char* caption;
    QCheckBox** load;
    QCheckBox** clear;
    int number;
  } rows[] = {{&LabelCEG, "Cég Aadtok", &CheckBox1, &CheckBox2, 1},
              {&LabelKARTFEJ, "Fej adatok", &CheckBox3, &CheckBox4, 3},
              {&LabelKARTTET, "Tétel adatok", &CheckBox5, &CheckBox6, 5},
              {&LabelKULCSOK, "Kulcsok", &CheckBox7, &CheckBox8, 7},
              {&LabelPONTOSOK, "Pontosságok", &CheckBox9, &CheckBox10, 9}};
  int r = 1;
  for (const auto& row : rows) {
    *row.label = new QLabel(QString::fromUtf8(row.caption), panel);
    *row.load = new QCheckBox(panel);
    (*row.load)->setObjectName(QStringLiteral("CheckBox%1").arg(row.number));
    (*row.load)->setChecked(true);
    *row.clear = new QCheckBox(panel);
    (*row.clear)->setObjectName(QStringLiteral("CheckBox%1").arg(row.number + 1));
    grid->addWidget(*row.label, r, 0);
    grid->addWidget(*row.load, r, 1);
    grid->addWidget(*row.clear, r, 2);
    ++r;
  }
  CheckBox9->setText(QStringLiteral("betöltés"));

  grid->addWidget(new QLabel(QStringLiteral("CSV fájlok könyvtára:"), panel), r, 0);
  EditCSVDir = new QLineEdit(panel);
  EditCSVDir->setObjectName(QStringLiteral("EditCSVDir"));
  grid->addWidget(EditCSVDir, r, 1, 1, 2);
  BtnCSVdir = new QPushButton(QStringLiteral("Tallózás"), panel);
  grid->addWidget(BtnCSVdir, r++, 3);
  grid->addWidget(new QLabel(QStringLiteral("Terminátor:"), panel), r, 0);
  CBterm = new QComboBox(panel);
  CBterm->setObjectName(QStringLiteral("CBterm"));
  CBterm->addItems(
      {QStringLiteral("pontosvessző"), QStringLiteral("vessző"), QStringLiteral("tabulátor")});
  CBterm->setCurrentIndex(0);
  grid->addWidget(CBterm, r++, 1);
  CBelsotne = new QCheckBox(QStringLiteral("Első sort kihagyni"), panel);
  CBCSVtorles = new QCheckBox(QStringLiteral("Beolvasás után csv fájl törlése"), panel);
  CBuzen = new QCheckBox(QStringLiteral("Lépésenkénti üzenet ablakok megjelenítése"), panel);
  CBuzen->setChecked(true);
  for (QCheckBox* box : {CBelsotne, CBCSVtorles, CBuzen}) grid->addWidget(box, r++, 0, 1, 3);

  BtnMindent = new QPushButton(QStringLiteral("Mindent bejelöl"), this);
  Btndoksi = new QPushButton(QStringLiteral("Tábla szerkezetek"), this);
  BtnOK = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnOK->setObjectName(QStringLiteral("BtnOK"));
  BtnCANCEL = new QPushButton(QStringLiteral("&Mégsem"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnMindent);
  buttons->addWidget(Btndoksi);
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnCANCEL);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addLayout(buttons);

  connect(BtnCSVdir, &QPushButton::clicked, this, &TFormCSVinport::BtnCSVdirClick);
  connect(BtnMindent, &QPushButton::clicked, this, &TFormCSVinport::BtnMindentClick);
  connect(Btndoksi, &QPushButton::clicked, this, &TFormCSVinport::BtndoksiClick);
  connect(BtnOK, &QPushButton::clicked, this, &TFormCSVinport::BtnOKClick);
  connect(BtnCANCEL, &QPushButton::clicked, this, &QDialog::reject);
  InstallDialogKeys(this, [this] { BtnOKClick(); });
  FormSetupWindowColors(this);
  SetHelpContexts(this, 5080);
}

void TFormCSVinport::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_activated) return;
  m_activated = true;
  FormActivate();
}

void TFormCSVinport::FormActivate() {
  EditCSVDir->setText(ReadVexorDir());
  BtnOK->setText(Globals().CrTabMode == 1 ? QStringLiteral("F9 Rendben")
                                          : QStringLiteral("&Rendben"));
}

void TFormCSVinport::BtnCSVdirClick() {
  QString dir = EditCSVDir->text();
  if (BrowseForFolder(QStringLiteral("Kérem válasszon könyvtárat!"), QString(), dir))
    EditCSVDir->setText(dir);
}

void TFormCSVinport::BtnMindentClick() {
  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6,
                         CheckBox7, CheckBox8, CheckBox9, CheckBox10})
    box->setChecked(true);
}

void TFormCSVinport::BtndoksiClick() {
  TFormLicensz viewer(this);
  viewer.setWindowTitle(QStringLiteral("Adatbázis táblák"));
  viewer.PanelGpl->hide();
  viewer.LoadFromFile(QStringLiteral("create/create.sql"));
  viewer.exec();
}

QLabel* TFormCSVinport::LabelOf(const QString& table) const {
  const QStringList tables = CsvImportTables();
  QLabel* labels[] = {LabelCEG, LabelKARTFEJ, LabelKARTTET, LabelKULCSOK, LabelPONTOSOK};
  const int i = int(tables.indexOf(table));
  return i >= 0 ? labels[i] : nullptr;
}

bool TFormCSVinport::Import(const QStringList& tables) {
  const QStringList all = CsvImportTables();
  QCheckBox* loads[] = {CheckBox1, CheckBox3, CheckBox5, CheckBox7, CheckBox9};
  QCheckBox* clears[] = {CheckBox2, CheckBox4, CheckBox6, CheckBox8, CheckBox10};
  QList<CsvTableChoice> choices;
  for (const QString& table : tables) {
    const int i = int(all.indexOf(table));
    if (i < 0) continue;
    choices.append({table, loads[i]->isChecked(), clears[i]->isChecked()});
  }
  CsvImportOptions options;
  options.dir = EditCSVDir->text();
  options.terminator = static_cast<CsvTerminator>(qBound(0, CBterm->currentIndex(), 2));
  options.skipFirstLine = CBelsotne->isChecked();
  options.deleteFiles = CBCSVtorles->isChecked();
  options.stepMessages = CBuzen->isChecked();

  QApplication::setOverrideCursor(Qt::WaitCursor);
  CsvImportResult result = CsvImportResult::Refused;
  try {
    if (!m_db1.Connected()) m_db1.Connect();
    result = CsvImport(m_db1).Run(choices, options, [this](const QString& table, bool done) {
      if (QLabel* label = LabelOf(table)) Colour(label, done ? "green" : "red");
    });
    if (result == CsvImportResult::Done) SyncCompanyTaxNumber(m_db0, m_db1, true);
  } catch (const Exception& e) {
    QApplication::restoreOverrideCursor();
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
    return false;
  }
  QApplication::restoreOverrideCursor();
  try {
    WriteVexorDir(EditCSVDir->text());
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
  }
  update();
  return result == CsvImportResult::Done;
}

bool TFormCSVinport::ImportCsvTable(const QString& table, bool load, bool clear) {
  const QStringList all = CsvImportTables();
  const int i = int(all.indexOf(table));
  if (i < 0) return false;
  QCheckBox* loads[] = {CheckBox1, CheckBox3, CheckBox5, CheckBox7, CheckBox9};
  QCheckBox* clears[] = {CheckBox2, CheckBox4, CheckBox6, CheckBox8, CheckBox10};
  loads[i]->setChecked(load);
  clears[i]->setChecked(clear);
  return Import({table});
}

void TFormCSVinport::BtnOKClick() {
  Import(CsvImportTables());
  accept();
}

void TakeOverFromDos(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent) {
  const std::optional<QString> answer =
      Ui().InputBox(QString(), QStringLiteral("DOS-os VEXOR Dir:"), ReadVexorDir());
  if (!answer || answer->trimmed().isEmpty()) return;
  const QString dir = WithTrailingSeparator(answer->trimmed());
  try {
    WriteVexorDir(dir);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
    return;
  }
  CopyDosConverter(Globals().ProgramDir, dir);
  if (!RunDosConverter(dir))
    Ui().MessageBox(QStringLiteral("Az átalakító (ecs2csv.bat) nem indítható."),
                    QStringLiteral("FIGYELEM!"), MsgType::Warning);
  TFormCSVinport form(db0, db1, parent);
  form.exec();
}
