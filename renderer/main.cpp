// Gravlen: shows, prints and saves the reports the program writes, and sets up the printer.
//
//   Gravlen {UserDir}{name}.xml {UserDir}      print preview with Print and Save as PDF
//   Gravlen PRINTERSETUP {UserDir}             printer and page setup, kept for later prints
//   Gravlen --pdf FILE {name}.xml [{dir}]      the PDF only, no window
//
// Exit codes: 0 done (also when the setup is cancelled), 1 wrong command line, 2 the report
// cannot be read, 3 the output cannot be written.
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrinter>
#include <QTranslator>
#include <cstdio>

#include "exceptions.h"
#include "printer_settings.h"
#include "printer_setup_dialog.h"
#include "qt_ui_services.h"
#include "report_document.h"
#include "report_preview.h"

namespace {

int usage() {
  std::fputs(
      "Használat: Gravlen ADATFÁJL.xml [KÖNYVTÁR]\n"
      "           Gravlen PRINTERSETUP [KÖNYVTÁR]\n"
      "           Gravlen --pdf PDFFÁJL ADATFÁJL.xml [KÖNYVTÁR]\n",
      stderr);
  return 1;
}

void complain(const QString& text) { std::fprintf(stderr, "Gravlen: %s\n", qPrintable(text)); }

int printerSetup(const QString& dir) {
  TPrinterSettings settings;
  settings.Load(dir);
  TPrinterSetupDialog dialog(settings);
  if (dialog.exec() != QDialog::Accepted) return 0;
  try {
    dialog.Settings().Save(dir);
  } catch (const Exception& e) {
    complain(e.Message());
    return 3;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const bool pdf = args.value(0) == QLatin1String("--pdf");
  // The PDF needs no window, so it needs no display either.
  if (pdf && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Gravlen"));
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Hungarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qtTexts);

  // Messages of the preview (a PDF that cannot be saved) need a window to appear in.
  QtUiServices ui;
  SetUi(&ui);

  if (args.isEmpty()) return usage();
  if (args[0].compare(QLatin1String("PRINTERSETUP"), Qt::CaseInsensitive) == 0)
    return args.size() > 2 ? usage() : printerSetup(args.value(1));

  QString pdfFile;
  if (pdf) {
    if (args.size() < 3) return usage();
    pdfFile = args[1];
    args = args.mid(2);
  }
  if (args.isEmpty() || args.size() > 2) return usage();
  const QString dir = args.value(1);

  TReportDocument document;
  try {
    document.Load(args[0], dir);
  } catch (const Exception& e) {
    complain(e.Message());
    return 2;
  }
  TPrinterSettings settings;
  settings.Load(dir.isEmpty() ? QFileInfo(args[0]).absolutePath() : dir);

  if (pdf) {
    try {
      document.WritePdf(pdfFile, settings.Layout);
    } catch (const Exception& e) {
      complain(e.Message());
      return 3;
    }
    return 0;
  }

  QPrinter printer(QPrinter::HighResolution);
  settings.ApplyTo(printer);
  TReportPreview preview(document, &printer);
  preview.exec();
  return 0;
}
