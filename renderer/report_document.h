#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QPageLayout>
#include <QString>

#include "report_data.h"
#include "report_layout.h"

class QPagedPaintDevice;
class QPainter;

// A band placed on a page: its layout, the element of the data file that fills it, and its
// top in design pixels from the top of the printable area.
struct TPlacedBand {
  const TLayoutBand* Band = nullptr;
  const TDataElement* Data = nullptr;
  double Y = 0;
  double Height = 0;
};

struct TReportPage {
  QList<TPlacedBand> Bands;
};

// The three files of a report joined and cut into pages. Design pixels are those of the
// listing form; a page is as many of them high as fit when the widest band fills the width of
// the printable area.
class TReportDocument {
 public:
  // The data file and, in dir (its own directory when empty), the ".def" and ".frm" of the
  // same name. Throws Exception.
  void Load(const QString& xmlPath, const QString& dir);

  // Cuts the report into pages of pageHeight design pixels.
  void Paginate(double pageHeight);
  const QList<TReportPage>& Pages() const { return m_pages; }

  // Paginates for the device and paints every page on it. Throws Exception when the device
  // cannot be painted on.
  void Render(QPagedPaintDevice* device);
  // Writes the report as PDF with the given page layout; an existing file is replaced only
  // when the new one is complete. Throws Exception.
  void WritePdf(const QString& fileName, const QPageLayout& layout);

  // Design pixels that span the width of the printable area.
  int DesignWidth() const;
  const TReportData& Data() const { return m_data; }
  const TReportLayout& Layout() const { return m_layout; }

 private:
  void paintPage(QPainter& painter, int index, double scale);
  QString controlText(const TLayoutControl& c, const TDataElement* data, int pageNo) const;
  const QFont& fontFor(const TLayoutControl& c, double scale);

  TReportData m_data;
  TReportLayout m_layout;
  QList<TReportPage> m_pages;
  QHash<const TLayoutControl*, QFont> m_fonts;
  double m_fontScale = 0;
};

// The installed family that stands in for a layout's font: the family itself when installed,
// else the DejaVu face of its kind (sans, serif or monospaced).
QString MapFontFamily(const QString& family);
