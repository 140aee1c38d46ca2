#include "form_licensz.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextEdit>
#include <QVBoxLayout>

#include "codepage.h"
#include "dialog_keys.h"
#include "file_lookup.h"
#include "form_setup.h"
#include "print_dialog.h"
#include "ui_services.h"

TFormLicensz::TFormLicensz(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormLicensz"));
  setWindowTitle(QStringLiteral("Szöveg fájl megjelenitő"));
  resize(640, 480);
  PanelGpl = new QWidget(this);
  auto* english = new QPushButton(QStringLiteral("GNU GPL Licensz (angol)"), PanelGpl);
  auto* hungarian = new QPushButton(QStringLiteral("GNU GPL Licensz (magyar)"), PanelGpl);
  auto* top = new QHBoxLayout(PanelGpl);
  top->addWidget(english);
  top->addWidget(hungarian);
  top->addStretch();
  PanelGpl->hide();

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  RichEdit1->setAcceptRichText(false);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  m_close = new QPushButton(QStringLiteral("&Bezárás"), this);
  m_print = new QPushButton(QStringLiteral("&Nyomtatás"), this);
  m_ok = new QPushButton(QStringLiteral("&Rendben"), this);
  m_ok->hide();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(m_print);
  buttons->addWidget(m_close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PanelGpl);
  layout->addWidget(RichEdit1, 1);
  layout->addLayout(buttons);

  connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_print, &QPushButton::clicked, this, &TFormLicensz::Print);
  connect(english, &QPushButton::clicked, this, [this] { ShowLicence(false); });
  connect(hungarian, &QPushButton::clicked, this, [this] { ShowLicence(true); });
  InstallDialogKeys(this, [this] { accept(); });
  SetHelpContexts(this, 1);
  FormSetupOwnColors(this);
}

bool TFormLicensz::LoadFromFile(const QString& fileName) {
  QFile file(FindExistingPath(fileName).isEmpty() ? fileName : FindExistingPath(fileName));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError()) text = ToUnicode(bytes, CodePage::Cp1250);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  RichEdit1->setPlainText(text);
  return true;
}

void TFormLicensz::ShowLicence(bool hungarian) {
  const QString file =
      hungarian ? QStringLiteral("GNUGPLLicensz.rtf") : QStringLiteral("GNUGPLLIcence.rtf");
  if (!LoadFromFile(QDir::current().filePath(file))) {
    Ui().ShowMessage2(file, QStringLiteral("Fájl nem található"));
    return;
  }
  setWindowTitle(hungarian ? QStringLiteral("GNU GPL Licensz") : QStringLiteral("GNU GPL Licence"));
}

void TFormLicensz::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!IsActivation(e)) return;
  RichEdit1->setFocus();
}

void TFormLicensz::Print() {
  QPrinter printer;
  printer.setDocName(windowTitle());
  if (!ExecPrintDialog(printer, this)) return;
  RichEdit1->document()->print(&printer);
}
