#include "form_ecsszamito.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app_globals.h"
#include "date_edit.h"
#include "depreciation_run.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "form_ecssz_lis.h"
#include "form_setup.h"
#include "ui_services.h"

TFormECSszamito::TFormECSszamito(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("FormECSszamito"));
  setWindowTitle(QStringLiteral("ÉCS számitás"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Érték csökkenés számítás dátuma:"), this), 0, 0);
  dateEdit1 = new TdateEdit(this);
  dateEdit1->setObjectName(QStringLiteral("dateEdit1"));
  layout->addWidget(dateEdit1, 0, 1);
  layout->addWidget(new QLabel(QStringLiteral("Leltáriszám:"), this), 1, 0);
  EditLsz = new QLineEdit(this);
  EditLsz->setObjectName(QStringLiteral("EditLsz"));
  layout->addWidget(EditLsz, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("(ha üres akkor mindhez)"), this), 1, 2);
  layout->addWidget(
      new QLabel(QStringLiteral("A számítás a korábban számitott ECS -ket nem számitja ujra."),
                 this),
      2, 0, 1, 3);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->hide();
  layout->addWidget(ProgressBar1, 3, 0, 1, 3);
  BtnOK = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnOK->setObjectName(QStringLiteral("BtnOK"));
  BtnMegsem = new QPushButton(QStringLiteral("&Bezárás"), this);
  BtnMegsem->setObjectName(QStringLiteral("BtnMegsem"));
  layout->addWidget(BtnOK, 4, 1);
  layout->addWidget(BtnMegsem, 4, 2);
  connect(BtnOK, &QPushButton::clicked, this, &TFormECSszamito::BtnOKClick);
  connect(BtnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  InstallDialogKeys(this, [this] {
    if (BtnOK->isEnabled()) BtnOKClick();
  });
  FormSetupOwnColors(this);
  SetHelpContexts(this, 3010);
}

void TFormECSszamito::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) RunGuarded([this] { FormActivate(); });
}

void TFormECSszamito::FormActivate() {
  BtnOK->setText(Globals().CrTabMode == 1 ? QStringLiteral("F9 Rendben")
                                          : QStringLiteral("&Rendben"));
  dateEdit1->SetValue(QDate(QDate::currentDate().year(), 12, 31));
  dateEdit1->setFocus();
}

void TFormECSszamito::BtnOKClick() {
  const QDate runDate = dateEdit1->Value();
  // As typed: a leading blank is part of a stored number; only blanks mean every asset.
  const QString typed = EditLsz->text();
  const QString leltszam = typed.trimmed().isEmpty() ? QString() : typed;
  const QString refused = DepreciationRun::CheckInput(runDate);
  if (!refused.isEmpty()) {
    Ui().MessageBox(refused, QString(), MsgType::Warning);
    return;
  }
  DepreciationRun run(m_database);
  bool deleteLater = false;
  try {
    if (run.HasLaterWriteOffs(runDate, leltszam))
      deleteLater =
          Ui().MessageBox(QStringLiteral("Van már ezzel a dátummal, vagy ennél a dátumnál késöbbi "
                                         "ÉCS!  Törölni akarja ezeket?"),
                          QString(), MsgType::Confirmation, mbYes | mbNo, mbNo) == mbYes;
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QString(), MsgType::Error);
    return;
  }

  QApplication::setOverrideCursor(Qt::WaitCursor);
  BtnOK->setEnabled(false);
  ProgressBar1->show();
  try {
    // The engine hands its messages over after its transaction has ended.
    run.Run(
        runDate, leltszam, deleteLater,
        [](const QString& m) { Ui().MessageBox(m, QString(), MsgType::Information); },
        [this](int position, int maximum) {
          ProgressBar1->setMaximum(maximum);
          ProgressBar1->setValue(position);
        });
  } catch (const Exception& e) {
    ProgressBar1->hide();
    QApplication::restoreOverrideCursor();
    // The run is one transaction: nothing of it was kept.
    Ui().MessageBox(
        QStringLiteral("Az ÉCS számítás nem sikerült, az adatbázis nem változott.\n") + e.Message(),
        QString(), MsgType::Error);
    BtnOK->setEnabled(true);
    return;
  }
  ProgressBar1->hide();
  QApplication::restoreOverrideCursor();

  TFormECSSZLis list(m_database, this);
  list.CBdatum->addItem(runDate.toString(QStringLiteral("yyyy.MM.dd")));
  list.CBdatum->setCurrentIndex(list.CBdatum->count() - 1);
  list.EditLSZ->setText(leltszam);
  list.BtnOkClick();
  accept();
}
