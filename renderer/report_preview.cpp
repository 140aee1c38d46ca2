#include "report_preview.h"

#include <QAction>
#include <QDir>
#include <QPrinter>
#include <QToolBar>

#include "exceptions.h"
#include "report_document.h"
#include "ui_services.h"

TReportPreview::TReportPreview(TReportDocument& document, QPrinter* printer, QWidget* parent)
    : QPrintPreviewDialog(printer, parent), m_document(document), m_printer(printer) {
  m_printer->setDocName(document.Data().Title);
  const QString title = document.Data().Title;
  setWindowTitle(title.isEmpty() ? QStringLiteral("Nyomtatási kép")
                                 : QStringLiteral("Nyomtatási kép: ") + title);
  connect(this, &QPrintPreviewDialog::paintRequested, this, &TReportPreview::paint);

  ActionPdf = new QAction(QStringLiteral("Mentés PDF-ként..."), this);
  ActionPdf->setToolTip(QStringLiteral("Mentés PDF-ként"));
  connect(ActionPdf, &QAction::triggered, this, &TReportPreview::SaveAsPdf);
  if (auto* bar = findChild<QToolBar*>()) {
    bar->addSeparator();
    bar->addAction(ActionPdf);
  }
  resize(900, 1000);
}

void TReportPreview::paint(QPrinter* printer) {
  try {
    m_document.Render(printer);
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
  }
}

void TReportPreview::SaveAsPdf() {
  const QString title = m_document.Data().Title;
  const QString name = Ui().SaveFileName(
      QStringLiteral("Mentés PDF-ként"), QDir::homePath(),
      (title.isEmpty() ? QStringLiteral("jelentes") : title) + QStringLiteral(".pdf"),
      QStringLiteral("PDF fájl (*.pdf)"), QStringLiteral("pdf"));
  if (name.isEmpty()) return;
  try {
    m_document.WritePdf(name, m_printer->pageLayout());
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
  }
}
