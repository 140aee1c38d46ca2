#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class QFile;

// Reading the end record and the central directory of a zip archive. Nothing read from the file
// is trusted: every read is bounded by the file, and a failure gives the message id of the zip
// component family that names it.

// The 42 bytes of a central header after its signature, in file order.
struct ZipCentralHeader {
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeeded = 0;
  uint16_t Flag = 0;
  uint16_t ComprMethod = 0;
  uint16_t ModifTime = 0;
  uint16_t ModifDate = 0;
  uint32_t CRC32 = 0;
  uint32_t ComprSize = 0;
  uint32_t UncomprSize = 0;
  uint16_t FileNameLength = 0;
  uint16_t ExtraFieldLength = 0;
  uint16_t FileCommentLen = 0;
  uint16_t StartOnDisk = 0;
  uint16_t IntFileAttrib = 0;
  uint32_t ExtFileAttrib = 0;
  uint32_t RelOffLocalHdr = 0;
};

struct ZipCentralEntry : ZipCentralHeader {
  QByteArray FileName;
  QByteArray ExtraData;
  QByteArray FileComment;
};

struct ZipEndOfCentral {
  uint16_t ThisDiskNo = 0;
  uint16_t CentralDiskNo = 0;
  uint16_t CentralEntries = 0;
  uint16_t TotalEntries = 0;
  uint32_t CentralSize = 0;
  uint32_t CentralOffset = 0;
  uint16_t ZipCommentLen = 0;
};

struct ZipDirectory {
  qint64 FileSize = 0;
  bool FirstIsLocalHeader = false;  // a local header, or a spanning marker then one
  qint64 EocPosition = -1;
  ZipEndOfCentral Eoc;
  QByteArray ZipComment;
  qint64 Surplus = 0;             // bytes after the record and its comment
  bool GarbageWarning = false;    // the surplus is not harmless padding
  bool StructureWarning = false;  // the directory does not end where the end record begins
  QList<ZipCentralEntry> Entries;
};

constexpr qint64 kZipMaxArchiveSize = qint64(4) * 1024 * 1024 * 1024;

// Finds the end record; 0 or 11036 (none), 10205 (4 GiB or more), 11008 (read error).
int ReadZipEndRecord(QFile& file, ZipDirectory& dir);
// Reads the entries the end record announces; 0 or 10201, 11013, 11015, 11017, 11022. Entries
// read before a failure stay in dir.Entries.
int ReadZipCentralDirectory(QFile& file, ZipDirectory& dir);
// Both, on the named file; 11002 when it cannot be opened.
int ReadZipDirectory(const QString& path, ZipDirectory& dir);

// Entry names and comments: bit 11 of the flags marks UTF-8; "oem" texts are code page 852;
// others are UTF-8 when valid, else Windows-1250.
bool ZipNameIsOem(uint16_t versionMadeBy, bool oemCodePage, bool autoCodePage);
QString ZipDecodeText(const QByteArray& raw, bool utf8Flag, bool oem);
// Encodes a new name: CP852 under the OEM code page, else UTF-8.
QByteArray ZipEncodeName(const QString& name, bool oem);
