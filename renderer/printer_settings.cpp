#include "printer_settings.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

#include "memory_ini_file.h"

namespace {

const QString kSection = QStringLiteral("NYOMTATO");

double readMm(TMemoryIniFile& ini, const QString& key, double def) {
  bool ok = false;
  const double v = ini.ReadString(kSection, key, QString()).toDouble(&ok);
  return ok && v >= 0 ? v : def;
}

}  // namespace

QPageLayout TPrinterSettings::DefaultLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

QString TPrinterSettings::FileName(const QString& dir) {
  return QDir(dir.isEmpty() ? QStringLiteral(".") : dir).filePath(QStringLiteral("Gravlen.ini"));
}

void TPrinterSettings::Load(const QString& dir) {
  TMemoryIniFile ini(FileName(dir));
  PrinterName = ini.ReadString(kSection, QStringLiteral("NEV"), QString());
  const QString paper = ini.ReadString(kSection, QStringLiteral("PAPIR"), QStringLiteral("A4"));
  QPageSize size;
  for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
    if (QPageSize::key(QPageSize::PageSizeId(id)) == paper) {
      size = QPageSize(QPageSize::PageSizeId(id));
      break;
    }
  }
  if (!size.isValid()) {
    const double w = readMm(ini, QStringLiteral("PAPIRSZELES"), 0);
    const double h = readMm(ini, QStringLiteral("PAPIRMAGAS"), 0);
    size =
        w > 0 && h > 0 ? QPageSize(QSizeF(w, h), QPageSize::Millimeter) : QPageSize(QPageSize::A4);
  }
  const bool landscape =
      ini.ReadString(kSection, QStringLiteral("TAJOLAS"), QString()) == QLatin1String("FEKVO");
  const QMarginsF margins(
      readMm(ini, QStringLiteral("BALMARGO"), 10), readMm(ini, QStringLiteral("FELSOMARGO"), 10),
      readMm(ini, QStringLiteral("JOBBMARGO"), 10), readMm(ini, QStringLiteral("ALSOMARGO"), 10));
  Layout = QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
  if (!Layout.isValid()) Layout = DefaultLayout();
}

void TPrinterSettings::Save(const QString& dir) const {
  TMemoryIniFile ini(FileName(dir));
  const QPageSize size = Layout.pageSize();
  const QSizeF mm = size.size(QPageSize::Millimeter);
  const QMarginsF m = Layout.margins(QPageLayout::Millimeter);
  auto mmText = [](double v) { return QString::number(v, 'f', 1); };
  ini.WriteString(kSection, QStringLiteral("NEV"), PrinterName);
  ini.WriteString(kSection, QStringLiteral("PAPIR"),
                  size.id() == QPageSize::Custom ? QString() : size.key());
  ini.WriteString(kSection, QStringLiteral("PAPIRSZELES"), mmText(mm.width()));
  ini.WriteString(kSection, QStringLiteral("PAPIRMAGAS"), mmText(mm.height()));
  ini.WriteString(kSection, QStringLiteral("TAJOLAS"),
                  Layout.orientation() == QPageLayout::Landscape ? QStringLiteral("FEKVO")
                                                                 : QStringLiteral("ALLO"));
  ini.WriteString(kSection, QStringLiteral("BALMARGO"), mmText(m.left()));
  ini.WriteString(kSection, QStringLiteral("FELSOMARGO"), mmText(m.top()));
  ini.WriteString(kSection, QStringLiteral("JOBBMARGO"), mmText(m.right()));
  ini.WriteString(kSection, QStringLiteral("ALSOMARGO"), mmText(m.bottom()));
  ini.UpdateFile();
}

void TPrinterSettings::ApplyTo(QPrinter& printer) const {
  // A printer that has gone away since the setup leaves the system's default in place.
  if (!PrinterName.isEmpty() && QPrinterInfo::availablePrinterNames().contains(PrinterName))
    printer.setPrinterName(PrinterName);
  printer.setPageLayout(Layout);
}

void TPrinterSettings::TakeFrom(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::NativeFormat) PrinterName = printer.printerName();
  Layout = printer.pageLayout();
}
