#include "print_dialog.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

bool ExecPrintDialog(QPrinter& printer, QWidget* parent) {
  if (QPrinterInfo::availablePrinterNames().isEmpty() && printer.outputFileName().isEmpty()) {
    const QString name =
        printer.docName().isEmpty() ? QStringLiteral("nyomtatas") : printer.docName();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir::home().filePath(name + QStringLiteral(".pdf")));
  }
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}
