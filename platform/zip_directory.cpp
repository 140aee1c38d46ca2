#include "zip_directory.h"

#include <QFile>
#include <QStringDecoder>

#include "codepage.h"

namespace {

uint16_t U16(const char* p) { return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8)); }
uint32_t U32(const char* p) { return uint32_t(U16(p)) | (uint32_t(U16(p + 2)) << 16); }

bool IsSig(const char* p, char a, char b) {
  return p[0] == 'P' && p[1] == 'K' && p[2] == a && p[3] == b;
}

bool ReadAt(QFile& file, qint64 pos, qint64 size, QByteArray& out) {
  if (pos < 0 || size < 0 || pos + size > file.size() || !file.seek(pos)) return false;
  out = file.read(size);
  return out.size() == size;
}

ZipEndOfCentral ParseEoc(const char* p) {
  ZipEndOfCentral e;
  e.ThisDiskNo = U16(p + 4);
  e.CentralDiskNo = U16(p + 6);
  e.CentralEntries = U16(p + 8);
  e.TotalEntries = U16(p + 10);
  e.CentralSize = U32(p + 12);
  e.CentralOffset = U32(p + 16);
  e.ZipCommentLen = U16(p + 20);
  return e;
}

// A candidate counts only when its comment fits in the file and its directory stands before it
// and begins with a central header (or is empty).
bool ValidCandidate(QFile& file, qint64 pos, const ZipEndOfCentral& e) {
  if (pos + 22 + e.ZipCommentLen > file.size()) return false;
  if (qint64(e.CentralOffset) + e.CentralSize > pos) return false;
  if (e.CentralSize == 0) return e.TotalEntries == 0;
  QByteArray sig;
  return ReadAt(file, e.CentralOffset, 4, sig) && IsSig(sig.constData(), 1, 2);
}

}  // namespace

int ReadZipEndRecord(QFile& file, ZipDirectory& dir) {
  dir.FileSize = file.size();
  QByteArray head;
  if (ReadAt(file, 0, qMin<qint64>(8, dir.FileSize), head) && head.size() >= 4) {
    const char* h = head.constData();
    dir.FirstIsLocalHeader =
        IsSig(h, 3, 4) || (head.size() >= 8 && IsSig(h, 7, 8) && IsSig(h + 4, 3, 4));
  }
  if (dir.FileSize >= kZipMaxArchiveSize) return 10205;
  if (dir.FileSize < 22) return 11036;
  QByteArray last;
  if (!ReadAt(file, dir.FileSize - 22, 22, last)) return 11008;
  qint64 found = -1;
  ZipEndOfCentral eoc;
  if (IsSig(last.constData(), 5, 6)) {
    eoc = ParseEoc(last.constData());
    if (ValidCandidate(file, dir.FileSize - 22, eoc)) found = dir.FileSize - 22;
  }
  if (found < 0) {
    qint64 tailSize = qMin<qint64>(65557, dir.FileSize);
    QByteArray tail;
    if (!ReadAt(file, dir.FileSize - tailSize, tailSize, tail)) return 11008;
    for (qint64 i = tailSize - 23; i >= 0 && found < 0; --i) {
      const char* p = tail.constData() + i;
      if (!IsSig(p, 5, 6)) continue;
      eoc = ParseEoc(p);
      if (ValidCandidate(file, dir.FileSize - tailSize + i, eoc))
        found = dir.FileSize - tailSize + i;
    }
  }
  if (found < 0) return 11036;
  dir.EocPosition = found;
  dir.Eoc = eoc;
  if (eoc.ZipCommentLen > 0 && !ReadAt(file, found + 22, eoc.ZipCommentLen, dir.ZipComment))
    return 11008;
  qint64 end = found + 22 + eoc.ZipCommentLen;
  dir.Surplus = dir.FileSize - end;
  if (dir.Surplus > 0) {
    bool padding = dir.Surplus < 512;
    QByteArray rest;
    if (padding && ReadAt(file, end, dir.Surplus, rest)) {
      for (char c : rest)
        if (uint8_t(c) >= 47) padding = false;
    }
    dir.GarbageWarning = !padding;
  }
  return 0;
}

int ReadZipCentralDirectory(QFile& file, ZipDirectory& dir) {
  dir.Entries.clear();
  const ZipEndOfCentral& e = dir.Eoc;
  dir.StructureWarning = qint64(e.CentralOffset) + e.CentralSize != dir.EocPosition;
  if (e.TotalEntries == 0) return 0;
  if (!file.seek(e.CentralOffset)) return 10201;
  for (int n = 0; n < e.TotalEntries; ++n) {
    QByteArray fixed = file.read(46);
    if (fixed.size() != 46) return 11013;
    const char* p = fixed.constData();
    if (!IsSig(p, 1, 2)) return 11015;
    ZipCentralEntry z;
    z.VersionMadeBy = U16(p + 4);
    z.VersionNeeded = U16(p + 6);
    z.Flag = U16(p + 8);
    z.ComprMethod = U16(p + 10);
    z.ModifTime = U16(p + 12);
    z.ModifDate = U16(p + 14);
    z.CRC32 = U32(p + 16);
    z.ComprSize = U32(p + 20);
    z.UncomprSize = U32(p + 24);
    z.FileNameLength = U16(p + 28);
    z.ExtraFieldLength = U16(p + 30);
    z.FileCommentLen = U16(p + 32);
    z.StartOnDisk = U16(p + 34);
    z.IntFileAttrib = U16(p + 36);
    z.ExtFileAttrib = U32(p + 38);
    z.RelOffLocalHdr = U32(p + 42);
    z.FileName = file.read(z.FileNameLength);
    if (z.FileName.size() != z.FileNameLength) return 11017;
    z.ExtraData = file.read(z.ExtraFieldLength);
    z.FileComment = file.read(z.FileCommentLen);
    if (z.ExtraData.size() != z.ExtraFieldLength || z.FileComment.size() != z.FileCommentLen)
      return 11022;
    dir.Entries.append(std::move(z));
  }
  return 0;
}

int ReadZipDirectory(const QString& path, ZipDirectory& dir) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return 11002;
  int rc = ReadZipEndRecord(file, dir);
  return rc ? rc : ReadZipCentralDirectory(file, dir);
}

bool ZipNameIsOem(uint16_t versionMadeBy, bool oemCodePage, bool autoCodePage) {
  int host = versionMadeBy >> 8, version = versionMadeBy & 0xFF;
  return (autoCodePage && host == 0) || host == 6 || (host == 11 && version == 50) || oemCodePage;
}

QString ZipDecodeText(const QByteArray& raw, bool utf8Flag, bool oem) {
  if (utf8Flag) return QString::fromUtf8(raw);
  if (oem) return ToUnicode(raw, CodePage::Cp852);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(raw);
  if (!utf8.hasError()) return text;
  return ToUnicode(raw, CodePage::Cp1250);
}

QByteArray ZipEncodeName(const QString& name, bool oem) {
  return oem ? FromUnicode(name, CodePage::Cp852) : name.toUtf8();
}
