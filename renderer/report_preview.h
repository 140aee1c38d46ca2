#pragma once

#include <QPrintPreviewDialog>

class QPrinter;
class TReportDocument;

// The print preview of a report, with Print and Save as PDF; the renderer ends when it closes.
// The printer (set up by the caller, who keeps it) is where Print goes; its page layout is
// also the PDF's.
class TReportPreview : public QPrintPreviewDialog {
  Q_OBJECT
 public:
  TReportPreview(TReportDocument& document, QPrinter* printer, QWidget* parent = nullptr);

  // Asks for a file name through the UI services and writes the PDF there; a failure is shown.
  void SaveAsPdf();

  QAction* ActionPdf = nullptr;

 private:
  void paint(QPrinter* printer);

  TReportDocument& m_document;
  QPrinter* m_printer;
};
