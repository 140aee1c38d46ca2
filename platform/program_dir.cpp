#include "program_dir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "file_lookup.h"

namespace {

QString withSlash(QString dir) {
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

// Copies the files of from that are missing under to; existing files are kept.
void copyMissing(const QString& from, const QString& to) {
  QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
    if (QFileInfo::exists(target)) continue;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::copy(source, target);
  }
}

}  // namespace

QString ResolveProgramDir(const QString& programFile) {
  const QString exeDir = QFileInfo(programFile).absolutePath();
  const QString scripts = FindExistingPath(exeDir + QStringLiteral("/create"));
  if (!scripts.isEmpty() && QFileInfo(scripts).isDir() && QFileInfo(exeDir).isWritable())
    return withSlash(exeDir);

  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/zarn");
  QDir().mkpath(data);
  for (const QString& sub : {QStringLiteral("create"), QStringLiteral("help")}) {
    for (const QString& base :
         {exeDir, QDir::cleanPath(exeDir + QStringLiteral("/../share/zarn"))}) {
      const QString source = FindExistingPath(base + QLatin1Char('/') + sub);
      if (source.isEmpty() || !QFileInfo(source).isDir()) continue;
      copyMissing(source, data + QLatin1Char('/') + sub);
      break;
    }
  }
  // The user's guide, opened from the program directory.
  for (const QString& base : {exeDir, QDir::cleanPath(exeDir + QStringLiteral("/../share/zarn"))}) {
    const QString guide = FindExistingPath(base + QStringLiteral("/zarn.rtf"));
    if (guide.isEmpty()) continue;
    if (!QFileInfo::exists(data + QStringLiteral("/zarn.rtf")))
      QFile::copy(guide, data + QStringLiteral("/zarn.rtf"));
    break;
  }
  return withSlash(data);
}
