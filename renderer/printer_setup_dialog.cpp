#include "printer_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

QString DescribePageLayout(const QPageLayout& layout) {
  const QMarginsF m = layout.margins(QPageLayout::Millimeter);
  auto mm = [](double v) { return QString::number(v, 'f', 0); };
  return QStringLiteral("%1, %2, margók: bal %3, felső %4, jobb %5, alsó %6 mm")
      .arg(layout.pageSize().name(),
           layout.orientation() == QPageLayout::Landscape ? QStringLiteral("fekvő")
                                                          : QStringLiteral("álló"),
           mm(m.left()), mm(m.top()), mm(m.right()), mm(m.bottom()));
}

TPrinterSetupDialog::TPrinterSetupDialog(const TPrinterSettings& settings, QWidget* parent)
    : QDialog(parent), m_layout(settings.Layout) {
  setWindowTitle(QStringLiteral("Nyomtató beállítása"));
  CBNyomtato = new QComboBox(this);
  CBNyomtato->addItem(QStringLiteral("Alapértelmezett nyomtató"), QString());
  for (const QString& name : QPrinterInfo::availablePrinterNames()) CBNyomtato->addItem(name, name);
  const int current = CBNyomtato->findData(settings.PrinterName);
  CBNyomtato->setCurrentIndex(current < 0 ? 0 : current);

  LabelOldal = new QLabel(this);
  auto* btnOldal = new QPushButton(QStringLiteral("&Oldalbeállítás..."), this);
  connect(btnOldal, &QPushButton::clicked, this, &TPrinterSetupDialog::pageSetup);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Nyomtató:"), CBNyomtato);
  form->addRow(QStringLiteral("Oldal:"), LabelOldal);
  form->addRow(QString(), btnOldal);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("&Rendben"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("&Mégsem"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  showPage();
}

TPrinterSettings TPrinterSetupDialog::Settings() const {
  TPrinterSettings s;
  s.PrinterName = CBNyomtato->currentData().toString();
  s.Layout = m_layout;
  return s;
}

void TPrinterSetupDialog::SetPageLayout(const QPageLayout& layout) {
  m_layout = layout;
  showPage();
}

void TPrinterSetupDialog::pageSetup() {
  QPrinter printer(QPrinter::HighResolution);
  Settings().ApplyTo(printer);
  QPageSetupDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) SetPageLayout(printer.pageLayout());
}

void TPrinterSetupDialog::showPage() { LabelOldal->setText(DescribePageLayout(m_layout)); }
