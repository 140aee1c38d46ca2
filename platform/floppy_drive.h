#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

// The floppy drives A: and B:, each mapped in the program directory's ZARN.INI to a directory
// that stands in for the disk:
//   [FLOPPY]
//   A=/srv/floppy-a        the disk's directory (no entry: the drive is not there)
//   A_CAPACITY=1457664     bytes the disk holds
//   A_LABEL=MENTES         the volume label
//   A_WRITEPROTECT=0       1: every write fails as on a write-protected disk
// A path lies on a drive when it begins with the drive's letter and ":" (any case), or when it
// lies inside the drive's directory.
struct FloppyDrive {
  QChar letter;       // 'A' or 'B'
  QString directory;  // empty: not mapped
  qint64 capacity = 1457664;
  QString label;
  bool writeProtected = false;

  bool Mapped() const { return !directory.isEmpty(); }
  // Bytes in use (every file under the directory) and capacity minus them; -1 when unmapped.
  qint64 Used() const;
  qint64 Free() const;
};

// The operating system's error codes the program gives a meaning to.
inline constexpr int kErrorWriteProtect = 19;
inline constexpr int kErrorDiskFull = 112;
inline constexpr int kErrorPathNotFound = 3;

// The settings of drive letter ('A' or 'B', any case) from the program directory.
FloppyDrive FloppyDriveSettings(QChar letter);
// The drive a path lies on; nullopt for a path on no floppy.
std::optional<FloppyDrive> FloppyDriveOf(const QString& path);
// True when the path names a drive letter A: or B: (any case).
bool IsFloppyLetterPath(const QString& path);
// A path as it is on this machine: "a:\x.zip" becomes the drive's directory + "/x.zip" (existing
// components found without regard to case); other paths have "\" made "/". Empty for a drive
// letter that is not mapped.
QString LocalPath(const QString& path);

// A file written through the drive layer: on a floppy the writes obey its write protection and
// capacity. Errors are the operating system's codes (0: none).
class TDiskFile {
 public:
  // Creates or truncates path.
  int Create(const QString& path);
  int Write(const QByteArray& bytes);
  int Write(const char* data, qint64 size);
  void Close() { m_file.close(); }
  QString LocalName() const { return m_file.fileName(); }

 private:
  QFile m_file;
  std::optional<FloppyDrive> m_drive;
};

// Copies source over target through the drive layer; on a floppy through TDiskFile, elsewhere
// through a temporary file renamed at the end, so a failed copy leaves the old target. Returns
// the error code (0: copied).
int CopyFileTo(const QString& source, const QString& target);
