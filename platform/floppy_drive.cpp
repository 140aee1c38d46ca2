#include "floppy_drive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <cerrno>
#include <memory>
#include <vector>

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

bool FloppyDrive::Present() const { return Mapped() && QFileInfo(directory).isDir(); }

int FloppyVolumeState(const FloppyDrive& drive) {
  if (!drive.Present()) return kErrorNotReady;
  return drive.formatted ? 0 : kErrorNotFormatted;
}

namespace {

bool WriteFloppySetting(QChar letter, const QString& suffix, const QString& value) {
  FloppyDrive drive = FloppyDriveSettings(letter);
  if (!drive.Present() || drive.writeProtected) return false;
  TMemoryIniFile ini(ResolvePath(Globals().ProgramDir, QStringLiteral("ZARN.INI")));
  ini.WriteString(QStringLiteral("FLOPPY"), QString(drive.letter) + suffix, value);
  ini.UpdateFile();
  return true;
}

}  // namespace

bool SetFloppyLabel(QChar letter, const QString& label) {
  return WriteFloppySetting(letter, QStringLiteral("_LABEL"), label);
}

bool SetFloppyFormatted(QChar letter, bool formatted) {
  return WriteFloppySetting(letter, QStringLiteral("_FORMATTED"), formatted ? "1" : "0");
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
  drive.formatted = ini.ReadInteger(section, key + "_FORMATTED", 1) != 0;
  return drive;
}

bool IsFloppyLetterPath(const QString& path) {
  return path.size() >= 2 && path[1] == ':' &&
         (path[0].toUpper() == 'A' || path[0].toUpper() == 'B');
}

namespace {

// A name typed with its drive letter: the path itself, or its last component behind the folder
// a file dialog puts before what was typed ("/home/anna/a:\x.zip").
QString TypedLetterName(const QString& path) {
  if (IsFloppyLetterPath(path)) return path;
  const QString last = path.mid(path.lastIndexOf('/') + 1);
  return IsFloppyLetterPath(last) && last.size() > 2 && last[2] == '\\' ? last : QString();
}

}  // namespace

QString FloppyLetterPath(const QString& path) {
  const QString typed = TypedLetterName(path);
  if (!typed.isEmpty() || path.isEmpty()) return typed;
  for (QChar letter : {QChar('A'), QChar('B')}) {
    const FloppyDrive drive = FloppyDriveSettings(letter);
    if (!drive.Mapped() || !Inside(path, drive.directory)) continue;
    const QString dir = Clean(QFileInfo(drive.directory).absoluteFilePath());
    const QString p = Clean(QFileInfo(Clean(path)).absoluteFilePath());
    return QString(letter) + QStringLiteral(":\\") + p.mid(dir.size() + 1).replace('/', '\\');
  }
  return QString();
}

std::optional<FloppyDrive> FloppyDriveOf(const QString& path) {
  const QString letterPath = FloppyLetterPath(path);
  if (letterPath.isEmpty()) return std::nullopt;
  return FloppyDriveSettings(letterPath[0]);
}

QString LocalPath(const QString& path) {
  const QString letterPath = FloppyLetterPath(path);
  if (letterPath.isEmpty()) return QString(path).replace('\\', '/');
  const FloppyDrive drive = FloppyDriveSettings(letterPath[0]);
  if (!drive.Mapped()) return QString();
  QString rest = letterPath.mid(2);
  rest.replace('\\', '/');
  while (rest.startsWith('/')) rest.remove(0, 1);
  if (rest.isEmpty()) return drive.directory;
  return ResolvePath(drive.directory, rest);
}

QString ExistingLocalPath(const QString& path) {
  const QString local = LocalPath(path);
  return local.isEmpty() ? QString() : FindExistingPath(local);
}

qint64 FreeSpace(const QString& path) {
  if (const std::optional<FloppyDrive> drive = FloppyDriveOf(path)) return drive->Free();
  const QString local = LocalPath(path);
  QFileInfo at(local.isEmpty() ? QDir::currentPath() : QFileInfo(local).absoluteFilePath());
  while (!at.isDir() && !at.isRoot()) at.setFile(at.absolutePath());
  const QStorageInfo storage(at.absoluteFilePath());
  return storage.isValid() ? storage.bytesAvailable() : -1;
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

namespace {

int LastError() { return errno ? errno : 5; }

int CopyToFloppy(QFile& in, const QString& target) {
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

// Writes in whole into out (a temporary file beside the target until it is committed).
int CopyToSaveFile(QFile& in, QSaveFile& out) {
  if (!out.open(QIODevice::WriteOnly)) return LastError();
  while (!in.atEnd()) {
    const QByteArray block = in.read(1 << 20);
    if (block.isEmpty() && in.error() != QFileDevice::NoError) return 5;
    if (out.write(block) != block.size()) return LastError();
  }
  return out.flush() ? 0 : LastError();
}

}  // namespace

int CopyFileTo(const QString& source, const QString& target) {
  return CopyFilesTo({{source, target}});
}

int CopyFilesTo(const QList<TFileCopy>& copies) {
  std::vector<std::unique_ptr<QSaveFile>> pending;
  for (const TFileCopy& copy : copies) {
    QFile in(copy.source);
    if (!in.open(QIODevice::ReadOnly)) return 2;
    if (FloppyDriveOf(copy.target)) {
      if (int error = CopyToFloppy(in, copy.target)) return error;
      continue;
    }
    pending.push_back(std::make_unique<QSaveFile>(LocalPath(copy.target)));
    if (int error = CopyToSaveFile(in, *pending.back())) return error;  // the rest cancelled
  }
  for (const auto& out : pending)
    if (!out->commit()) return LastError();
  return 0;
}
