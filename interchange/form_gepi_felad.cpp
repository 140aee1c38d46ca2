#include "form_gepi_felad.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

#include "app_globals.h"
#include "date_edit.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "form_setup.h"
#include "posting_file.h"
#include "ui_services.h"
#include "uni_sql_query.h"

namespace {

// An up-down beside a text edit: its arrows step the number in the edit within the range.
QSpinBox* upDownFor(QLineEdit* edit, int minimum, int maximum, QWidget* parent) {
  auto* upDown = new QSpinBox(parent);
  upDown->setRange(minimum, maximum);
  upDown->setFixedWidth(18);
  upDown->setFocusPolicy(Qt::NoFocus);
  upDown->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  QObject::connect(edit, &QLineEdit::textChanged, upDown, [upDown](const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok) {
      const QSignalBlocker block(upDown);
      upDown->setValue(value);
    }
  });
  QObject::connect(upDown, &QSpinBox::valueChanged, edit,
                   [edit](int value) { edit->setText(QString::number(value)); });
  return upDown;
}

QWidget* withUpDown(QLineEdit* edit, QSpinBox* upDown, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(edit);
  row->addWidget(upDown);
  return box;
}

}  // namespace

QString TFormGepiFelad::SettingsFile() { return Globals().ProgramDir + QStringLiteral("ZARN.INI"); }

TFormGepiFelad::TFormGepiFelad(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("FormGepiFelad"));
  setWindowTitle(QStringLiteral("Gépi feladás"));
  auto* layout = new QGridLayout(this);
  auto* heading = new QLabel(QStringLiteral("Adatok könyvelési feladása .XML formátumban"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading, 0, 0, 1, 4);

  LabelCeg = new QLabel(this);
  LabelCeg->setObjectName(QStringLiteral("LabelCeg"));
  LabelAdosz = new QLabel(this);
  LabelAdosz->setObjectName(QStringLiteral("LabelAdosz"));
  for (QLabel* l : {LabelCeg, LabelAdosz}) l->setStyleSheet(QStringLiteral("background: yellow"));
  layout->addWidget(LabelCeg, 1, 0, 1, 3);
  layout->addWidget(LabelAdosz, 1, 3);

  layout->addWidget(new QLabel(QStringLiteral("Időszak:"), this), 2, 0);
  DatumTol = new TdateEdit(this);
  DatumTol->setObjectName(QStringLiteral("DatumTol"));
  DatumIg = new TdateEdit(this);
  DatumIg->setObjectName(QStringLiteral("DatumIg"));
  layout->addWidget(DatumTol, 2, 1);
  layout->addWidget(new QLabel(QStringLiteral("-"), this), 2, 2);
  layout->addWidget(DatumIg, 2, 3);

  chbEcsAdatok = new QCheckBox(QStringLiteral("ÉCS adatok"), this);
  chbEcsAdatok->setObjectName(QStringLiteral("chbEcsAdatok"));
  chbEcsAdatok->setChecked(true);
  chbAktivalasAdatok = new QCheckBox(QStringLiteral("Aktiválás adatok"), this);
  chbAktivalasAdatok->setObjectName(QStringLiteral("chbAktivalasAdatok"));
  chbAktivalasAdatok->setChecked(true);
  layout->addWidget(chbEcsAdatok, 3, 1);
  layout->addWidget(chbAktivalasAdatok, 3, 3);

  EditKEv = new QLineEdit(this);
  EditKEv->setObjectName(QStringLiteral("EditKEv"));
  UpDownKEv = upDownFor(EditKEv, 1900, 2100, this);
  layout->addWidget(new QLabel(QStringLiteral("Könyvelési év:"), this), 4, 0);
  layout->addWidget(withUpDown(EditKEv, UpDownKEv, this), 4, 1);
  EditKHo = new QLineEdit(this);
  EditKHo->setObjectName(QStringLiteral("EditKHo"));
  UpDownKHo = upDownFor(EditKHo, 0, 14, this);
  layout->addWidget(new QLabel(QStringLiteral("ÉCS könyvelési hó:"), this), 4, 2);
  layout->addWidget(withUpDown(EditKHo, UpDownKHo, this), 4, 3);

  EditKNaplo = new QLineEdit(this);
  EditKNaplo->setObjectName(QStringLiteral("EditKNaplo"));
  layout->addWidget(new QLabel(QStringLiteral("Napló:"), this), 5, 0);
  layout->addWidget(EditKNaplo, 5, 1);
  EditBizszam = new QLineEdit(this);
  EditBizszam->setObjectName(QStringLiteral("EditBizszam"));
  layout->addWidget(new QLabel(QStringLiteral("ÉCS bizonylatszám:"), this), 5, 2);
  layout->addWidget(EditBizszam, 5, 3);

  dateEdit1 = new TdateEdit(this);
  dateEdit1->setObjectName(QStringLiteral("dateEdit1"));
  layout->addWidget(new QLabel(QStringLiteral("Dátum:"), this), 6, 0);
  layout->addWidget(dateEdit1, 6, 1);
  CBkod = new QComboBox(this);
  CBkod->setObjectName(QStringLiteral("CBkod"));
  CBkod->addItems({QStringLiteral("ISO-8859-2"), QStringLiteral("852")});
  layout->addWidget(new QLabel(QStringLiteral("Kód rendszer:"), this), 6, 2);
  layout->addWidget(CBkod, 6, 3);

  EditXml = new QLineEdit(this);
  EditXml->setObjectName(QStringLiteral("EditXml"));
  BtnTalloz = new QPushButton(QStringLiteral("&Tallózás"), this);
  BtnTalloz->setObjectName(QStringLiteral("BtnTalloz"));
  layout->addWidget(new QLabel(QStringLiteral("Feladást tartalmazó .XML file:"), this), 7, 0);
  layout->addWidget(EditXml, 7, 1, 1, 2);
  layout->addWidget(BtnTalloz, 7, 3);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->hide();
  layout->addWidget(ProgressBar1, 8, 0, 1, 4);
  BtnOK = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnOK->setObjectName(QStringLiteral("BtnOK"));
  BtnBezar = new QPushButton(QStringLiteral("&Mégsem"), this);
  BtnBezar->setObjectName(QStringLiteral("BtnBezar"));
  layout->addWidget(BtnOK, 9, 1);
  layout->addWidget(BtnBezar, 9, 3);

  connect(chbEcsAdatok, &QCheckBox::clicked, this, &TFormGepiFelad::chbEcsAdatokClick);
  connect(BtnTalloz, &QPushButton::clicked, this, &TFormGepiFelad::BtnTallozClick);
  connect(BtnOK, &QPushButton::clicked, this, &TFormGepiFelad::BtnOKClick);
  connect(BtnBezar, &QPushButton::clicked, this, &QDialog::reject);
  InstallDialogKeys(this, [this] {
    if (BtnOK->isEnabled()) BtnOKClick();
  });
  FormSetupWindowColors(this);
  SetHelpContexts(this, 6010);
}

void TFormGepiFelad::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) RunGuarded([this] { FormActivate(); });
}

void TFormGepiFelad::FormActivate() {
  BtnOK->setText(Globals().CrTabMode == 1 ? QStringLiteral("F9 Rendben")
                                          : QStringLiteral("&Rendben"));
  // The defaults come once: a return to the form after a message keeps what was typed.
  if (m_activated) return;
  m_activated = true;
  const int year = QDate::currentDate().year();
  DatumTol->SetValue(QDate(year, 1, 1));
  DatumIg->SetValue(QDate(year, 12, 31));
  DatumTol->setFocus();
  dateEdit1->SetValue(QDate::currentDate());
  EditKEv->setText(QString::number(year));
  EditKHo->setText(QStringLiteral("12"));

  const PostingSettings settings = ReadPostingSettings(SettingsFile());
  EditKNaplo->setText(settings.Naplo);
  EditBizszam->setText(settings.Bizszam);
  EditXml->setText(settings.XmlFile);
  CBkod->setCurrentIndex(settings.Kod >= 0 && settings.Kod < CBkod->count() ? settings.Kod : -1);

  try {
    TUniSQLQuery QCeg;
    QCeg.SetDatabase(&m_database);
    QCeg.SetSQL(QStringLiteral("select * from CEG"));
    QCeg.Open();
    if (!QCeg.IsEmpty()) {
      LabelCeg->setText(QCeg.FieldByName(QStringLiteral("CEGNEV"))->AsString());
      LabelAdosz->setText(QCeg.FieldByName(QStringLiteral("ADOSZAM"))->AsString());
    }
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QString(), MsgType::Error, mbOK);
  }
  chbEcsAdatokClick();
}

void TFormGepiFelad::chbEcsAdatokClick() {
  EditBizszam->setEnabled(chbEcsAdatok->isChecked());
  EditKHo->setEnabled(chbEcsAdatok->isChecked());
  UpDownKHo->setEnabled(chbEcsAdatok->isChecked());
}

void TFormGepiFelad::BtnTallozClick() {
  const QString chosen = Ui().SaveFileName(
      QString(), Globals().ProgramDir, QStringLiteral("EcsFelad.xml"),
      QStringLiteral("XML fájlok (*.xml);;Minden fájl (*)"), QStringLiteral("XML"));
  if (!chosen.isEmpty()) EditXml->setText(chosen);
}

void TFormGepiFelad::BtnOKClick() {
  PostingInput input{DatumTol->Value(), DatumIg->Value(),   EditBizszam->text(), EditKEv->text(),
                     EditKHo->text(),   EditKNaplo->text(), EditXml->text()};
  const std::optional<PostingRefusal> refused = CheckPostingInput(input);
  // The checks pad the month and upper-case the journal as far as they came; shown back.
  EditKHo->setText(input.KHo);
  EditKNaplo->setText(input.KNaplo);
  if (refused) {
    Ui().MessageBox(refused->Message, QString(), MsgType::Information, mbOK);
    QWidget* focus = nullptr;
    switch (refused->Focus) {
      case PostingField::DatumTol:
        focus = DatumTol;
        break;
      case PostingField::EditBizszam:
        focus = EditBizszam;
        break;
      case PostingField::EditKEv:
        focus = EditKEv;
        break;
      case PostingField::EditKHo:
        focus = EditKHo;
        break;
      case PostingField::EditKNaplo:
        focus = EditKNaplo;
        break;
      case PostingField::EditXml:
        focus = EditXml;
        break;
    }
    focus->setFocus();
    return;
  }

  PostingSettings settings;
  settings.Naplo = EditKNaplo->text();
  settings.Bizszam = EditBizszam->text();
  settings.XmlFile = EditXml->text();
  settings.Kod = CBkod->currentIndex();

  PostingRequest request;
  request.DatumTol = DatumTol->Value();
  request.DatumIg = DatumIg->Value();
  request.EcsAdatok = chbEcsAdatok->isChecked();
  request.AktivalasAdatok = chbAktivalasAdatok->isChecked();
  request.Bizszam = EditBizszam->text();
  request.Datum = dateEdit1->Value();
  request.KEv = EditKEv->text().trimmed();
  request.KHo = EditKHo->text();
  request.Naplo = EditKNaplo->text();
  request.CegNev = LabelCeg->text().trimmed();
  request.Adoszam = LabelAdosz->text().trimmed();
  request.Dos852 = CBkod->currentIndex() != 0;
  request.FileName = EditXml->text().trimmed();

  QApplication::setOverrideCursor(Qt::WaitCursor);
  BtnOK->setEnabled(false);
  BtnBezar->setEnabled(false);
  ProgressBar1->show();
  try {
    WritePostingSettings(SettingsFile(), settings);
    WritePostingFile(m_database, request, [this](int position, int maximum) {
      ProgressBar1->setMaximum(maximum);
      ProgressBar1->setValue(position);
    });
  } catch (const Exception& e) {
    // The old file is kept; the user may correct the name and try again.
    QApplication::restoreOverrideCursor();
    ProgressBar1->hide();
    BtnOK->setEnabled(true);
    BtnBezar->setEnabled(true);
    Ui().MessageBox(e.Message(), QString(), MsgType::Error, mbOK);
    return;
  }
  QApplication::restoreOverrideCursor();
  Ui().MessageBox(QStringLiteral("Feladás elkészült"), QString(), MsgType::Information, mbOK);
  accept();
}
