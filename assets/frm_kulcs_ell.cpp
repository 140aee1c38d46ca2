#include "frm_kulcs_ell.h"

#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "app_globals.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "form_setup.h"
#include "listing_parts.h"
#include "rate_key_check.h"
#include "ui_services.h"

TfrmKulcsEll::TfrmKulcsEll(TUniSQLDatabase& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
  setObjectName(QStringLiteral("frmKulcsEll"));
  setWindowTitle(QStringLiteral("Amortizációs kulcsok ellenőrzése"));
  auto* layout = new QGridLayout(this);
  lblCegnev = new QLabel(this);
  lblCegnev->setObjectName(QStringLiteral("lblCegnev"));
  layout->addWidget(lblCegnev, 0, 0, 1, 3);
  auto* title = new QLabel(QStringLiteral("AMORTIZÁCIÓS KULCSOK ELLENŐRZÉSE"), this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title, 1, 0, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("ÉV:"), this), 2, 0);
  speEv = new QSpinBox(this);
  speEv->setObjectName(QStringLiteral("speEv"));
  speEv->setRange(1900, 2900);
  layout->addWidget(speEv, 2, 1);
  bbnOk = new QPushButton(QStringLiteral("&Rendben"), this);
  bbnOk->setObjectName(QStringLiteral("bbnOk"));
  bbnMegsem = new QPushButton(QStringLiteral("&Mégsem"), this);
  bbnMegsem->setObjectName(QStringLiteral("bbnMegsem"));
  layout->addWidget(bbnOk, 3, 1);
  layout->addWidget(bbnMegsem, 3, 2);
  connect(bbnOk, &QPushButton::clicked, this, &TfrmKulcsEll::bbnOkClick);
  connect(bbnMegsem, &QPushButton::clicked, this, &QDialog::reject);
  InstallDialogKeys(this, [this] { bbnOkClick(); });
  FormCreate();
}

void TfrmKulcsEll::FormCreate() {
  speEv->setValue(QDate::currentDate().year());
  try {
    lblCegnev->setText(listing::CompanyName(m_database, QStringLiteral("SELECT CEGNEV FROM CEG")));
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
  }
  FormSetupOwnColors(this);
  SetHelpContexts(this, 5075);
}

void TfrmKulcsEll::bbnOkClick() {
  RunRateKeyCheck(m_database, speEv->text().trimmed().toInt(), Globals().UserDir);
  accept();
}
