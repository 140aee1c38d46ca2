#include "form_xml_input.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app_globals.h"
#include "dialog_keys.h"
#include "exceptions.h"
#include "form_setup.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "xml_asset_import.h"

TFormXMLinput::TFormXMLinput(TUniSQLDatabase& db1, QWidget* parent) : QDialog(parent), m_db1(db1) {
  setObjectName(QStringLiteral("FormXMLinput"));
  setWindowTitle(QStringLiteral("XML input"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Beolvasandó XML fájl:"), this), 0, 0, 1, 3);
  EditXMLnev = new QLineEdit(this);
  EditXMLnev->setObjectName(QStringLiteral("EditXMLnev"));
  EditXMLnev->setMinimumWidth(360);
  layout->addWidget(EditXMLnev, 1, 0, 1, 2);
  BtnTalloz = new QPushButton(QStringLiteral("Tallózás"), this);
  layout->addWidget(BtnTalloz, 1, 2);
  BtnOK = new QPushButton(QStringLiteral("&Rendben"), this);
  BtnCANCEL = new QPushButton(QStringLiteral("&Bezárás"), this);
  layout->addWidget(BtnOK, 2, 1);
  layout->addWidget(BtnCANCEL, 2, 2);
  connect(BtnTalloz, &QPushButton::clicked, this, &TFormXMLinput::BtnTallozClick);
  connect(BtnOK, &QPushButton::clicked, this, &TFormXMLinput::BtnOKClick);
  connect(BtnCANCEL, &QPushButton::clicked, this, &QDialog::reject);
  InstallDialogKeys(this, [this] { BtnOKClick(); });
  FormSetupWindowColors(this);
  SetHelpContexts(this, 1);
}

void TFormXMLinput::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) RunGuarded([this] { FormActivate(); });
}

void TFormXMLinput::FormActivate() {
  BtnOK->setText(Globals().CrTabMode == 1 ? QStringLiteral("F9 Rendben")
                                          : QStringLiteral("&Rendben"));
}

void TFormXMLinput::BtnTallozClick() {
  const QString file = Ui().OpenFileName(QString(), QString(), QString(), QString());
  if (!file.isEmpty()) EditXMLnev->setText(file);
}

void TFormXMLinput::BtnOKClick() {
  const QString fileName = EditXMLnev->text();
  if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
    Ui().MessageBox(QStringLiteral("XML fájl nem létezik"), QString(), MsgType::Information);
    accept();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    if (!m_db1.Connected()) m_db1.Connect();
    const int count = ImportXmlAssets(m_db1, fileName);
    QApplication::restoreOverrideCursor();
    Ui().MessageBox(QString::number(count) + QStringLiteral("db eszköz adata lett beolvasva"),
                    QString(), MsgType::Information);
  } catch (const EXmlRefused& e) {
    QApplication::restoreOverrideCursor();
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
  } catch (const Exception& e) {
    // The file is written in one transaction: nothing of it is stored.
    QApplication::restoreOverrideCursor();
    Ui().MessageBox(e.Message() + QStringLiteral("\nAz adatok nem változtak."),
                    QStringLiteral("HIBA!"), MsgType::Error);
  }
  accept();
}
