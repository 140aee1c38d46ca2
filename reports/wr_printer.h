#pragma once

#include <QString>
#include <QStringList>

#include "w_font.h"

// The page sink a report writes through. The report component uses Tag, CurrentY, PageNo and
// FileName; the page operations serve a page-by-page printer.
class TWRPrinter {
 public:
  TWRPrinter() = default;
  virtual ~TWRPrinter() = default;
  TWRPrinter(const TWRPrinter&) = delete;
  TWRPrinter& operator=(const TWRPrinter&) = delete;

  double CurrentY = 0;
  double ScaleX = 1;
  double ScaleY = 1;
  double PageFontScale = 1;
  int PageNo = 0;
  // The output directory with its trailing separator; prefix of every file written. Kept
  // whole: a long user directory is normal.
  QString FileName;
  double PageHeight = 60;
  double PageWidth = 80;

  virtual int BeginDoc() { return 0; }
  virtual void TextOut(const TWFont& font, const QString& text, double x, double y) {}
  virtual void Tag(const QString& text) {}
  virtual void Line(double a, double b, double c, double d, double e) {}
  virtual void Border(double a, double b, double c, double d, double e) {}
  virtual void NewPage() {}
  virtual void EndDoc() {}
};

// The page sink every listing uses: it records page-description lines and stores each page
// as FileName + "_Page" + n + ".pf".
class TWRPrinterPF : public TWRPrinter {
 public:
  TWRPrinterPF();

  QStringList Lines;

  // Takes the margins from FileName + "wrprint.ini" [WRPRINT] FELSOMARGO, ALSOMARGO (% of
  // the page height).
  int BeginDoc() override;
  void TextOut(const TWFont& font, const QString& text, double x, double y) override;
  void Tag(const QString& text) override;
  void Line(double a, double b, double c, double d, double e) override;
  void Border(double a, double b, double c, double d, double e) override;
  void NewPage() override;
  void EndDoc() override;

 private:
  void storePage();
};
