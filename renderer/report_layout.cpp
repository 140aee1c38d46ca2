#include "report_layout.h"

#include <QFileInfo>
#include <algorithm>

#include "exceptions.h"
#include "text_file.h"

namespace {

// The value of name="..." in a line the report component wrote; the values it puts in
// attributes are numbers, names and font families, which hold no quote.
bool attribute(const QString& line, QLatin1StringView name, QString& value) {
  const QString key = name + QLatin1String("=\"");
  qsizetype at = line.indexOf(key);
  if (at < 0) return false;
  at += key.size();
  const qsizetype end = line.indexOf(u'"', at);
  if (end < 0) return false;
  value = line.mid(at, end - at);
  return true;
}

int intAttribute(const QString& line, QLatin1StringView name, bool& ok) {
  QString text;
  if (!attribute(line, name, text)) {
    ok = false;
    return 0;
  }
  bool good = false;
  const int v = text.toInt(&good);
  if (!good) ok = false;
  return v;
}

}  // namespace

QStringList ReadReportFile(const QString& path) {
  // The driver would create a missing file when opening it for reading.
  if (!QFileInfo(path).isFile()) throw Exception(path + QStringLiteral(" Fájl nem található"));
  TextFile f(path, CodePage::Cp1250);
  f.Reset();
  QStringList lines;
  while (!f.Eof()) lines << f.ReadLine();
  f.Close();
  return lines;
}

void TReportLayout::Load(const QString& frmPath, const QString& defPath) {
  m_file = defPath;
  ParseFieldList(ReadReportFile(defPath));
  m_file = frmPath;
  ParseLayout(ReadReportFile(frmPath));
}

void TReportLayout::ParseFieldList(const QStringList& lines) {
  m_fields.clear();
  // A list cut short (a failed write, a full disk) would print field names for values.
  qsizetype end = lines.size();
  while (end > 0 && lines[end - 1].isEmpty()) --end;
  if (end == 0 || lines[end - 1] != QLatin1String("</MEZOK>"))
    throw Exception(QStringLiteral("Hibás mezőlista: %1, %2. sor").arg(m_file).arg(end + 1));
  // Every line between the opening and closing element holds entries "[name],".
  for (const QString& line : lines) {
    if (line.startsWith(u'<')) continue;
    qsizetype at = 0;
    while ((at = line.indexOf(u'[', at)) >= 0) {
      const qsizetype end = line.indexOf(QLatin1String("],"), at);
      if (end < 0) break;
      m_fields.insert(line.mid(at + 1, end - at - 1));
      at = end + 2;
    }
  }
}

void TReportLayout::ParseLayout(const QStringList& lines) {
  m_bands.clear();
  m_byName.clear();
  enum { Outside, InBand, InControl, Text, TextDone, ControlDone } state = Outside;
  TLayoutBand band;
  TLayoutControl control;
  auto fail = [&](qsizetype index) {
    throw Exception(QStringLiteral("Hibás jelentésfájl: %1, %2. sor").arg(m_file).arg(index + 1));
  };

  // The bands stand inside the page sequence, whose lines are written exactly so.
  const QLatin1String sequenceStart("<sequence-specification-single page-master-name=\"PAGE0\">");
  const QLatin1String sequenceEnd("</sequence-specification-single>");
  enum { Before, In, After } sequence = Before;
  bool ended = false;  // the closing "</root>" was read
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    bool ok = true;
    switch (state) {
      case Outside:
        if (ended) {
          if (!line.isEmpty()) fail(i);
        } else if (line == sequenceStart) {
          if (sequence != Before) fail(i);
          sequence = In;
        } else if (line == sequenceEnd) {
          if (sequence != In) fail(i);
          sequence = After;
        } else if (line == QLatin1String("</root>")) {
          ended = true;
        } else if (line.startsWith(QLatin1String("<block"))) {
          if (sequence != In || !line.startsWith(QLatin1String("<block ID=\""))) fail(i);
          band = TLayoutBand();
          attribute(line, QLatin1String("ID"), band.Name);
          band.Width = intAttribute(line, QLatin1String("width"), ok);
          band.Height = intAttribute(line, QLatin1String("height"), ok);
          band.MinSpace = intAttribute(line, QLatin1String("minspace"), ok);
          band.BorderWidth = intAttribute(line, QLatin1String("border-width"), ok);
          QString repeat;
          band.Detail = !attribute(line, QLatin1String("repeatnewpage"), repeat);
          band.RepeatNewPage = repeat == QLatin1String("TRUE");
          if (!ok || band.Name.isEmpty()) fail(i);
          state = InBand;
        }
        break;
      case InBand:
        if (line == QLatin1String("</block>")) {
          m_byName.insert(band.Name, m_bands.size());
          m_bands.append(band);
          state = Outside;
        } else if (line.startsWith(QLatin1String("<block "))) {
          control = TLayoutControl();
          control.Top = intAttribute(line, QLatin1String("top"), ok);
          control.Left = intAttribute(line, QLatin1String("left"), ok);
          control.Width = intAttribute(line, QLatin1String("width"), ok);
          control.Height = intAttribute(line, QLatin1String("height"), ok);
          control.BorderWidth = intAttribute(line, QLatin1String("border-width"), ok);
          if (!ok) fail(i);
          state = InControl;
        } else {
          fail(i);
        }
        break;
      case InControl: {
        if (!line.startsWith(QLatin1String("<inline-sequence "))) fail(i);
        if (!attribute(line, QLatin1String("font-family"), control.FontFamily)) fail(i);
        control.FontSize = intAttribute(line, QLatin1String("font-size"), ok);
        control.Italic = line.contains(QLatin1String(" font-style=\"italic\" "));
        control.Bold = line.contains(QLatin1String(" font-wight=\"bold\" "));
        control.Underline = line.contains(QLatin1String(" font-decoration=\"underline\" "));
        QString align;
        if (!ok || !attribute(line, QLatin1String("text-align"), align)) fail(i);
        control.Alignment = align == QLatin1String("right")    ? TLayoutControl::Align::Right
                            : align == QLatin1String("center") ? TLayoutControl::Align::Center
                                                               : TLayoutControl::Align::Left;
        state = Text;
        break;
      }
      case Text:
        // Exactly one line of text: the writer turns line breaks in captions into blanks.
        control.Text = line;
        state = TextDone;
        break;
      case TextDone:
        if (line != QLatin1String("</inline-sequence>")) fail(i);
        state = ControlDone;
        break;
      case ControlDone:
        if (line != QLatin1String("</block>")) fail(i);
        band.Controls.append(control);
        state = InBand;
        break;
    }
  }
  // A layout cut short after a band would print the report without the bands after it.
  if (state != Outside || !ended || sequence != After) fail(lines.size());
  if (m_bands.isEmpty())
    throw Exception(QStringLiteral("A jelentésfájlban nincs egy sáv sem: ") + m_file);
}

const TLayoutBand* TReportLayout::Band(const QString& name) const {
  auto it = m_byName.constFind(name);
  return it == m_byName.constEnd() ? nullptr : &m_bands[*it];
}

int TReportLayout::DesignWidth() const {
  int width = 0;
  for (const TLayoutBand& b : m_bands) {
    if (b.BorderWidth > 0) width = std::max(width, b.Width);
    for (const TLayoutControl& c : b.Controls) width = std::max(width, c.Left + c.Width);
  }
  return width;
}
