#include "xml_asset_import.h"

#include <QFile>
#include <QIODevice>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

#include "batch_insert.h"
#include "card_balances.h"
#include "codepage.h"
#include "depreciation_calculator.h"
#include "format_settings.h"
#include "transaction.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

namespace {

const QString& Unchanged() {
  static const QString text = QStringLiteral("Az adatok nem változtak.");
  return text;
}

[[noreturn]] void ThrowFileRefusal(int line, const QString& reason) {
  throw EXmlRefused(QStringLiteral("Hibás XML fájl (%1. sor): ").arg(line) + reason + '\n' +
                    Unchanged());
}

bool IsNameChar(QChar c) {
  return c.isLetterOrNumber() || c == '_' || c == '-' || c == '.' || c == ':';
}

}  // namespace

// ---- XmlRestText --------------------------------------------------------------------------------

// The file's bytes as text: UTF-8 after a byte-order mark, else code page 852. Bytes that are
// no text of that encoding, and the NUL byte, refuse the file with their line.
struct XmlRestText::Decoder {
  bool started = false;
  bool utf8 = false;
  QStringDecoder utf8Decoder{QStringDecoder::Utf8};
  int line = 1;  // of the next byte
  // The UTF-8 sequence under way: continuation bytes still due and the range of the next one.
  int due = 0;
  uchar low = 0x80, high = 0xBF;

  QString Decode(QByteArray bytes) {
    if (!started) {
      started = true;
      if (bytes.startsWith("\xEF\xBB\xBF")) {
        utf8 = true;
        bytes.remove(0, 3);
      }
    }
    for (qsizetype i = 0; i < bytes.size(); ++i) {
      const uchar c = uchar(bytes.at(i));
      if (c == '\n') ++line;
      if (c == 0) ThrowFileRefusal(line, QStringLiteral("NUL bájt"));
      if (utf8 && !Utf8Byte(c)) ThrowFileRefusal(line, QStringLiteral("érvénytelen UTF-8 bájt"));
    }
    if (utf8) return utf8Decoder(bytes);
    // DOS text: code page 852, with the program's own table for the Hungarian letters.
    return ToUnicode(DosToAnsi(bytes), CodePage::Cp1250);
  }
  // The end of the file: a UTF-8 sequence must not stop halfway.
  void Finish() {
    if (utf8 && due > 0) ThrowFileRefusal(line, QStringLiteral("érvénytelen UTF-8 bájt"));
  }

 private:
  // Whether c may follow what came before in well-formed UTF-8 (no overlong forms, no
  // surrogates, nothing beyond U+10FFFF).
  bool Utf8Byte(uchar c) {
    if (due > 0) {
      if (c < low || c > high) return false;
      low = 0x80;
      high = 0xBF;
      --due;
      return true;
    }
    if (c < 0x80) return true;
    if (c >= 0xC2 && c <= 0xDF) {
      due = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      due = 2;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      due = 3;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    return true;
  }
};

XmlRestText::XmlRestText(QIODevice& device) : m_device(device), m_decoder(new Decoder) {}
XmlRestText::~XmlRestText() = default;

bool XmlRestText::Fill() {
  if (m_eof) return false;
  const QByteArray chunk = m_device.read(1 << 20);
  if (chunk.isEmpty()) {
    m_eof = true;
    m_decoder->Finish();
    return false;
  }
  if (m_pos > 0) {
    m_buffer.remove(0, m_pos);
    m_pos = 0;
  }
  m_buffer += m_decoder->Decode(chunk);
  return true;
}

void XmlRestText::Take(qsizetype count) {
  m_line += int(QStringView(m_buffer).mid(m_pos, count).count(QLatin1Char('\n')));
  m_pos += count;
}

qsizetype XmlRestText::Find(QChar c, qsizetype from) {
  // from is relative to m_pos, which Fill may move.
  for (;;) {
    const qsizetype at = m_buffer.indexOf(c, m_pos + from);
    if (at >= 0) return at - m_pos;
    from = qMax<qsizetype>(0, m_buffer.size() - m_pos);
    if (from > kMaxXmlPiece) return -2;  // too long already
    if (!Fill()) return -1;
  }
}

qsizetype XmlRestText::FindTagEnd() {
  // Relative to m_pos, the "<" of the tag; a ">" inside a quoted value belongs to the value.
  qsizetype i = 1;
  QChar quote;  // the quote of the value being read; null outside values
  bool afterEquals = false;
  for (;;) {
    for (; m_pos + i < m_buffer.size(); ++i) {
      if (i > kMaxXmlPiece) return -2;
      const QChar c = m_buffer.at(m_pos + i);
      if (!quote.isNull()) {
        if (c == quote) quote = QChar();
      } else if (c == u'>') {
        return i;
      } else if (afterEquals && (c == u'"' || c == u'\'')) {
        quote = c;
        afterEquals = false;
      } else if (c == u'=') {
        afterEquals = true;
      } else if (!c.isSpace()) {
        afterEquals = false;
      }
    }
    if (!Fill()) return -1;
  }
}

QString XmlRestText::XmlTagText() {
  const qsizetype open = Find(QLatin1Char('<'), 0);
  if (open == -2) ThrowFileRefusal(m_line, QStringLiteral("64 KiB-nál hosszabb szöveg"));
  if (open < 0) {
    Take(m_buffer.size() - m_pos);
    return {};
  }
  if (open > kMaxXmlPiece) ThrowFileRefusal(m_line, QStringLiteral("64 KiB-nál hosszabb szöveg"));
  Take(open);
  m_tagLine = m_line;
  const qsizetype close = FindTagEnd();
  if (close == -2 || close >= kMaxXmlPiece)
    ThrowFileRefusal(m_tagLine, QStringLiteral("64 KiB-nál hosszabb tag"));
  if (close < 0) ThrowFileRefusal(m_tagLine, QStringLiteral("lezáratlan tag"));
  const QString tag = m_buffer.mid(m_pos, close + 1);
  Take(close + 1);
  return tag;
}

QString XmlRestText::XmlElementText() {
  qsizetype end = Find(QLatin1Char('<'), 0);
  if (end == -2 || end > kMaxXmlPiece)
    ThrowFileRefusal(m_line, QStringLiteral("64 KiB-nál hosszabb szöveg"));
  if (end < 0) end = m_buffer.size() - m_pos;
  const QString text = m_buffer.mid(m_pos, end);
  Take(end);
  return XmlDecodeEntities(text).trimmed();
}

// ---- Helpers -----------------------------------------------------------------------------------

QString XmlElementName(const QString& tag) {
  if (tag.size() < 2) return {};
  qsizetype i = 1;
  QString prefix;
  if (tag.at(i) == '/') {
    prefix = QStringLiteral("/");
    ++i;
  }
  const qsizetype start = i;
  while (i < tag.size() && !tag.at(i).isSpace() && tag.at(i) != '/' && tag.at(i) != '>') ++i;
  if (i == tag.size()) return {};  // no ">": no name
  return prefix + tag.mid(start, i - start);
}

QString XmlAttributeValue(const QString& tag, const QString& name) {
  qsizetype from = 0;
  for (;;) {
    const qsizetype at = tag.indexOf(name, from);
    if (at < 0) return {};
    from = at + 1;
    if (at == 0 || IsNameChar(tag.at(at - 1)) || tag.at(at - 1) == '<') continue;
    qsizetype i = at + name.size();
    while (i < tag.size() && tag.at(i).isSpace()) ++i;
    if (i >= tag.size() || tag.at(i) != '=') continue;
    ++i;
    while (i < tag.size() && tag.at(i).isSpace()) ++i;
    if (i >= tag.size() || (tag.at(i) != '"' && tag.at(i) != '\'')) continue;
    const QChar quote = tag.at(i);
    const qsizetype end = tag.indexOf(quote, i + 1);
    if (end < 0) return {};
    return XmlDecodeEntities(tag.mid(i + 1, end - i - 1)).trimmed();
  }
}

QString XmlDecodeEntities(const QString& text) {
  if (!text.contains('&')) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    const qsizetype semi = c == '&' ? text.indexOf(';', i + 1) : -1;
    if (semi < 0 || semi - i > 12) {
      out += c;
      continue;
    }
    const QString entity = text.mid(i + 1, semi - i - 1);
    QString decoded;
    if (entity == QLatin1String("amp"))
      decoded = QStringLiteral("&");
    else if (entity == QLatin1String("lt"))
      decoded = QStringLiteral("<");
    else if (entity == QLatin1String("gt"))
      decoded = QStringLiteral(">");
    else if (entity == QLatin1String("quot"))
      decoded = QStringLiteral("\"");
    else if (entity == QLatin1String("apos"))
      decoded = QStringLiteral("'");
    else if (entity.startsWith('#')) {
      bool ok = false;
      const uint code =
          entity.startsWith(QLatin1String("#x")) || entity.startsWith(QLatin1String("#X"))
              ? entity.mid(2).toUInt(&ok, 16)
              : entity.mid(1).toUInt(&ok, 10);
      if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
        const char32_t ch = code;
        decoded = QString::fromUcs4(&ch, 1);
      }
    }
    if (decoded.isEmpty()) {
      out += c;  // not an entity: the "&" stays
      continue;
    }
    out += decoded;
    i = semi;
  }
  return out;
}

QString XmlNormalizeValue(const QString& text, XmlValueKind kind) {
  const QString t = text.trimmed();
  switch (kind) {
    case XmlValueKind::Text:
      return t;
    case XmlValueKind::Amount: {
      const qsizetype comma = t.indexOf(',');
      if (comma >= 0 && t.size() - comma - 1 == 2) {
        QString r;
        if (t.startsWith('-')) r += '-';
        for (QChar c : t) {
          if (c.isDigit())
            r += c;
          else if (c == ',')
            r += '.';
        }
        return r;
      }
      QString r;
      for (QChar c : t)
        if (!c.isSpace()) r += c;
      return r;
    }
    case XmlValueKind::Date:
      if (t.size() == 8 && t.at(2) == '.' && t.at(5) == '.')
        return (t.at(0) < '5' ? QStringLiteral("20") : QStringLiteral("19")) + t;
      return t;
  }
  return t;
}

// ---- Reading the assets
// --------------------------------------------------------------------------

struct XmlAssetReader::State {
  bool inAsset = false;  // between <ESZKOZ ...> and </ESZKOZ>
  bool haveAsset = false;
  XmlAsset asset;
  QString ELADAStext, SELEJTEZEStext;
  double acq = 0, inc = 0, early = 0, current = 0;
  QString incText, earlyText, currentText;
  int incLine = 0, earlyLine = 0, currentLine = 0;
  QString acqDoc, incDoc;
  QDate depDate;
  bool netto = false;
};

void XmlAssetReader::RefuseFile(int line, const QString& reason) const {
  ThrowFileRefusal(line, reason);
}

void XmlAssetReader::RefuseValue(int line, const QString& name, const QString& value) const {
  const QString number = m_state && m_state->haveAsset ? m_state->asset.LELTSZAM : QString();
  throw EXmlRefused(
      QStringLiteral("Hibás adat (%1. sor, leltári szám: %2): ").arg(line).arg(number) + name +
      QStringLiteral("=\"") + value + QStringLiteral("\"\n") + Unchanged());
}

QList<XmlAsset> XmlAssetReader::Read(QIODevice& device) {
  m_assets.clear();
  m_numbers.clear();
  m_state = std::make_shared<State>();
  XmlRestText rest(device);
  for (;;) {
    const QString tag = rest.XmlTagText();
    if (tag.isEmpty()) break;
    ImportAssetsXml(tag, rest);
  }
  FinishAsset();
  return m_assets;
}

namespace {

// Amounts beyond a thousand billion are no amounts of this register (and would overflow sums).
bool ReadAmount(const QString& normalised, double& value) {
  return TextToFloat(normalised, value) && std::isfinite(value) && std::fabs(value) < 1e15;
}

// A date attribute: empty (or the empty date) is "not set"; anything else must be a date.
bool ReadDate(const QString& normalised, QDate& date) {
  date = QDate();
  if (normalised.isEmpty()) return true;
  QDate d;
  bool hasDigit =
      std::any_of(normalised.begin(), normalised.end(), [](QChar c) { return c.isDigit(); });
  if (!hasDigit || !TextToDate(normalised, d) || !d.isValid()) return false;
  if (d > kEmptyDate) date = d;
  return true;
}

}  // namespace

void XmlAssetReader::ImportAssetsXml(const QString& tag, XmlRestText& rest) {
  State& s = *m_state;
  const QString name = XmlElementName(tag);
  const int line = rest.TagLine();
  const bool selfClosing = tag.endsWith(QLatin1String("/>"));

  if (name == QLatin1String("ESZKOZ")) {
    FinishAsset();
    s = State();
    s.haveAsset = true;
    s.inAsset = !selfClosing;
    XmlAsset& a = s.asset;
    a.line = line;
    auto attr = [&](const char* n, XmlValueKind kind) {
      return XmlNormalizeValue(XmlAttributeValue(tag, QLatin1String(n)), kind);
    };
    a.LELTSZAM = attr("LELTSZAM", XmlValueKind::Text);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,20}$"));
    if (!digits.match(a.LELTSZAM).hasMatch())
      RefuseValue(line, QStringLiteral("LELTSZAM"), a.LELTSZAM);
    // The second would replace the first: one asset stored for two read.
    if (m_numbers.contains(a.LELTSZAM))
      throw EXmlRefused(
          QStringLiteral("Hibás adat (%1. sor, leltári szám: %2): kétszer szerepel a fájlban")
              .arg(line)
              .arg(a.LELTSZAM) +
          '\n' + Unchanged());
    m_numbers.insert(a.LELTSZAM);
    const struct {
      const char* attribute;
      QString* target;
      int width;
    } texts[] = {{"NEV", &a.MEGNEV, 60}, {"GYARTO", &a.GYARTO, 40}, {"TIPUS", &a.TIPUS, 40}};
    for (const auto& t : texts) {
      *t.target = attr(t.attribute, XmlValueKind::Text);
      if (t.target->size() > t.width) RefuseValue(line, QLatin1String(t.attribute), *t.target);
    }
    const QString beszerzes = attr("BESZERZES", XmlValueKind::Date);
    if (!ReadDate(beszerzes, a.BESZKELT) || a.BESZKELT.isNull())
      RefuseValue(line, QStringLiteral("BESZERZES"), beszerzes);
    a.firstYear = a.BESZKELT.year();
    const QString price = attr("BESZERZESIAR", XmlValueKind::Amount);
    if (!price.isEmpty() && !ReadAmount(price, a.BESZERTEK))
      RefuseValue(line, QStringLiteral("BESZERZESIAR"), price);
    const struct {
      const char* attribute;
      QDate* target;
      QString* text;
    } dates[] = {{"ECSSTART", &a.AKTKELT, nullptr},
                 {"ELADAS", &a.ELADAS, &s.ELADAStext},
                 {"SELEJTEZES", &a.SLEJTEZ, &s.SELEJTEZEStext}};
    for (const auto& d : dates) {
      const QString value = attr(d.attribute, XmlValueKind::Date);
      if (!ReadDate(value, *d.target)) RefuseValue(line, QLatin1String(d.attribute), value);
      if (d.text) *d.text = value;
    }
    const QString amortip = attr("AMORTIP", XmlValueKind::Text);
    const QString rate = attr("KULCS", XmlValueKind::Amount);
    if (amortip.startsWith('4')) {
      a.KULCS = -1;
      a.ELHASZNA = QStringLiteral("1");
    } else {
      double k = 0;
      if (!rate.isEmpty() && !ReadAmount(rate, k)) RefuseValue(line, QStringLiteral("KULCS"), rate);
      a.KULCS = k;
      long double life = 5;
      if (k != 0) life = RoundHalfEven(100.0L / k);
      if (life < 1 || life > 99) RefuseValue(line, QStringLiteral("KULCS"), rate);
      a.ELHASZNA = QString::number(qint64(life));
    }
    return;
  }

  const bool data = name == QLatin1String("ESEMENY") || name == QLatin1String("BESZERTEK") ||
                    name == QLatin1String("OSZZERTNOV") || name == QLatin1String("ELOZOEVECS") ||
                    name == QLatin1String("TARGYEVECS") || name == QLatin1String("NETTO");
  if (name == QLatin1String("/ESZKOZ")) {
    s.inAsset = false;
    return;
  }
  if (!data) return;
  if (!s.inAsset)
    RefuseFile(line, QStringLiteral("eszköz adat ESZKOZ elemen kívül: <") + name + '>');
  XmlAsset& a = s.asset;

  if (name == QLatin1String("ESEMENY")) {
    const QString datum =
        XmlNormalizeValue(XmlAttributeValue(tag, QStringLiteral("DATUM")), XmlValueKind::Date);
    const QString doc =
        XmlNormalizeValue(XmlAttributeValue(tag, QStringLiteral("BIZSZAM")), XmlValueKind::Text);
    const QString ecs =
        XmlNormalizeValue(XmlAttributeValue(tag, QStringLiteral("ECS")), XmlValueKind::Amount);
    QDate date;
    if (!ReadDate(datum, date)) RefuseValue(line, QStringLiteral("DATUM"), datum);
    if (doc.size() > 20) RefuseValue(line, QStringLiteral("BIZSZAM"), doc);
    if (date.isValid() && date == a.BESZKELT)
      s.acqDoc = doc;
    else
      s.incDoc = doc;
    if (ecs != QLatin1String("0.00")) s.depDate = date;
    return;
  }

  if (name == QLatin1String("NETTO")) {
    if (s.netto) RefuseFile(line, QStringLiteral("második NETTO az eszközben"));
    s.netto = true;
    double N = a.BESZERTEK, E = 0;
    int counter = 0;
    auto add = [&](XmlCardItem item) {
      item.SORSZAM = counter++;
      item.ECSSZ = item.ECS;
      item.NETTOSZ = item.NETTO;
      item.ECSNSZ = item.ECSNOV;
      N = item.NETTO;
      E = item.ECS;
      a.items.append(item);
    };
    XmlCardItem acquisition;
    acquisition.DATUM = a.BESZKELT;
    acquisition.TIPUS = '0';
    acquisition.BIZSZAM = s.acqDoc;
    acquisition.SZOVEG = QStringLiteral("Beszerzés");
    acquisition.BRUTTONOV = acquisition.BRUTTO = s.acq;
    acquisition.MENNYISEG = 1;
    add(acquisition);
    if (a.AKTKELT.isValid()) {
      XmlCardItem activation;
      activation.DATUM = a.AKTKELT;
      activation.TIPUS = '2';
      activation.SZOVEG = QStringLiteral("Aktiválás");
      activation.BRUTTO = activation.NETTO = a.BESZERTEK;
      add(activation);
    }
    if (s.inc > 0) {
      if (!a.AKTKELT.isValid()) RefuseValue(s.incLine, QStringLiteral("OSZZERTNOV"), s.incText);
      XmlCardItem increase;
      increase.DATUM = a.AKTKELT;
      increase.TIPUS = '3';
      increase.BIZSZAM = s.incDoc;
      increase.SZOVEG = QStringLiteral("Érték növelés");
      increase.BRUTTONOV = s.inc;
      increase.BRUTTO = N + E + s.inc;
      increase.ECS = E;
      increase.NETTO = N + s.inc;
      add(increase);
    }
    const struct {
      double sum;
      const char* name;
      const QString* text;
      int line;
    } writeOffs[] = {{s.early, "ELOZOEVECS", &s.earlyText, s.earlyLine},
                     {s.current, "TARGYEVECS", &s.currentText, s.currentLine}};
    for (const auto& w : writeOffs) {
      if (!(w.sum > 0)) continue;
      if (!s.depDate.isValid()) RefuseValue(w.line, QLatin1String(w.name), *w.text);
      XmlCardItem writeOff;
      writeOff.DATUM = s.depDate;
      writeOff.TIPUS = '4';
      writeOff.SZOVEG = QStringLiteral("Érték csökkenés");
      writeOff.BRUTTO = N + E;
      writeOff.ECSNOV = w.sum;
      writeOff.ECS = E + w.sum;
      writeOff.NETTO = N - w.sum;
      add(writeOff);
    }
    return;
  }

  // One of the four sums, from the element's text.
  const QString text =
      selfClosing ? QString() : XmlNormalizeValue(rest.XmlElementText(), XmlValueKind::Amount);
  if (text.isEmpty()) return;
  double value = 0;
  if (!ReadAmount(text, value)) RefuseValue(line, name, text);
  if (name == QLatin1String("BESZERTEK")) {
    s.acq += value;
  } else if (name == QLatin1String("OSZZERTNOV")) {
    s.inc += value;
    s.incText = text;
    s.incLine = line;
  } else if (name == QLatin1String("ELOZOEVECS")) {
    s.early += value;
    s.earlyText = text;
    s.earlyLine = line;
  } else {
    s.current += value;
    s.currentText = text;
    s.currentLine = line;
  }
}

namespace {

// The items in card order (date, then type; items that tie keep their order) and their
// balances as the balance recalculation computes them; dates takes the master's event dates.
QList<BalanceItem> CardBalances(QList<XmlCardItem>& items, MasterDates& dates) {
  std::stable_sort(items.begin(), items.end(), [](const XmlCardItem& x, const XmlCardItem& y) {
    return x.DATUM != y.DATUM ? x.DATUM < y.DATUM : x.TIPUS < y.TIPUS;
  });
  QList<BalanceItem> card;
  card.reserve(items.size());
  for (const XmlCardItem& item : items) {
    BalanceItem b;
    b.DATUM = item.DATUM;
    b.TIPUS = QChar(item.TIPUS);
    b.BRUTTONOV = item.BRUTTONOV;
    b.BRUTTOCSOK = item.BRUTTOCSOK;
    b.ECSNOV = item.ECSNOV;
    b.ECSCSOKK = item.ECSCSOKK;
    b.ECSNSZ = item.ECSNSZ;
    b.ECSCSSZ = item.ECSCSSZ;
    card.append(b);
  }
  ComputeCardBalances(card, dates);
  return card;
}

// A master date as stored: null for the empty date.
QDate MasterDate(const QDate& date) { return date.isValid() && date > kEmptyDate ? date : QDate(); }

}  // namespace

// A sale or scrapping date of the file would be cleared by the balance recalculation, which
// takes them from the card: the card gets the closing item of that date, pre-filled as the
// item form fills it, so the asset ends written off on that date. The card is then complete
// as the recalculation would leave it, balances and sequence numbers filled in.
void XmlAssetReader::FinishAsset() {
  State& s = *m_state;
  if (!s.haveAsset) return;
  XmlAsset& a = s.asset;
  QDate last;
  for (const XmlCardItem& item : a.items) last = std::max(last, item.DATUM);
  struct Closing {
    QDate date;
    char type;
    const char* text;
    const char* attribute;
    const QString* value;
  };
  QList<Closing> closings;
  if (a.SLEJTEZ.isValid())
    closings.append({a.SLEJTEZ, '5', "Selejtezés", "SELEJTEZES", &s.SELEJTEZEStext});
  if (a.ELADAS.isValid()) closings.append({a.ELADAS, '6', "Eladás", "ELADAS", &s.ELADAStext});
  std::stable_sort(closings.begin(), closings.end(),
                   [](const Closing& x, const Closing& y) { return x.date < y.date; });
  for (const Closing& c : closings) {
    if (last.isValid() && c.date < last) RefuseValue(a.line, QLatin1String(c.attribute), *c.value);
    MasterDates dates;
    const QList<BalanceItem> card = CardBalances(a.items, dates);
    double quantity = 0;
    for (const XmlCardItem& item : a.items) quantity += item.MENNYISEG;
    XmlCardItem closing;
    closing.DATUM = c.date;
    closing.TIPUS = c.type;
    closing.SZOVEG = QString::fromUtf8(c.text);
    if (!card.isEmpty()) {
      closing.BRUTTOCSOK = card.last().BRUTTO;
      closing.ECSCSOKK = card.last().ECS;
      closing.ECSCSSZ = card.last().ECSSZ;
    }
    closing.MENNYISEG = -quantity;
    a.items.append(closing);
    last = std::max(last, c.date);
  }

  MasterDates dates;
  dates.BESZKELT = a.BESZKELT;
  const QList<BalanceItem> card = CardBalances(a.items, dates);
  for (qsizetype i = 0; i < card.size(); ++i) {
    XmlCardItem& item = a.items[i];
    item.BRUTTO = card[i].BRUTTO;
    item.ECS = card[i].ECS;
    item.ECSSZ = card[i].ECSSZ;
    item.NETTO = card[i].NETTO;
    item.NETTOSZ = card[i].NETTOSZ;
    item.SORSZAM = card[i].SORSZAM;
  }
  a.BESZKELT = MasterDate(dates.BESZKELT);
  a.AKTKELT = MasterDate(dates.AKTKELT);
  a.ELADAS = MasterDate(dates.ELADAS);
  a.SLEJTEZ = MasterDate(dates.SLEJTEZ);

  m_assets.append(a);
  s.haveAsset = false;
  s.inAsset = false;
}

// ---- Writing -----------------------------------------------------------------------------------

namespace {

// Assets whose stored rows one round of deletes takes away.
constexpr int kAssetsPerRound = 200;
// Rows per INSERT: the statements stay a few hundred KiB.
constexpr int kRowsPerInsert = 2000;

}  // namespace

void WriteXmlAssets(TUniSQLDatabase& db, const QList<XmlAsset>& assets,
                    const std::function<void(int, int)>& progress) {
  const int total = int(assets.size());

  TTransaction transaction(db);
  TBatchInsert masters(
      db,
      QStringLiteral("insert into KARTFEJ (LELTSZAM, MEGNEV, GYARTO, FKSZECSKLTG, "
                     "TIPUS, GYARISZ, BESZKELT, TI, BESZERTEK, MARERTEK, FKSZSZAM, "
                     "FKSZSZAMECS, AKTKELT, ELADAS, SLEJTEZ, KOLTSHELY, MENNYISEG, "
                     "ELHASZNA, FKSZAKTEL, MEGJ1) values "),
      kRowsPerInsert);
  TBatchInsert rates(db,
                     QStringLiteral("insert into KULCSOK (LELTSZAM, EV, KULCS, KULCSSZ) values "),
                     kRowsPerInsert);
  TBatchInsert items(
      db,
      QStringLiteral("insert into KARTTET (LELTSZAM, DATUM, TIPUS, BIZSZAM, SZOVEG, BRUTTONOV, "
                     "BRUTTOCSOK, BRUTTO, ECSCSOKK, ECSNOV, ECS, NETTO, ECSCSSZ, ECSNSZ, ECSSZ, "
                     "NETTOSZ, MENNYISEG, SORSZAM) values "),
      kRowsPerInsert);
  const QString empty = QStringLiteral("''");
  for (int first = 0; first < total; first += kAssetsPerRound) {
    const int end = std::min(total, first + kAssetsPerRound);
    // The round's numbers, each escaped once for all its rows.
    QStringList numbers;
    for (int n = first; n < end; ++n) numbers << db.QuotedString(assets[n].LELTSZAM);
    // The stored rows of these assets go before any of their rows is written; the tables in
    // the order of every lock list, so an item post queued meanwhile cannot close a circle.
    QStringList deletes;
    const QString in = numbers.join(QStringLiteral(", "));
    for (const char* table : {"KARTFEJ", "KARTTET", "KULCSOK", "SZAMITAS"})
      deletes
          << QStringLiteral("delete from %1 where LELTSZAM in (%2);").arg(QLatin1String(table), in);
    RunStatements(db, deletes);

    for (int n = first; n < end; ++n) {
      const XmlAsset& a = assets[n];
      const QString& number = numbers[n - first];
      masters.Row()
          .Sql(number)
          .Text(a.MEGNEV)
          .Text(a.GYARTO)
          .Sql(empty)
          .Text(a.TIPUS)
          .Sql(empty)
          .Date(a.BESZKELT)
          .Sql(u"'T'")
          .Number(a.BESZERTEK)
          .Integer(0)
          .Sql(empty)
          .Sql(empty)
          .Date(a.AKTKELT)
          .Date(a.ELADAS)
          .Date(a.SLEJTEZ)
          .Sql(empty)
          .Integer(1)
          .Text(a.ELHASZNA)
          .Sql(empty)
          .Sql(empty);
      for (int year = a.firstYear; year < a.firstYear + 10; ++year)
        rates.Row().Sql(number).Integer(year).Number(a.KULCS).Number(a.KULCS);
      for (const XmlCardItem& i : a.items)
        items.Row()
            .Sql(number)
            .Date(i.DATUM)
            .Text(QString(QChar(i.TIPUS)))
            .Text(i.BIZSZAM)
            .Text(i.SZOVEG)
            .Number(i.BRUTTONOV)
            .Number(i.BRUTTOCSOK)
            .Number(i.BRUTTO)
            .Number(i.ECSCSOKK)
            .Number(i.ECSNOV)
            .Number(i.ECS)
            .Number(i.NETTO)
            .Number(i.ECSCSSZ)
            .Number(i.ECSNSZ)
            .Number(i.ECSSZ)
            .Number(i.NETTOSZ)
            .Number(i.MENNYISEG)
            .Integer(i.SORSZAM);
    }
    if (progress) progress(end, total);
  }
  masters.Flush();
  rates.Flush();
  items.Flush();
  transaction.Commit();
}

int ImportXmlAssets(TUniSQLDatabase& database, const QString& fileName,
                    const std::function<void(int, int)>& progress) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EXmlRefused(QStringLiteral("Az XML fájl nem olvasható: ") + fileName + '\n' +
                      Unchanged());
  XmlAssetReader reader;
  const QList<XmlAsset> assets = reader.Read(file);
  file.close();
  WriteXmlAssets(database, assets, progress);
  return int(assets.size());
}
