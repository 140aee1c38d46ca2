#include "wr_printer.h"

#include "memory_ini_file.h"
#include "text_file.h"

namespace {

QString number(double v) { return QString::asprintf("%6.1f", v); }

QString numbers(const char* kind, double a, double b, double c, double d, double e) {
  return QLatin1String(kind) + number(a) + number(b) + number(c) + number(d) + number(e);
}

}  // namespace

TWRPrinterPF::TWRPrinterPF() {
  PageHeight = 1200;
  PageWidth = 800;
}

int TWRPrinterPF::BeginDoc() {
  TMemoryIniFile ini(FileName + QStringLiteral("wrprint.ini"));
  const int top = ini.ReadInteger(QStringLiteral("WRPRINT"), QStringLiteral("FELSOMARGO"), 0);
  const int bottom = ini.ReadInteger(QStringLiteral("WRPRINT"), QStringLiteral("ALSOMARGO"), 0);
  PageHeight = (100 - top - bottom) * 1200 / 100;
  Lines.clear();
  return 0;
}

void TWRPrinterPF::TextOut(const TWFont& font, const QString& text, double x, double y) {
  Lines << QStringLiteral("TXT ") + number(x) + number(y) +
               (font.Name + QString(16, u' ')).left(16) + QString::asprintf("%3d", font.Size) +
               QString::asprintf("%4d", font.StyleFlags()) +
               QString::asprintf("%4d", int(font.Pitch)) + text;
}

void TWRPrinterPF::Tag(const QString& text) { Lines << QStringLiteral("TAG ") + text; }

void TWRPrinterPF::Line(double a, double b, double c, double d, double e) {
  Lines << numbers("LIN ", a, b, c, d, e);
}

void TWRPrinterPF::Border(double a, double b, double c, double d, double e) {
  Lines << numbers("BOR ", a, b, c, d, e);
}

void TWRPrinterPF::storePage() {
  if (PageNo >= 0)
    SaveStringsToFile(Lines, FileName + QStringLiteral("_Page%1.pf").arg(PageNo - 1));
  Lines.clear();
}

void TWRPrinterPF::NewPage() { storePage(); }
void TWRPrinterPF::EndDoc() { storePage(); }
