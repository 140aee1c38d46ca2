#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <optional>

// The floppy drives A: and B:, each mapped in the program directory's ZARN.INI to a directory
// that stands in for the disk:
//   [FLOPPY]
//   A=/srv/floppy-a        the disk's directory (no entry: the drive is not there)
//   A_CAPACITY=1457664     bytes the disk holds
//   A_LABEL=MENTES         the volume label
//   A_WRITEPROTECT=0       1: every write fails as on a write-protected disk
// A path lies on a drive when it begins with the drive's letter and ":" (any case), when its last
// component is a name typed as "a:\x.zip" (a file dialog puts it behind its current folder), or
// when it lies inside the drive's directory.
struct FloppyDrive {
  QChar letter;       // 'A' or 'B'
  QString directory;  // empty: not mapped
  qint64 capacity = 1457664;
  QString label;
  bool writeProtected = false;
  bool formatted = true;  // A_FORMATTED=0: a disk that is not formatted

  bool Mapped() const { return !directory.isEmpty(); }
  // A disk is in the drive when its directory exists.
  bool Present() const;
  // Bytes in use (every file under the directory) and capacity minus them; -1 when unmapped.
  qint64 Used() const;
  qint64 Free() const;
};

// The operating system's error codes the program gives a meaning to.
inline constexpr int kErrorWriteProtect = 19;
inline constexpr int kErrorDiskFull = 112;
inline constexpr int kErrorPathNotFound = 3;

inline constexpr int kErrorNotReady = 21;
inline constexpr int kErrorNotFormatted = 31;

// Reading the volume of a mapped drive: 0, kErrorNotReady (no disk), kErrorNotFormatted.
int FloppyVolumeState(const FloppyDrive& drive);
// Writes the disk's label (and with formatted the formatted flag) into the settings; false
// when the drive is not mapped, holds no disk or is write-protected.
bool SetFloppyLabel(QChar letter, const QString& label);
bool SetFloppyFormatted(QChar letter, bool formatted);

// The settings of drive letter ('A' or 'B', any case) from the program directory.
FloppyDrive FloppyDriveSettings(QChar letter);
// The drive a path lies on; nullopt for a path on no floppy.
std::optional<FloppyDrive> FloppyDriveOf(const QString& path);
// True when the path names a drive letter A: or B: (any case).
bool IsFloppyLetterPath(const QString& path);
// The path written with its drive letter when it lies on a floppy: "a:\x.zip" as typed (also
// behind the folder of a file dialog), "A:\sub\x.zip" for the directory of A: + "/sub/x.zip";
// empty for a path on no floppy.
QString FloppyLetterPath(const QString& path);
// A path as it is on this machine: a path on a floppy becomes the drive's directory + the rest,
// existing components found without regard to case (as on the disk); other paths have "\" made
// "/". Empty for a drive letter that is not mapped.
QString LocalPath(const QString& path);
// The file or folder path names as it stands on this machine (LocalPath), its name found without
// regard to case; empty when there is none.
QString ExistingLocalPath(const QString& path);
// Bytes free for new files where path lies (a file or a folder, existing or not): a floppy's
// free space, elsewhere that of the file system of the nearest existing folder; -1 unknown.
qint64 FreeSpace(const QString& path);

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
// Several such copies, in order, that belong together (an archive and its description): every
// target off a floppy is written in full beside itself before the first one is put in place, so
// a failure (a full disk) leaves all of them as they were. The first error code (0: copied).
struct TFileCopy {
  QString source;
  QString target;
};
int CopyFilesTo(const QList<TFileCopy>& copies);
