#include "file_lookup.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString FindExistingPath(const QString& path) {
  QString p = path;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (p.isEmpty()) return QString();
  if (QFileInfo::exists(p)) return QDir::cleanPath(p);
  const bool absolute = p.startsWith(QLatin1Char('/'));
  QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
  const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  for (const QString& part : parts) {
    const QString exact = QDir(current).filePath(part);
    if (part == QLatin1String(".") || part == QLatin1String("..") || QFileInfo::exists(exact)) {
      current = exact;
      continue;
    }
    const QStringList entries =
        QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QString found;
    for (const QString& e : entries)
      if (e.compare(part, Qt::CaseInsensitive) == 0) {
        found = e;
        break;
      }
    if (found.isEmpty()) return QString();
    current = QDir(current).filePath(found);
  }
  if (!absolute && current.startsWith(QLatin1String("./"))) current = current.mid(2);
  return QDir::cleanPath(current);
}

QString ResolvePath(const QString& dir, const QString& relative) {
  QString joined = dir;
  if (!joined.isEmpty() && !joined.endsWith(QLatin1Char('/'))) joined += QLatin1Char('/');
  joined += relative;
  joined.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString found = FindExistingPath(joined);
  return found.isEmpty() ? joined : found;
}
