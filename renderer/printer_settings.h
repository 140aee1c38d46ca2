#pragma once

#include <QPageLayout>
#include <QString>

class QPrinter;

// The printer and page the user chose in the printer setup, kept in "Gravlen.ini" in the user
// directory, section [NYOMTATO], for every later print and PDF.
struct TPrinterSettings {
  QString PrinterName;  // empty: the system's default printer
  QPageLayout Layout = DefaultLayout();

  static QPageLayout DefaultLayout();  // A4 portrait, 10 mm margins
  static QString FileName(const QString& dir);

  void Load(const QString& dir);
  void Save(const QString& dir) const;
  void ApplyTo(QPrinter& printer) const;
  void TakeFrom(const QPrinter& printer);
};
