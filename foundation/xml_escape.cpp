#include "xml_escape.h"

#include <algorithm>

QString XmlEscaped(const QString& value) {
  const auto special = [](QChar c) { return c == u'&' || c == u'<' || c == u'>' || c == u'"'; };
  if (std::none_of(value.begin(), value.end(), special)) return value;
  QString out;
  out.reserve(value.size() + 16);
  for (const QChar c : value) {
    switch (c.unicode()) {
      case '&':
        out += QLatin1String("&amp;");
        break;
      case '<':
        out += QLatin1String("&lt;");
        break;
      case '>':
        out += QLatin1String("&gt;");
        break;
      case '"':
        out += QLatin1String("&quot;");
        break;
      default:
        out += c;
    }
  }
  return out;
}
