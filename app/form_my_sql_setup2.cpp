#include "form_my_sql_setup2.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_globals.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "form_setup.h"
#include "start_settings.h"
#include "ui_services.h"
#include "uni_sql_database.h"

TFormMySQLsetup2::TFormMySQLsetup2(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent)
    : QDialog(parent), m_db0(db0), m_db1(db1) {
  setWindowTitle(QStringLiteral("SQL beállítás"));
  auto* group = new QGroupBox(QStringLiteral("Beállítások"), this);
  auto* form = new QFormLayout(group);
  EditUser = new QLineEdit(group);
  EditPsw = new QLineEdit(group);
  EditPsw->setEchoMode(QLineEdit::Password);
  EditHost = new QLineEdit(m_db0.Host(), group);
  EditPort = new QLineEdit(m_db0.Port(), group);
  EditDBDir = new QLineEdit(group);
  EditDBDir->setVisible(false);  // only for engines other than MySQL, which are never offered
  Label1 = new QLabel(QStringLiteral("Adja meg a jelenleg beállított nevet és jeszót!"), group);
  form->addRow(QStringLiteral("Felhasználói név:"), EditUser);
  form->addRow(QStringLiteral("Jelszó:"), EditPsw);
  form->addRow(QStringLiteral("SQL szerver  gép:"), EditHost);
  form->addRow(QStringLiteral("Port:"), EditPort);
  form->addRow(Label1);
  BtnOK = new QPushButton(this);
  BtnCANCEL = new QPushButton(QStringLiteral("&Mégsem"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnCANCEL);
  auto* top = new QVBoxLayout(this);
  top->addWidget(group);
  top->addLayout(buttons);
  BtnOK->setAutoDefault(false);
  BtnCANCEL->setAutoDefault(false);
  connect(BtnOK, &QPushButton::clicked, this, &TFormMySQLsetup2::BtnOKClick);
  connect(BtnCANCEL, &QPushButton::clicked, this, &QDialog::reject);
  SetEditable(false);
  FormSetupWindowColors(this);
  SetHelpContexts(this, 5400);
  InstallDialogKeys(this, [this] { BtnOKClick(); });
}

void TFormMySQLsetup2::SetEditable(bool editable) {
  EditHost->setEnabled(editable);
  EditPort->setEnabled(editable);
  EditDBDir->setEnabled(editable);
}

void TFormMySQLsetup2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_activated) return;  // a later activation (after a message box) presses nothing
  m_activated = true;
  BtnOK->setText(Globals().CrTabMode == 1 ? QStringLiteral("F9 Rendben")
                                          : QStringLiteral("&Rendben"));
  EditUser->setFocus();
  if (!EditUser->text().isEmpty()) BtnOKClick();
}

void TFormMySQLsetup2::BtnOKClick() {
  if (!EditHost->isEnabled()) {
    if (EditUser->text() == m_db0.User() && EditPsw->text() == m_db0.password()) {
      Label1->setText(QStringLiteral("Módosithatja az adatokat!"));
      SetEditable(true);
    }
    EditUser->setFocus();
    return;
  }
  if (!IsValidPort(EditPort->text())) {
    Ui().MessageBox(QStringLiteral("A port 1 és 65535 közötti szám lehet!"),
                    QStringLiteral("HIBA!"), MsgType::Error, mbOK, mbOK);
    EditPort->setFocus();
    return;
  }
  const ConnectionSettings s{EditHost->text().trimmed(), EditPort->text().trimmed(),
                             EditUser->text(), EditPsw->text()};
  try {
    SaveConnectionSettings(Globals().ProgramDir + QLatin1String(kIniFileName), s);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error, mbOK, mbOK);
    return;
  }
  ApplyConnectionSettings(s, m_db0);
  ApplyConnectionSettings(s, m_db1);
  accept();
}
