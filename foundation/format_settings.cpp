#include "format_settings.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <string>

#include "exceptions.h"

namespace {

// The shortest exact decimal text of |value| in fixed notation, split at the point.
void ShortestDigits(double value, std::string& intPart, std::string& fracPart) {
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
  const std::string text(buf, res.ptr);
  const auto dot = text.find('.');
  intPart = text.substr(0, dot);
  fracPart = dot == std::string::npos ? std::string() : text.substr(dot + 1);
}

// Rounds the digit strings to at most `decimals` fraction digits, halves away from zero.
void RoundDigits(std::string& intPart, std::string& fracPart, int decimals) {
  if (static_cast<int>(fracPart.size()) <= decimals) return;
  const bool up = fracPart[decimals] >= '5';
  fracPart.resize(decimals);
  if (!up) return;
  std::string all = intPart + fracPart;
  int i = static_cast<int>(all.size()) - 1;
  for (; i >= 0; --i) {
    if (all[i] == '9') {
      all[i] = '0';
    } else {
      ++all[i];
      break;
    }
  }
  if (i < 0) all.insert(all.begin(), '1');
  intPart = all.substr(0, all.size() - decimals);
  fracPart = all.substr(all.size() - decimals);
}

QString GroupThousands(const std::string& digits) {
  QString out;
  const int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ThousandSeparator;
    out += QChar(digits[i]);
  }
  return out;
}

// One section of a number format, taken apart.
struct FormatSection {
  QString prefix, suffix;  // literal text before the first and after the last placeholder
  int intMin = 0;          // "0" before the point
  int decMin = 0;          // "0" after the point
  int decMax = 0;          // "0" and "#" after the point
  bool thousands = false;
  bool placeholders = false;
};

FormatSection ParseSection(const QString& s) {
  FormatSection f;
  bool afterPoint = false;
  QString literal;
  for (int i = 0; i < s.size(); ++i) {
    const QChar c = s[i];
    if (c == u'"' || c == u'\'') {
      const int end = s.indexOf(c, i + 1);
      literal += s.mid(i + 1, (end < 0 ? s.size() : end) - i - 1);
      i = end < 0 ? s.size() : end;
      continue;
    }
    if (c == u'0' || c == u'#') {
      if (!f.placeholders) f.prefix = literal;
      literal.clear();
      f.placeholders = true;
      if (afterPoint) {
        ++f.decMax;
        if (c == u'0') f.decMin = f.decMax;
      } else if (c == u'0') {
        ++f.intMin;
      }
      continue;
    }
    if (c == u'.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    if (c == u',' && !afterPoint) {
      f.thousands = true;
      continue;
    }
    literal += c;
  }
  if (f.placeholders)
    f.suffix = literal;
  else
    f.prefix = literal;
  return f;
}

QString FormatWithSection(const FormatSection& f, double absValue) {
  if (!f.placeholders) return f.prefix;
  std::string ip, fp;
  ShortestDigits(absValue, ip, fp);
  RoundDigits(ip, fp, f.decMax);
  while (static_cast<int>(fp.size()) > f.decMin && !fp.empty() && fp.back() == '0') fp.pop_back();
  while (static_cast<int>(fp.size()) < f.decMin) fp.push_back('0');
  while (ip.size() > 1 && ip.front() == '0') ip.erase(ip.begin());
  if (ip == "0" && f.intMin == 0) ip.clear();
  while (static_cast<int>(ip.size()) < f.intMin) ip.insert(ip.begin(), '0');
  QString out = f.prefix;
  out += f.thousands ? GroupThousands(ip) : QString::fromLatin1(ip.c_str());
  if (!fp.empty()) out += DecimalSeparator + QString::fromLatin1(fp.c_str());
  return out + f.suffix;
}

bool RoundsToZero(const FormatSection& f, double absValue) {
  std::string ip, fp;
  ShortestDigits(absValue, ip, fp);
  RoundDigits(ip, fp, f.decMax);
  return ip.find_first_not_of('0') == std::string::npos &&
         fp.find_first_not_of('0') == std::string::npos;
}

QStringList SplitSections(const QString& format) {
  QStringList sections;
  QString cur;
  QChar quote;
  for (QChar c : format) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u';') {
      sections << cur;
      cur.clear();
      continue;
    }
    cur += c;
  }
  sections << cur;
  return sections;
}

}  // namespace

QString FloatToStr(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  QString text = QString::fromLatin1(buf, static_cast<int>(res.ptr - buf));
  const int e = text.indexOf(u'e');
  if (e < 0) return text;
  // Exponent as "E20" / "E-5", the way amounts were always shown.
  QString exp = text.mid(e + 1);
  const bool negative = exp.startsWith(u'-');
  if (exp.startsWith(u'+') || negative) exp.remove(0, 1);
  while (exp.size() > 1 && exp.startsWith(u'0')) exp.remove(0, 1);
  return text.left(e) + (negative ? QStringLiteral("E-") : QStringLiteral("E")) + exp;
}

QString FloatToSQL(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  return QString::fromLatin1(buf, static_cast<int>(res.ptr - buf));
}

QString FormatFloat(const QString& format, double value) {
  if (format.isEmpty()) return FloatToStr(value);
  const QStringList sections = SplitSections(format);
  const FormatSection positive = ParseSection(sections[0]);
  const double absValue = std::fabs(value);
  if (sections.size() > 2 && !sections[2].isEmpty() && RoundsToZero(positive, absValue))
    return FormatWithSection(ParseSection(sections[2]), 0.0);
  if (value < 0) {
    if (sections.size() > 1 && !sections[1].isEmpty())
      return FormatWithSection(ParseSection(sections[1]), absValue);
    const QString text = FormatWithSection(positive, absValue);
    return RoundsToZero(positive, absValue) ? text : u'-' + text;
  }
  return FormatWithSection(positive, absValue);
}

double RoundToDecimals(double value, int decimals) {
  if (!std::isfinite(value) || decimals < 0) return value;
  std::string ip, fp;
  ShortestDigits(value, ip, fp);
  RoundDigits(ip, fp, decimals);
  std::string text = (value < 0 ? "-" : "") + ip + (fp.empty() ? "" : "." + fp);
  double out = 0;
  std::from_chars(text.data(), text.data() + text.size(), out);
  return out;
}

bool TextToFloat(const QString& text, double& value) {
  QByteArray t = text.trimmed().toLatin1();
  if (t.startsWith('+')) t.remove(0, 1);
  if (t.isEmpty() || t.startsWith('+')) return false;
  double v = 0;
  auto res = std::from_chars(t.constData(), t.constData() + t.size(), v);
  if (res.ec != std::errc() || res.ptr != t.constData() + t.size() || !std::isfinite(v))
    return false;
  value = v;
  return true;
}

bool TextToInt64(const QString& text, qint64& value) {
  QByteArray t = text.trimmed().toLatin1();
  if (t.startsWith('+')) t.remove(0, 1);
  if (t.isEmpty() || t.startsWith('+')) return false;
  long long v = 0;
  auto res = std::from_chars(t.constData(), t.constData() + t.size(), v);
  if (res.ec != std::errc() || res.ptr != t.constData() + t.size()) return false;
  value = v;
  return true;
}

QString DateToStr(const QDate& date) {
  if (!date.isValid()) return {};
  return QStringLiteral("%1.%2.%3")
      .arg(date.year(), 4, 10, QChar(u'0'))
      .arg(date.month(), 2, 10, QChar(u'0'))
      .arg(date.day(), 2, 10, QChar(u'0'));
}

bool TextToDate(const QString& text, QDate& date) {
  bool anyDigit = false;
  for (QChar c : text) anyDigit = anyDigit || c.isDigit();
  if (!anyDigit) {
    date = QDate();
    return true;
  }
  const QStringList parts = text.trimmed().split(QRegularExpression(QStringLiteral("[.\\-/]")));
  if (parts.size() != 3) return false;
  int ymd[3];
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    const QString p = parts[i].trimmed();
    ymd[i] = p.toInt(&ok);
    if (!ok || p.isEmpty() || p.size() > (i == 0 ? 4 : 2)) return false;
  }
  const QDate d(ymd[0], ymd[1], ymd[2]);
  if (!d.isValid()) return false;
  date = d;
  return true;
}

QString TimeToStr(const QTime& time) {
  return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

bool TextToTime(const QString& text, QTime& time) {
  const QString t = text.trimmed();
  bool anyDigit = false;
  for (QChar c : t) anyDigit = anyDigit || c.isDigit();
  if (!anyDigit) {
    time = QTime();
    return true;
  }
  const QStringList parts = t.split(u':');
  if (parts.size() < 2 || parts.size() > 3) return false;
  int hms[3] = {0, 0, 0};
  for (int i = 0; i < parts.size(); ++i) {
    bool ok = false;
    hms[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return false;
  }
  const QTime v(hms[0], hms[1], hms[2]);
  if (!v.isValid()) return false;
  time = v;
  return true;
}

QString DateTimeToStr(const QDateTime& value) {
  if (!value.isValid()) return {};
  const QString date = DateToStr(value.date());
  return value.time() == QTime(0, 0) ? date : date + u' ' + TimeToStr(value.time());
}

bool TextToDateTime(const QString& text, QDateTime& value) {
  const QString t = text.trimmed();
  const int blank = t.indexOf(u' ');
  QDate date;
  QTime time(0, 0);
  if (!TextToDate(blank < 0 ? t : t.left(blank), date)) return false;
  if (blank >= 0 && !TextToTime(t.mid(blank + 1), time)) return false;
  if (!date.isValid()) {
    value = QDateTime();
    return true;
  }
  value = QDateTime(date, time.isValid() ? time : QTime(0, 0), Qt::UTC);
  return true;
}

void RaiseConvertError(const QString& text, ConvertTarget target) {
  QString what;
  switch (target) {
    case ConvertTarget::Integer:
      what = QStringLiteral("egész szám");
      break;
    case ConvertTarget::Float:
      what = QStringLiteral("szám");
      break;
    case ConvertTarget::Date:
      what = QStringLiteral("dátum");
      break;
    case ConvertTarget::Time:
      what = QStringLiteral("időpont");
      break;
  }
  throw EConvertError(QStringLiteral("'%1' nem érvényes %2").arg(text, what));
}
