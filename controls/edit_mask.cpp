#include "edit_mask.h"

#include <QStringList>

QString QtInputMask(const QString& editMask) {
  if (editMask.isEmpty()) return QString();
  // The sections are split at the last two ";" so that a literal ";" may stand in the mask.
  QString mask = editMask;
  QString blank = QStringLiteral("_");
  const int last = mask.lastIndexOf(u';');
  if (last > 0) {
    const int before = mask.lastIndexOf(u';', last - 1);
    if (before >= 0) {
      if (last + 1 < mask.size()) blank = mask.mid(last + 1, 1);
      mask = mask.left(before);
    }
  }
  QString qt;
  const QString qtMeta = QStringLiteral("AaNnXx9D0dHhBb#><![]{}\\;");
  for (int i = 0; i < mask.size(); ++i) {
    const QChar c = mask[i];
    switch (c.unicode()) {
      case u'0':
        qt += u'9';
        break;  // required digit
      case u'9':
        qt += u'0';
        break;  // optional digit
      case u'#':
        qt += u'#';
        break;
      case u'L':
        qt += u'A';
        break;
      case u'l':
        qt += u'a';
        break;
      case u'A':
        qt += u'N';
        break;
      case u'a':
        qt += u'n';
        break;
      case u'C':
        qt += u'X';
        break;
      case u'c':
        qt += u'x';
        break;
      case u'>':
        qt += u'>';
        break;
      case u'<':
        if (i + 1 < mask.size() && mask[i + 1] == u'>') {
          qt += u'!';
          ++i;
        } else {
          qt += u'<';
        }
        break;
      case u'!':
        break;
      case u'/':
        qt += QStringLiteral("\\.");
        break;
      case u':':
        qt += QStringLiteral("\\:");
        break;
      case u'_':
        qt += u' ';
        break;
      case u'\\':
        if (i + 1 < mask.size()) {
          ++i;
          qt += qtMeta.contains(mask[i]) ? QString(u'\\') + mask[i] : QString(mask[i]);
        }
        break;
      default:
        qt += qtMeta.contains(c) ? QString(u'\\') + c : QString(c);
    }
  }
  return qt + u';' + blank;
}
