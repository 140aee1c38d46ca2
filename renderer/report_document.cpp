#include "report_document.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>

#include "exceptions.h"

namespace {

// The width of the design page that the listing forms lay their bands out on.
constexpr int kDesignPageWidth = 640;
// Fonts are sized in points on forms designed at 96 pixels per inch.
constexpr double kDesignPixelsPerPoint = 96.0 / 72.0;
// A text that does not fit its box is set in smaller type, down to this size; what still does
// not fit is clipped at the box's edge.
constexpr double kMinFontPoints = 5;
// Design pixels kept free inside each side of a box, so texts of boxes side by side never touch.
constexpr double kBoxPadding = 1;

// font, or the same in smaller type down to the smallest readable size, as far as text needs
// to fit box; scale is device pixels per design pixel.
QFont fittedFont(const QFont& font, const QString& text, const QSizeF& box, double scale) {
  QFontMetricsF metrics(font);
  const double width = metrics.horizontalAdvance(text);
  const double height = metrics.height();
  if (width <= box.width() && height <= box.height()) return font;
  // Type set smaller than the smallest readable size by the layout itself stays as it is.
  const int smallest = std::min(
      font.pixelSize(), std::max(1, qRound(kMinFontPoints * kDesignPixelsPerPoint * scale)));
  QFont fitted = font;
  int size = std::max(smallest,
                      int(font.pixelSize() * std::min(box.width() / width, box.height() / height)));
  for (;;) {
    fitted.setPixelSize(size);
    const QFontMetricsF m(fitted);
    if (size <= smallest ||
        (m.horizontalAdvance(text) <= box.width() && m.height() <= box.height()))
      return fitted;
    size = std::max(smallest, size - std::max(1, size / 64));
  }
}

}  // namespace

QString MapFontFamily(const QString& family) {
  static QHash<QString, QString> cache;
  auto it = cache.constFind(family);
  if (it != cache.constEnd()) return *it;
  QString mapped;
  if (!family.isEmpty() && QFontDatabase::hasFamily(family)) {
    mapped = family;
  } else {
    const QString f = family.toLower();
    const bool mono = f.contains(QLatin1String("courier")) || f.contains(QLatin1String("mono")) ||
                      f.contains(QLatin1String("console")) || f.contains(QLatin1String("fixed")) ||
                      f.contains(QLatin1String("consolas"));
    const bool serif =
        !f.contains(QLatin1String("sans")) &&
        (f.contains(QLatin1String("times")) || f.contains(QLatin1String("roman")) ||
         f.contains(QLatin1String("serif")) || f.contains(QLatin1String("georgia")) ||
         f.contains(QLatin1String("garamond")) || f.contains(QLatin1String("book")));
    mapped = mono    ? QStringLiteral("DejaVu Sans Mono")
             : serif ? QStringLiteral("DejaVu Serif")
                     : QStringLiteral("DejaVu Sans");
  }
  cache.insert(family, mapped);
  return mapped;
}

void TReportDocument::Load(const QString& xmlPath, const QString& dir) {
  const QFileInfo xml(xmlPath);
  const QDir where(dir.isEmpty() ? xml.absolutePath() : dir);
  const QString base = xml.completeBaseName();
  m_layout.Load(where.filePath(base + QStringLiteral(".frm")),
                where.filePath(base + QStringLiteral(".def")));
  m_data.Load(xmlPath);
  m_pages.clear();
  m_fonts.clear();
}

int TReportDocument::DesignWidth() const {
  return std::max(kDesignPageWidth, m_layout.DesignWidth());
}

void TReportDocument::Paginate(double pageHeight) {
  m_pages.clear();
  m_pages.append(TReportPage());
  double y = 0;
  bool content = false;  // something besides repeated headers stands on the page
  // The header element of every open group, outermost first; null until it is printed.
  QList<std::pair<const TDataElement*, const TLayoutBand*>> open;

  auto place = [&](const TDataElement& e, const TLayoutBand* band, double height) {
    m_pages.last().Bands.append({band, &e, y, height});
    y += height;
  };

  for (const TDataElement& e : m_data.Events) {
    switch (e.Type) {
      case TDataElement::Kind::GroupStart:
        open.append({nullptr, nullptr});
        continue;
      case TDataElement::Kind::GroupEnd:
        if (!open.isEmpty()) open.removeLast();
        continue;
      default:
        break;
    }
    const TLayoutBand* band = m_layout.Band(e.Name);
    const double height = band ? band->Height : e.Height;
    const double need = band ? std::max(height, double(band->MinSpace)) : height;
    if (content && y + need > pageHeight) {
      m_pages.append(TReportPage());
      y = 0;
      content = false;
      for (const auto& [header, hb] : open) {
        if (header && hb && hb->RepeatNewPage) place(*header, hb, hb->Height);
      }
    }
    place(e, band, height);
    content = true;
    if (e.Type == TDataElement::Kind::Header && !open.isEmpty()) open.last() = {&e, band};
  }
}

QString TReportDocument::controlText(const TLayoutControl& c, const TDataElement* data,
                                     int pageNo) const {
  const QString& t = c.Text;
  if (t == QLatin1String("[PageNo]")) return QString::number(pageNo);
  if (t.size() > 2 && t.startsWith(u'[') && t.endsWith(u']')) {
    const QString name = t.mid(1, t.size() - 2);
    if (m_layout.IsField(name)) {
      QString value;
      if (data) data->Value(name, value);
      return value;
    }
  }
  return t;
}

const QFont& TReportDocument::fontFor(const TLayoutControl& c, double scale) {
  if (scale != m_fontScale) {
    m_fonts.clear();
    m_fontScale = scale;
  }
  auto it = m_fonts.find(&c);
  if (it != m_fonts.end()) return *it;
  QFont font(MapFontFamily(c.FontFamily));
  font.setPixelSize(std::max(1, qRound(c.FontSize * kDesignPixelsPerPoint * scale)));
  font.setBold(c.Bold);
  font.setItalic(c.Italic);
  font.setUnderline(c.Underline);
  font.setKerning(false);
  return *m_fonts.insert(&c, font);
}

void TReportDocument::paintPage(QPainter& painter, int index, double scale) {
  const TReportPage& page = m_pages[index];
  for (const TPlacedBand& placed : page.Bands) {
    if (!placed.Band) continue;
    const TLayoutBand& band = *placed.Band;
    if (band.BorderWidth > 0) {
      painter.setPen(QPen(Qt::black, band.BorderWidth * scale));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(0, placed.Y * scale, band.Width * scale, band.Height * scale));
    }
    for (const TLayoutControl& c : band.Controls) {
      const QRectF box(c.Left * scale, (placed.Y + c.Top) * scale, c.Width * scale,
                       c.Height * scale);
      if (c.BorderWidth > 0) {
        painter.setPen(QPen(Qt::black, c.BorderWidth * scale));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
      }
      const QString text = controlText(c, placed.Data, index + 1);
      if (text.isEmpty()) continue;
      int flags = Qt::AlignTop | Qt::TextSingleLine;
      flags |= c.Alignment == TLayoutControl::Align::Right    ? Qt::AlignRight
               : c.Alignment == TLayoutControl::Align::Center ? Qt::AlignHCenter
                                                              : Qt::AlignLeft;
      painter.setPen(Qt::black);
      if (box.width() <= 0 || box.height() <= 0) {
        // No box to fit into: the text stands at the control's place.
        painter.setFont(fontFor(c, scale));
        painter.drawText(box, flags | Qt::TextDontClip, text);
        continue;
      }
      const double padding = box.width() > 4 * kBoxPadding * scale ? kBoxPadding * scale : 0;
      const QRectF inner = box.adjusted(padding, 0, -padding, 0);
      const QFont font = fittedFont(fontFor(c, scale), text, inner.size(), scale);
      painter.setFont(font);
      const QFontMetricsF metrics(font);
      if (metrics.horizontalAdvance(text) <= inner.width() && metrics.height() <= inner.height()) {
        painter.drawText(inner, flags | Qt::TextDontClip, text);
      } else {
        painter.save();
        painter.setClipRect(inner);
        painter.drawText(inner, flags | Qt::TextDontClip, text);
        painter.restore();
      }
    }
  }
}

void TReportDocument::Render(QPagedPaintDevice* device) {
  QPainter painter;
  if (!painter.begin(device)) throw Exception(QStringLiteral("A nyomtatás nem indítható."));
  const double scale = double(device->width()) / DesignWidth();
  Paginate(device->height() / scale);
  for (int i = 0; i < m_pages.size(); ++i) {
    if (i > 0) device->newPage();
    paintPage(painter, i, scale);
  }
  if (!painter.end()) throw Exception(QStringLiteral("A nyomtatás nem fejeződött be."));
}

void TReportDocument::WritePdf(const QString& fileName, const QPageLayout& layout) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    throw Exception(QStringLiteral("A fájl nem írható: ") + fileName);
  {
    QPdfWriter writer(&file);
    writer.setPageLayout(layout);
    writer.setTitle(m_data.Title);
    writer.setCreator(QStringLiteral("Gravlen"));
    Render(&writer);
  }
  if (!file.commit()) throw Exception(QStringLiteral("A fájl nem írható: ") + fileName);
}
