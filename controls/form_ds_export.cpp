#include "form_ds_export.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dataset_export.h"
#include "exceptions.h"
#include "form_setup.h"
#include "ui_services.h"
#include "wait_cursor.h"

TFormDSExport::TFormDSExport(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormDSExport"));
  setWindowTitle(QStringLiteral("Dataset Export"));
  CBForma = new QComboBox(this);
  CBForma->addItems({QStringLiteral("XML"), QStringLiteral("CSV"), QStringLiteral("HTM")});
  EditOnev = new QLineEdit(this);
  Button1BtnTalloz = new QPushButton(QStringLiteral("Tallózás"), this);
  Button1BtnTalloz->setAutoDefault(false);

  GBCSV = new QGroupBox(QStringLiteral("CSV opciók"), this);
  CBCSVMezonevek = new QCheckBox(QStringLiteral("Első sorba mező nevek"), GBCSV);
  CBCSVidezojel = new QCheckBox(QStringLiteral("Karakteres adatok idézőjelbe"), GBCSV);
  RBCSVpontosvesszo = new QRadioButton(QStringLiteral("Elválasztó jel: pontosvessző"), GBCSV);
  RBCSVtabulator = new QRadioButton(QStringLiteral("Elválasztó jel:TAB"), GBCSV);
  CBCSVMezonevek->setChecked(true);
  CBCSVidezojel->setChecked(true);
  RBCSVpontosvesszo->setChecked(true);
  auto* csv = new QVBoxLayout(GBCSV);
  for (QWidget* w :
       {static_cast<QWidget*>(CBCSVMezonevek), static_cast<QWidget*>(CBCSVidezojel),
        static_cast<QWidget*>(RBCSVpontosvesszo), static_cast<QWidget*>(RBCSVtabulator)})
    csv->addWidget(w);

  GBXML = new QGroupBox(QStringLiteral("XML opciók"), this);
  RBXMLalap = new QRadioButton(QStringLiteral("\"Alap\" XML (<mezőnév>érték</mezőnév> )"), GBXML);
  RBXMLTable = new QRadioButton(QStringLiteral("Table ( HTM TABLE -hoz hasonló )"), GBXML);
  RBXMLTable->setChecked(true);
  auto* xml = new QVBoxLayout(GBXML);
  xml->addWidget(RBXMLalap);
  xml->addWidget(RBXMLTable);

  GBHTM = new QGroupBox(QStringLiteral("HTM opciók"), this);
  CBHTMFejlec = new QCheckBox(QStringLiteral("Fejléc szöveg megjelenitése"), GBHTM);
  CBHTMOszlopfejlec = new QCheckBox(QStringLiteral("Oszlop fejlécek"), GBHTM);
  CBHTMCenter = new QCheckBox(QStringLiteral("Középre igazitás"), GBHTM);
  auto* htm = new QVBoxLayout(GBHTM);
  for (QCheckBox* c : {CBHTMFejlec, CBHTMOszlopfejlec, CBHTMCenter}) {
    c->setChecked(true);
    htm->addWidget(c);
  }

  BtnOK = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnMegsem = new QPushButton(QStringLiteral("&Mégsem"), this);
  BtnOK->setAutoDefault(false);
  BtnMegsem->setAutoDefault(false);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Formátum:"), CBForma);
  auto* name = new QHBoxLayout;
  name->addWidget(EditOnev, 1);
  name->addWidget(Button1BtnTalloz);
  form->addRow(QStringLiteral("Exportált fájl neve:"), name);
  auto* groups = new QHBoxLayout;
  groups->addWidget(GBXML);
  groups->addWidget(GBCSV);
  groups->addWidget(GBHTM);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnMegsem);
  auto* top = new QVBoxLayout(this);
  top->addLayout(form);
  top->addLayout(groups);
  top->addLayout(buttons);

  connect(CBForma, &QComboBox::currentIndexChanged, this, &TFormDSExport::FormatChanged);
  connect(Button1BtnTalloz, &QPushButton::clicked, this, &TFormDSExport::Button1BtnTallozClick);
  connect(BtnOK, &QPushButton::clicked, this, &TFormDSExport::BtnOKClick);
  connect(BtnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  FormatChanged();
  FormSetupOwnColors(this);
}

QString TFormDSExport::Format() const { return CBForma->currentText(); }

void TFormDSExport::FormatChanged() {
  const QString format = Format();
  GBXML->setEnabled(format == QLatin1String("XML"));
  GBCSV->setEnabled(format == QLatin1String("CSV"));
  GBHTM->setEnabled(format == QLatin1String("HTM"));
}

void TFormDSExport::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!IsActivation(event)) return;
  SetHelpContexts(this, HelpContextOf(this));
  CBForma->setCurrentIndex(0);
  CBForma->setFocus();
}

void TFormDSExport::Button1BtnTallozClick() {
  const QString format = Format();
  const QString name = Ui().SaveFileName(
      QString(), QString(), EditOnev->text(),
      format + QStringLiteral(" fájlok (*.") + format + QStringLiteral(");;Minden fájl (*.*)"),
      format);
  if (!name.isEmpty()) EditOnev->setText(name);
}

void TFormDSExport::BtnOKClick() {
  const QString format = Format();
  const QString fileName = ExportFileName(EditOnev->text(), format);
  auto write = [&] {
    if (format == QLatin1String("XML"))
      ExportXML(DataSet, fileName, RBXMLTable->isChecked(), Title);
    else if (format == QLatin1String("CSV"))
      ExportCSV(DataSet, fileName, RBCSVpontosvesszo->isChecked() ? QChar(u';') : QChar(u'\t'),
                CBCSVidezojel->isChecked(), CBCSVMezonevek->isChecked());
    else
      ExportHTML(DataSet, fileName, Title, CBHTMCenter->isChecked(), CBHTMOszlopfejlec->isChecked(),
                 CBHTMFejlec->isChecked());
  };
  try {
    TWaitCursor wait;
    if (RunWriting)
      RunWriting(write);
    else
      write();
  } catch (const Exception& e) {  // nothing was exported; the dialog stays for another name
    Ui().MessageBox(e.Message(), QString(), MsgType::Error);
    return;
  }
  accept();
  Ui().MessageBox(QStringLiteral("Adatok exportálva."), QString(), MsgType::Information);
}
