#include "dos_takeover.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app_globals.h"
#include "file_lookup.h"
#include "memory_ini_file.h"
#include "program_runner.h"
#include "start_settings.h"

namespace {

QString NativeDir(const QString& dir) {
  QString d = dir;
  d.replace('\\', '/');
  if (!d.endsWith('/')) d += '/';
  return d;
}

}  // namespace

QStringList DosConverterFiles() {
  return {QStringLiteral("ecs2csv.exe"), QString::fromLatin1(kDosConverterBatch),
          QStringLiteral("ecsadatb.dat")};
}

QString WithTrailingSeparator(const QString& dir) {
  if (dir.endsWith('\\') || dir.endsWith('/')) return dir;
  return dir + (dir.contains('\\') && !dir.contains('/') ? QChar('\\') : QChar('/'));
}

QStringList DosDriveAndRest(const QString& dir) {
  if (dir.size() > 2 && dir.at(1) == ':') return {dir.left(2), dir.mid(2)};
  return {QStringLiteral("REM"), dir};
}

void CopyDosConverter(const QString& programDir, const QString& dir) {
  const QString target = NativeDir(dir);
  const QFileInfo targetInfo(target), programInfo(NativeDir(programDir));
  if (!targetInfo.isDir()) return;
  // The program's own files are the source: deleting them there would lose them.
  if (targetInfo.canonicalFilePath() == programInfo.canonicalFilePath()) return;
  for (const QString& name : DosConverterFiles()) {
    const QString existing = FindExistingPath(target + name);
    if (!existing.isEmpty()) QFile::remove(existing);
    const QString source = FindExistingPath(NativeDir(programDir) + name);
    if (!source.isEmpty()) QFile::copy(source, target + name);
  }
}

bool RunDosConverter(const QString& dir) {
  const QString batch = FindExistingPath(NativeDir(dir) + QLatin1String(kDosConverterBatch));
  const QFileInfo info(batch);
  if (batch.isEmpty() || !info.isFile() || !info.isExecutable()) return false;
  RunAndWait(batch, DosDriveAndRest(dir));
  return true;
}

namespace {

QString ProgramIni() { return ResolvePath(Globals().ProgramDir, QLatin1String(kIniFileName)); }

}  // namespace

QString ReadVexorDir() {
  TMemoryIniFile ini(ProgramIni());
  return ini.ReadString(QStringLiteral("INI"), QStringLiteral("VEXORDIR"), QString());
}

void WriteVexorDir(const QString& dir) {
  TMemoryIniFile ini(ProgramIni());
  ini.WriteString(QStringLiteral("INI"), QStringLiteral("VEXORDIR"), dir);
  ini.UpdateFile();
}
