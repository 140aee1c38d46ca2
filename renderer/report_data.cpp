#include "report_data.h"

#include "exceptions.h"
#include "report_layout.h"

namespace {

// The name in a line '<TAG ID="name"...'.
bool elementId(const QString& line, QLatin1StringView open, QString& id) {
  if (!line.startsWith(open)) return false;
  const qsizetype end = line.indexOf(u'"', open.size());
  if (end < 0 || !line.endsWith(u'>')) return false;
  id = line.mid(open.size(), end - open.size());
  return true;
}

}  // namespace

bool TDataElement::Value(const QString& name, QString& value) const {
  for (const TDataLine& v : Values) {
    if (v.Name == name) {
      value = v.Value;
      return true;
    }
  }
  return false;
}

const QString& TReportData::intern(const QString& name) {
  auto it = m_names.constFind(name);
  if (it == m_names.constEnd()) it = m_names.insert(name);
  return *it;
}

void TReportData::Load(const QString& path) {
  m_file = path;
  Parse(ReadReportFile(path));
}

void TReportData::Parse(const QStringList& lines) {
  Events.clear();
  Title.clear();
  Email.clear();
  Fax.clear();
  m_details = 0;
  auto fail = [&](qsizetype index) {
    throw Exception(QStringLiteral("Hibás adatfájl: %1, %2. sor").arg(m_file).arg(index + 1));
  };

  static const QLatin1StringView kGroup("<GROUP ID=\"");
  static const QLatin1StringView kHeader("<HEADER ID=\"");
  static const QLatin1StringView kDetail("<DETAIL ID=\"");
  static const QLatin1StringView kFooter("<FOOTER ID=\"");
  static const QLatin1StringView kInfo("<info Title=\"");

  TDataElement band;
  QString closing;  // the closing line of the open band element; empty outside one
  int depth = 0;
  bool ended = false;
  QString id;

  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    if (!closing.isEmpty()) {
      if (line == closing) {
        if (band.Type == TDataElement::Kind::Detail) ++m_details;
        Events.push_back(std::move(band));
        band = TDataElement();
        closing.clear();
        continue;
      }
      const qsizetype eq = line.indexOf(u'=');
      if (eq <= 0) fail(i);
      band.Values.append({intern(line.left(eq)), line.mid(eq + 1)});
      continue;
    }
    if (ended) {
      if (!line.isEmpty()) fail(i);
    } else if (line.isEmpty() || line.startsWith(QLatin1String("<?xml")) ||
               line == QLatin1String("<REPORT>") || line == QLatin1String("</info>")) {
      // nothing to keep
    } else if (line == QLatin1String("</REPORT>")) {
      if (depth != 0) fail(i);
      ended = true;
    } else if (line.startsWith(kInfo)) {
      const qsizetype fax = line.lastIndexOf(QLatin1String("\" Fax=\""));
      const qsizetype email = fax < 0 ? -1 : line.lastIndexOf(QLatin1String("\" Email=\""), fax);
      if (email < kInfo.size() || !line.endsWith(QLatin1String("\">"))) fail(i);
      Title = line.mid(kInfo.size(), email - kInfo.size());
      Email = line.mid(email + 9, fax - email - 9);
      Fax = line.mid(fax + 7, line.size() - 2 - fax - 7);
    } else if (elementId(line, kGroup, id)) {
      TDataElement e;
      e.Type = TDataElement::Kind::GroupStart;
      e.Name = intern(id);
      Events.push_back(std::move(e));
      ++depth;
    } else if (line == QLatin1String("</GROUP>")) {
      if (--depth < 0) fail(i);
      TDataElement e;
      e.Type = TDataElement::Kind::GroupEnd;
      Events.push_back(std::move(e));
    } else if (elementId(line, kHeader, id)) {
      band.Type = TDataElement::Kind::Header;
      band.Name = intern(id);
      closing = QStringLiteral("</HEADER>");
    } else if (elementId(line, kFooter, id)) {
      band.Type = TDataElement::Kind::Footer;
      band.Name = intern(id);
      closing = QStringLiteral("</FOOTER>");
    } else if (elementId(line, kDetail, id)) {
      band.Type = TDataElement::Kind::Detail;
      band.Name = intern(id);
      const qsizetype h = line.indexOf(QLatin1String("height=\""));
      if (h >= 0) band.Height = line.mid(h + 8, line.indexOf(u'"', h + 8) - h - 8).toInt();
      closing = QStringLiteral("</DETAIL>");
    } else {
      fail(i);
    }
  }
  // A file cut short (a failed write, a full disk) must not print as a shorter report.
  if (!ended || !closing.isEmpty()) fail(lines.size());
}
