#include "zip_utils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool ForceDirectory(const QString& dir) {
  if (dir.isEmpty()) return false;
  return QDir().mkpath(ZipLocalPath(dir));
}

bool DirExists(const QString& dir) { return dir.isEmpty() || QFileInfo(ZipLocalPath(dir)).isDir(); }

QString SetSlash(const QString& path, bool toUnix) {
  QString p = path;
  return toUnix ? p.replace('\\', '/') : p.replace('/', '\\');
}

QString DelimitPath(const QString& path, bool add) {
  if (add) return path.endsWith('\\') ? path : path + '\\';
  return path.endsWith('\\') ? path.left(path.size() - 1) : path;
}

QString PathConcat(const QString& path, const QString& extra) {
  if (path.isEmpty()) return extra;
  if (extra.isEmpty()) return path;
  bool pathEnds = path.endsWith('\\') || path.endsWith(':');
  bool extraStarts = extra.startsWith('\\');
  if (pathEnds && extraStarts) return path + extra.mid(1);
  if (pathEnds || extraStarts) return path + extra;
  return path + '\\' + extra;
}

QString AddTrailingBackslash(const QString& path) {
  return path.isEmpty() || path.endsWith('\\') ? path : path + '\\';
}

QString ZipLocalPath(const QString& name) {
  QString p = SetSlash(name, true);
  return QDir::isAbsolutePath(p) ? p : QDir::current().absoluteFilePath(p);
}

int EraseFile(const QString& name, bool final) {
  QString path = ZipLocalPath(name);
  if (!QFileInfo::exists(path)) return -1;
  if (!final && QFile::moveToTrash(path)) return 0;
  return QFile::remove(path) ? 0 : -1;
}

int ZipEraseFile(const QString& name, DeleteOpts how) { return EraseFile(name, how == htdFinal); }
