#include "floppy_drive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#include "app_globals.h"
#include "file_lookup.h"
#include "memory_ini_file.h"

namespace {

QString Clean(const QString& path) { return QDir::cleanPath(QString(path).replace('\\', '/')); }

bool Inside(const QString& path, const QString& directory) {
  const QString dir = Clean(QFileInfo(directory).absoluteFilePath());
  const QString p = Clean(QFileInfo(Clean(path)).absoluteFilePath());
  return p == dir || p.startsWith(dir + '/');
}

}  // namespace

qint64 FloppyDrive::Used() const {
  if (!Mapped()) return -1;
  qint64 used = 0;
  QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    used += it.fileInfo().size();
  }
  return used;
}

qint64 FloppyDrive::Free() const {
  if (!Mapped()) return -1;
  return qMax<qint64>(0, capacity - Used());
}

FloppyDrive FloppyDriveSettings(QChar letter) {
  FloppyDrive drive;
  drive.letter = letter.toUpper();
  TMemoryIniFile ini(ResolvePath(Globals().ProgramDir, QStringLiteral("ZARN.INI")));
  const QString section = QStringLiteral("FLOPPY");
  const QString key = drive.letter;
  drive.directory = ini.ReadString(section, key, QString()).trimmed();
  const QString capacity = ini.ReadString(section, key + "_CAPACITY", QString()).trimmed();
  bool ok = false;
  const qint64 value = capacity.toLongLong(&ok);
  if (ok && value > 0) drive.capacity = value;
  drive.label = ini.ReadString(section, key + "_LABEL", QString());
  drive.writeProtected = ini.ReadInteger(section, key + "_WRITEPROTECT", 0) != 0;
  return drive;
}

bool IsFloppyLetterPath(const QString& path) {
  return path.size() >= 2 && path[1] == ':' &&
         (path[0].toUpper() == 'A' || path[0].toUpper() == 'B');
}

std::optional<FloppyDrive> FloppyDriveOf(const QString& path) {
  if (IsFloppyLetterPath(path)) return FloppyDriveSettings(path[0]);
  for (QChar letter : {QChar('A'), QChar('B')}) {
    FloppyDrive drive = FloppyDriveSettings(letter);
    if (drive.Mapped() && Inside(path, drive.directory)) return drive;
  }
  return std::nullopt;
}

QString LocalPath(const QString& path) {
  if (!IsFloppyLetterPath(path)) return QString(path).replace('\\', '/');
  const FloppyDrive drive = FloppyDriveSettings(path[0]);
  if (!drive.Mapped()) return QString();
  QString rest = path.mid(2);
  rest.replace('\\', '/');
  while (rest.startsWith('/')) rest.remove(0, 1);
  if (rest.isEmpty()) return drive.directory;
  return ResolvePath(drive.directory, rest);
}

int TDiskFile::Create(const QString& path) {
  m_drive = FloppyDriveOf(path);
  const QString local = LocalPath(path);
  if (m_drive && !m_drive->Mapped()) return kErrorPathNotFound;
  if (local.isEmpty()) return kErrorPathNotFound;
  if (m_drive && m_drive->writeProtected) return kErrorWriteProtect;
  m_file.close();
  m_file.setFileName(local);
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return errno ? errno : 5;
  return 0;
}

int TDiskFile::Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }

int TDiskFile::Write(const char* data, qint64 size) {
  if (!m_file.isOpen()) return 6;
  if (m_drive) {
    m_file.flush();
    if (m_drive->Free() < size) return kErrorDiskFull;
  }
  if (m_file.write(data, size) != size || !m_file.flush()) return errno ? errno : 5;
  return 0;
}

int CopyFileTo(const QString& source, const QString& target) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return 2;
  if (FloppyDriveOf(target)) {
    TDiskFile out;
    if (int error = out.Create(target)) return error;
    while (!in.atEnd()) {
      const QByteArray block = in.read(1 << 20);
      if (int error = out.Write(block)) {
        out.Close();
        QFile::remove(out.LocalName());
        return error;
      }
    }
    out.Close();
    return 0;
  }
  QSaveFile out(LocalPath(target));
  if (!out.open(QIODevice::WriteOnly)) return errno ? errno : 5;
  while (!in.atEnd()) {
    const QByteArray block = in.read(1 << 20);
    if (out.write(block) != block.size()) {
      out.cancelWriting();
      return errno ? errno : 5;
    }
  }
  return out.commit() ? 0 : (errno ? errno : 5);
}
