#include "zip_sfx.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "codepage.h"
#include "file_lookup.h"
#include "zip_bytes.h"
#include "zip_messages.h"
#include "zip_utils.h"

namespace {

const QString kResourceDir = QStringLiteral(":/sfx/");

using namespace ZipBytes;
QByteArray Le32(uint32_t v) {
  QByteArray b(4, '\0');
  Put32(b.data(), v);
  return b;
}

[[noreturn]] void Fail(int id) { throw EZipArchiver::CreateResDisp(id, true); }
[[noreturn]] void FailText(const char* text) {
  throw EZipArchiver::CreateDisp(QString::fromLatin1(text), true);
}

// The stream errors of a file that cannot be made or opened, caught with the others.
[[noreturn]] void FailFile(const char* text, const QString& name) {
  throw EZipArchiver::CreateDisp(QString::fromLatin1(text).arg(SetSlash(name, false)), true);
}

void WriteAll(QIODevice& target, const QByteArray& bytes, int id) {
  if (target.write(bytes) != bytes.size()) Fail(id);
}

// The header's single-byte texts are in the ANSI code page.
QByteArray HeaderText(const QString& text) { return FromUnicode(text, CodePage::Cp1250); }
QString HeaderString(const QByteArray& bytes) { return ToUnicode(bytes, CodePage::Cp1250); }

QString ResourcePath(const QString& name) { return kResourceDir + name; }

QByteArray ReadResource(const QString& name, bool& found) {
  QFile f(ResourcePath(name));
  found = f.open(QIODevice::ReadOnly);
  return found ? f.readAll() : QByteArray();
}

// The platform's search order for a bare file name: the program's directory, the current
// directory, then PATH; any case.
QString SearchPath(const QString& name) {
  QStringList dirs{QCoreApplication::applicationDirPath(), QDir::currentPath()};
  dirs += QString::fromLocal8Bit(qgetenv("PATH")).split(':', Qt::SkipEmptyParts);
  for (const QString& dir : dirs) {
    if (dir.isEmpty()) continue;
    QString found = FindExistingPath(dir + "/" + name);
    if (!found.isEmpty() && QFileInfo(found).isFile() && found.size() <= 261) return found;
  }
  return {};
}

bool IsFile(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

// Stub, header and archive part go into a temporary file beside the target; the target is
// replaced only when all of it was written.
class TargetWriter {
 public:
  explicit TargetWriter(const QString& target) : m_target(target) {
    m_file.setFileTemplate(QFileInfo(target).absolutePath() + "/.zarn_sfx_XXXXXX");
    if (!m_file.open()) FailFile("Cannot create file \"%1\"", target);
  }
  QFile& File() { return m_file; }
  void Commit(uint8_t deleteMode) {
    m_file.flush();
    m_file.close();
    if (QFileInfo::exists(m_target))
      ZipEraseFile(SetSlash(m_target, false), deleteMode == 1 ? htdAllowUndo : htdFinal);
    if (QFileInfo::exists(m_target) || !m_file.rename(m_target))
      FailFile("Cannot create file \"%1\"", m_target);
    m_file.setAutoRemove(false);
  }

 private:
  QString m_target;
  QTemporaryFile m_file;
};

struct LangName {
  uint16_t primary;
  QLocale::Language language;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

TCustomZipSFX::TCustomZipSFX(QObject* owner) : m_owner(owner) {
  SFXPath = "ZASFX" + Language + ".BIN";
}

void TCustomZipSFX::SetMessage(const QString& text) {
  QString t = text;
  MessageStyle = 0;
  if (t.startsWith(QChar(1))) {
    MessageStyle = 0x41;
    t.remove(0, 1);
  } else if (t.startsWith(QChar(2))) {
    MessageStyle = 0x24;
    t.remove(0, 1);
  }
  SFXMessage = t;
}

namespace {
struct OptBit {
  SFXOptsEnum member;
  uint16_t bit;
};
const OptBit kOptBits[] = {{SFXAskCmdLine, 0x0001},
                           {SFXAskFiles, 0x0002},
                           {SFXHideOverWriteBox, 0x0004},
                           {SFXAutoRun, 0x0008},
                           {SFXNoSuccessMsg, 0x0010}};
}  // namespace

SFXOpts TCustomZipSFX::GetOptions() const {
  SFXOpts s;
  for (const OptBit& b : kOptBits)
    if (Options & b.bit) s << b.member;
  return s;
}

void TCustomZipSFX::SetOptions(const SFXOpts& options) {
  uint16_t w = 0;
  for (const OptBit& b : kOptBits)
    if (options.Contains(b.member)) w |= b.bit;
  Options = w;
}

OvrOpts TCustomZipSFX::GetOverWriteMode() const {
  switch (OverwriteCode) {
    case 0:
      return OvrAlways;
    case 1:
      return OvrNever;
    default:
      return OvrConfirm;
  }
}

void TCustomZipSFX::SetOverWriteMode(int mode) {
  switch (mode) {
    case OvrAlways:
      OverwriteCode = 0;
      break;
    case OvrNever:
      OverwriteCode = 1;
      break;
    default:
      OverwriteCode = 2;
  }
}

void TCustomZipSFX::BuildSFX(bool automatic) {
  const bool detached = Options & kSFXDetachedBit;
  QString source = SourceFile.isEmpty() ? QString() : ZipLocalPath(SourceFile);
  bool sourceExists = IsFile(source);
  if (!sourceExists && !(automatic && !detached)) Fail(10102);
  QString target = ZipLocalPath(TargetFile);
  // Building over its own source would delete the archive before reading it.
  if (!automatic && sourceExists && QFileInfo(source) == QFileInfo(target)) Fail(10180);

  TSFXBinStream stub(SFXPath, Language);
  SFXPath = stub.FileName.isEmpty() ? QString() : SetSlash(stub.FileName, false);

  TSFXHeaderStream header(*this);
  std::unique_ptr<TZipArchiveStream> archive =
      automatic ? TZipArchiveStream::CreateEmpty() : TZipArchiveStream::Create(source);

  TargetWriter out(target);
  QFile& file = out.File();
  WriteAll(file, stub.Data, 10184);
  WriteAll(file, header.Data, 10140);
  if (detached) WriteAll(file, SFXArchiveNameRecord(SourceFile), 10140);
  if (detached)
    archive->CopyDirectoryTo(file);
  else
    archive->CopyArchiveTo(file);
  if (!SFXIcon.isEmpty()) ReplaceIcon(file, SFXIcon);
  archive.reset();
  out.Commit(DeleteMode);
}

// ---------------------------------------------------------------------------------------------

TSFXBinStream::TSFXBinStream(const QString& path, const QString& language) {
  bool hasBin = false, hasSize = false;
  QByteArray bin = ReadResource("ZASFX" + language + "_BIN", hasBin);
  QByteArray size = ReadResource("ZASFX" + language + "_BIN_SIZE", hasSize);
  if (hasBin && hasSize && size.size() >= 4) {
    uint32_t n = U32(size.constData());
    if (n > 0 && qint64(n) <= bin.size()) {
      Data = bin.left(n);
      return;
    }
  }
  const QString fileName = "ZASFX" + language + ".BIN";
  QString p = path;
  if (p.isEmpty() || p.endsWith('\\') || p.endsWith('/')) p += fileName;
  QString local = FindExistingPath(ZipLocalPath(p));
  if (!IsFile(local)) local = SearchPath(fileName);
  if (!IsFile(local)) local = SearchPath(QStringLiteral("ZASFXus.BIN"));
  if (!IsFile(local)) Fail(10802);
  QFile f(local);
  if (!f.open(QIODevice::ReadOnly)) Fail(10802);
  Data = f.readAll();
  FileName = local;
}

// ---------------------------------------------------------------------------------------------

TSFXHeaderStream::TSFXHeaderStream(TCustomZipSFX& owner, QIODevice* source)
    : m_owner(owner), m_source(source) {
  if (source) return;
  const struct {
    const QString& text;
    int id;
  } checks[] = {{owner.SFXMessage, 10805},
                {owner.SFXDefaultDir, 10806},
                {owner.SFXCaption, 10807},
                {owner.SFXCommandLine, 10808},
                {owner.FallbackPath, 10809}};
  for (const auto& c : checks)
    if (c.text.size() > 255) Fail(c.id);
  QByteArray texts[] = {HeaderText(owner.SFXCaption), HeaderText(owner.SFXDefaultDir),
                        HeaderText(owner.SFXCommandLine), HeaderText(owner.FallbackPath),
                        HeaderText(owner.SFXMessage)};
  int s = 18;
  for (const QByteArray& t : texts) s += int(t.size());
  s = (s + 3) / 4 * 4;
  Data = QByteArray(s + 8, '\0');
  char* d = Data.data();
  std::memcpy(d, "DZ\0\1", 4);
  Put16(d + 4, uint16_t(s));
  Put16(d + 6, owner.Options);
  d[8] = char(owner.OverwriteCode);
  for (int i = 0; i < 5; ++i) d[9 + i] = char(texts[i].size());
  Put32(d + 14, owner.MessageStyle);
  int at = 18;
  for (const QByteArray& t : texts) {
    std::memcpy(d + at, t.constData(), t.size());
    at += int(t.size());
  }
  std::memcpy(d + s, "DZ\n\1", 4);
  Put32(d + s + 4, uint32_t(s));
}

bool TSFXHeaderStream::ReadHeader() {
  QIODevice& src = *m_source;
  const qint64 start = src.pos();
  auto readAt = [&src](qint64 pos, qint64 n, QByteArray& out) {
    if (pos < 0 || !src.seek(pos)) return false;
    out = src.read(n);
    return out.size() == n;
  };
  qint64 pos = start;
  QByteArray b;
  if (readAt(pos - 12, 12, b) && b.startsWith(QByteArray("DZ\x14\x02", 4))) {
    qint64 back = qint64(U32(b.constData() + 4)) + U32(b.constData() + 8) + 24;
    if (back > pos) {
      src.seek(start);
      return false;
    }
    pos -= back;
  }
  QByteArray trailer, head;
  bool ok = readAt(pos - 8, 8, trailer) && trailer.startsWith(QByteArray("DZ\n\1", 4));
  qint64 s = ok ? U32(trailer.constData() + 4) : 0;
  ok = ok && s >= 18 && readAt(pos - 8 - s, 18, head) && head.startsWith(QByteArray("DZ\0\1", 4));
  if (!ok) {
    src.seek(start);
    return false;
  }
  const char* h = head.constData();
  m_owner.OverwriteCode = uint8_t(h[8]);
  m_owner.Options = U16(h + 6);
  m_owner.MessageStyle = U32(h + 14);
  // The texts must lie inside the header.
  int total = 0;
  for (int i = 0; i < 5; ++i) total += uint8_t(h[9 + i]);
  if (18 + total > s) Fail(10903);
  QString* texts[] = {&m_owner.SFXCaption, &m_owner.SFXDefaultDir, &m_owner.SFXCommandLine,
                      &m_owner.FallbackPath, &m_owner.SFXMessage};
  QString values[5];
  for (int i = 0; i < 5; ++i) {
    int len = uint8_t(h[9 + i]);
    QByteArray t = src.read(len);
    if (t.size() != len) Fail(10903);
    values[i] = HeaderString(t);
  }
  for (int i = 0; i < 5; ++i) *texts[i] = values[i];
  src.seek(start);
  return true;
}

bool TSFXHeaderStream::ReadOldHeader() {
  QIODevice& src = *m_source;
  const qint64 start = src.pos();
  qint64 n = qMin<qint64>(1032, start);
  if (!src.seek(start - n)) Fail(11036);
  QByteArray b = src.read(n);
  if (b.size() != n) Fail(11036);
  src.seek(start);
  if (n < 3) return false;
  qint64 i = 0;
  for (; i <= n - 3; ++i)
    if (b[i] == 'M' && b[i + 1] == 'P' && (b[i + 2] == 'U' || b[i + 2] == 'V')) break;
  if (i > n - 3) return false;
  bool mpv = b[i + 2] == 'V';
  // Texts cut at the end of what was read stay as far as they go.
  auto byteAt = [&b](qint64 k) { return k < b.size() ? uint8_t(b[k]) : uint8_t(0); };
  auto textAt = [&b](qint64 k, int len) {
    return k < b.size() ? HeaderString(b.mid(k, len)) : QString();
  };
  uint8_t flag = byteAt(i + 3);
  uint16_t options = kSFXOldHeaderBit;
  uint8_t overwrite = 2;
  if (flag & 0x01) options |= 0x0001;
  if (flag & 0x02) options |= 0x0002;
  if (flag & 0x04) options |= 0x0004;
  if (flag & 0x08) overwrite = 0;
  if (flag & 0x10) overwrite = 1;
  if (flag & 0x40) options |= 0x0008;
  if (mpv && (flag & 0x80)) options |= 0x0010;
  m_owner.Options = options;
  m_owner.OverwriteCode = overwrite;
  m_owner.FallbackPath.clear();
  if (!mpv) {
    int l1 = byteAt(i + 4), l2 = byteAt(i + 5), l3 = byteAt(i + 6);
    m_owner.SFXCaption = textAt(i + 7, l1);
    m_owner.SFXDefaultDir = textAt(i + 7 + l1, l2);
    m_owner.SFXCommandLine = textAt(i + 7 + l1 + l2, l3);
    m_owner.SFXMessage.clear();
  } else {
    qint64 k = i + 8;
    QString values[4];
    for (QString& v : values) {
      int len = byteAt(k);
      v = textAt(k + 1, len);
      k += 1 + len;
    }
    m_owner.SFXCaption = values[0];
    m_owner.SFXDefaultDir = values[1];
    m_owner.SFXCommandLine = values[2];
    m_owner.SetMessage(values[3]);
  }
  return true;
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<TZipArchiveStream> TZipArchiveStream::Create(const QString& fileName) {
  std::unique_ptr<TZipArchiveStream> s(new TZipArchiveStream);
  s->m_fileName = fileName;
  auto f = std::make_unique<QFile>(fileName);
  if (!f->open(QIODevice::ReadOnly)) FailFile("Cannot open file \"%1\"", fileName);
  s->m_file = std::move(f);
  return s;
}

std::unique_ptr<TZipArchiveStream> TZipArchiveStream::CreateEmpty() {
  std::unique_ptr<TZipArchiveStream> s(new TZipArchiveStream);
  s->m_eoc = QByteArray(22, '\0');
  std::memcpy(s->m_eoc.data(), "PK\5\6", 4);
  return s;
}

TZipArchiveStream::~TZipArchiveStream() = default;

qint64 TZipArchiveStream::Read(char* buffer, qint64 count) {
  if (m_file) return m_file->read(buffer, count);
  qint64 n = qBound<qint64>(qint64(0), qMin<qint64>(count, 22 - m_position), qint64(22));
  std::memcpy(buffer, m_eoc.constData() + m_position, n);
  m_position += n;
  return n;
}

qint64 TZipArchiveStream::Seek(qint64 offset, int origin) {
  if (m_file) {
    qint64 base = origin == 1 ? m_file->pos() : origin == 2 ? m_file->size() : 0;
    m_file->seek(base + offset);
    return m_file->pos();
  }
  qint64 base = origin == 1 ? m_position : origin == 2 ? 22 : 0;
  m_position = qBound<qint64>(qint64(0), base + offset, qint64(22));
  return m_position;
}

qint64 TZipArchiveStream::LocateEnd() {
  auto* file = qobject_cast<QFile*>(m_file.get());
  ZipDirectory dir;
  // The validated end record, not the first signature that happens to fit.
  if (!file || ReadZipEndRecord(*file, dir) != 0) Fail(11011);
  if (!file->seek(dir.EocPosition)) Fail(11011);
  m_eoc = file->read(22);
  if (m_eoc.size() != 22 || !m_eoc.startsWith(QByteArray("PK\5\6", 4))) Fail(11011);
  return dir.EocPosition;
}

void TZipArchiveStream::CopyEmpty(QIODevice& target) {
  Put32(m_eoc.data() + 16, uint32_t(target.size()));
  target.seek(target.size());
  if (target.write(m_eoc) != 22) Fail(11030);
}

namespace {

void CopyBytes(QIODevice& from, QIODevice& to, qint64 count, int readId, int writeId) {
  std::vector<char> buf(1 << 16);
  while (count > 0) {
    qint64 n = from.read(buf.data(), qMin<qint64>(count, qint64(buf.size())));
    if (n <= 0) Fail(readId);
    if (to.write(buf.data(), n) != n) Fail(writeId);
    count -= n;
  }
}

QByteArray ReadBytes(QIODevice& from, qint64 count, int id) {
  QByteArray b = from.read(count);
  if (b.size() != count) Fail(id);
  return b;
}

}  // namespace

void TZipArchiveStream::CopyArchiveTo(QIODevice& target) {
  if (!m_file) return CopyEmpty(target);
  const qint64 d0 = target.size();
  target.seek(d0);
  const qint64 p0 = m_file->pos();
  const qint64 q = LocateEnd();
  const uint16_t thisDisk = U16(m_eoc.constData() + 4);
  const uint16_t entries = U16(m_eoc.constData() + 8);
  const qint64 cdSize = U32(m_eoc.constData() + 12), cdOffset = U32(m_eoc.constData() + 16);
  const qint64 shift = q - (cdOffset + cdSize);
  if (shift < 0) Fail(11011);
  m_file->seek(p0);
  if (cdOffset + shift - p0 > 0) CopyBytes(*m_file, target, cdOffset + shift - p0, 10184, 10184);
  m_file->seek(cdOffset + shift);
  const qint64 delta = d0 + shift - p0;
  for (int i = 0; i < entries; ++i) {
    QByteArray fixed = m_file->read(46);
    if (fixed.size() != 46 || !fixed.startsWith(QByteArray("PK\1\2", 4))) Fail(11013);
    char* f = fixed.data();
    if (U16(f + 34) == thisDisk) {
      qint64 off = qint64(U32(f + 42)) + delta;
      if (off < 0 || off > 0xFFFFFFFFLL) Fail(11013);
      Put32(f + 42, uint32_t(off));
    }
    qint64 rest = qint64(U16(f + 28)) + U16(f + 30) + U16(f + 32);
    QByteArray tail = ReadBytes(*m_file, rest, 11019);
    if (target.write(fixed) != 46 || target.write(tail) != rest) Fail(11029);
  }
  QByteArray eoc = m_file->read(22);
  if (eoc.size() != 22 || !eoc.startsWith(QByteArray("PK\5\6", 4))) Fail(11011);
  qint64 newOffset = qint64(U32(eoc.constData() + 16)) + delta;
  if (newOffset < 0 || newOffset > 0xFFFFFFFFLL) Fail(11011);
  Put32(eoc.data() + 16, uint32_t(newOffset));
  if (target.write(eoc) != 22) Fail(11030);
  QByteArray comment = ReadBytes(*m_file, U16(eoc.constData() + 20), 11023);
  if (target.write(comment) != comment.size()) Fail(11044);
}

void TZipArchiveStream::CopyDirectoryTo(QIODevice& target) {
  if (!m_file) return CopyEmpty(target);
  target.seek(target.size());
  const qint64 p0 = m_file->pos();
  const qint64 q = LocateEnd();
  const uint16_t entries = U16(m_eoc.constData() + 8);
  const qint64 cdSize = U32(m_eoc.constData() + 12), cdOffset = U32(m_eoc.constData() + 16);
  const qint64 shift = q - (cdOffset + cdSize);
  if (shift < 0) Fail(11011);
  m_file->seek(p0 + shift + cdOffset);
  qint64 removed = 0;
  for (int i = 0; i < entries; ++i) {
    QByteArray fixed = m_file->read(46);
    if (fixed.size() != 46 || !fixed.startsWith(QByteArray("PK\1\2", 4))) Fail(11013);
    char* f = fixed.data();
    qint64 extra = U16(f + 30), comment = U16(f + 32);
    removed += extra + comment;
    Put16(f + 30, 0);
    Put16(f + 32, 0);
    QByteArray name = ReadBytes(*m_file, U16(f + 28), 11019);
    ReadBytes(*m_file, extra + comment, 11019);
    if (target.write(fixed) != 46 || target.write(name) != name.size()) Fail(11029);
  }
  QByteArray eoc = m_file->read(22);
  if (eoc.size() != 22 || !eoc.startsWith(QByteArray("PK\5\6", 4))) Fail(11011);
  ReadBytes(*m_file, U16(eoc.constData() + 20), 11023);
  char* e = eoc.data();
  Put16(e + 4, 0xFFFF);
  Put32(e + 12, uint32_t(U32(e + 12) - removed));
  Put32(e + 16, uint32_t(U32(e + 16) - removed));
  Put16(e + 20, 0);
  if (target.write(eoc) != 22) Fail(11030);
}

// ---------------------------------------------------------------------------------------------

TSFXArchiveSplit::TSFXArchiveSplit(const QString& exe, const QString& bareName)
    : m_exe(exe), m_bare(bareName) {
  QFile file(exe);
  ZipDirectory dir;
  if (!file.open(QIODevice::ReadOnly) || ReadZipEndRecord(file, dir) != 0 ||
      ReadZipCentralDirectory(file, dir) != 0)
    return;
  qint64 shift = dir.EocPosition - (qint64(dir.Eoc.CentralOffset) + dir.Eoc.CentralSize);
  qint64 first = dir.Eoc.CentralOffset;
  for (const ZipCentralEntry& e : dir.Entries)
    if (e.StartOnDisk == dir.Eoc.ThisDiskNo) first = qMin<qint64>(first, e.RelOffLocalHdr);
  qint64 start = shift + first;
  if (shift < 0 || start <= 0 || !file.seek(0)) return;
  QByteArray prefix = file.read(start);
  if (prefix.size() != start) return;
  if (m_bare.isEmpty()) Fail(10185);
  QFile bare(m_bare);
  if (!bare.open(QIODevice::WriteOnly | QIODevice::Truncate)) Fail(10185);
  std::unique_ptr<TZipArchiveStream> part = TZipArchiveStream::Create(exe);
  part->Seek(start, 0);
  part->CopyArchiveTo(bare);
  m_prefix = prefix;
}

TSFXArchiveSplit::~TSFXArchiveSplit() {
  if (!m_bare.isEmpty()) QFile::remove(m_bare);
}

void TSFXArchiveSplit::Join() {
  if (Empty()) return;
  QTemporaryFile out(QFileInfo(m_exe).absolutePath() + "/.zarn_sfx_XXXXXX");
  if (!out.open()) FailFile("Cannot create file \"%1\"", m_exe);
  WriteAll(out, m_prefix, 10140);
  TZipArchiveStream::Create(m_bare)->CopyArchiveTo(out);
  if (!out.flush()) Fail(10184);
  out.setPermissions(QFileInfo(m_exe).permissions());
  std::error_code ec;
  std::filesystem::rename(out.fileName().toStdString(), m_exe.toStdString(), ec);
  if (ec) FailFile("Cannot create file \"%1\"", m_exe);
  out.setAutoRemove(false);
}

// ---------------------------------------------------------------------------------------------

QByteArray SFXArchiveNameRecord(const QString& sourceFile) {
  QString name = SetSlash(sourceFile, true);
  name = name.mid(name.lastIndexOf('/') + 1);
  QByteArray n = HeaderText(name);
  for (char& c : n)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  qsizetype dot = n.lastIndexOf('.');
  QByteArray base = dot < 0 ? n : n.left(dot), ext = dot < 0 ? QByteArray() : n.mid(dot + 1);
  QByteArray r("DZ\x14\x01", 4);
  r += Le32(uint32_t(base.size())) + Le32(uint32_t(ext.size())) + base + ext;
  r += QByteArray("DZ\x14\x02", 4) + Le32(uint32_t(base.size())) + Le32(uint32_t(ext.size()));
  return r;
}

// ---------------------------------------------------------------------------------------------

namespace {

// Reads exactly n bytes at pos of the image; false when any of them lies outside it.
bool ReadImage(QIODevice& exe, qint64 pos, qint64 n, QByteArray& out) {
  if (pos < 0 || n < 0 || pos + n > exe.size() || !exe.seek(pos)) return false;
  out = exe.read(n);
  return out.size() == n;
}

}  // namespace

void ReplaceIcon(QIODevice& exe, const QByteArray& ico) {
  QByteArray dos, nt;
  if (!ReadImage(exe, 0, 64, dos) || !dos.startsWith("MZ")) Fail(10902);
  qint64 lfanew = U32(dos.constData() + 60);
  if (!ReadImage(exe, lfanew, 248, nt) || !nt.startsWith(QByteArray("PE\0\0", 4))) Fail(10902);
  const char* opt = nt.constData() + 24;
  if (U16(opt) != 0x10B) Fail(10902);  // PE32 only
  const uint16_t sections = U16(nt.constData() + 6);
  const uint16_t optSize = U16(nt.constData() + 20);
  const uint32_t resAddr = U32(opt + 96 + 2 * 8), resSize = U32(opt + 96 + 2 * 8 + 4);
  if (resAddr == 0 || resSize == 0) FailText("No resources found in executable.");
  qint64 secPos = lfanew + 24 + optSize;
  qint64 rawOffset = -1, rawSize = 0, virtualAddr = 0;
  for (int i = 0; i < sections; ++i) {
    QByteArray sec;
    if (!ReadImage(exe, secPos + 40 * i, 40, sec))
      FailText("Error while reading executable sections.");
    if (U32(sec.constData() + 12) == resAddr) {
      virtualAddr = resAddr;
      rawSize = U32(sec.constData() + 16);
      rawOffset = U32(sec.constData() + 20);
      break;
    }
  }
  if (rawOffset < 0) FailText("No resources found in executable.");
  if (rawOffset + rawSize > exe.size()) FailText("Error while browsing resources.");

  // The resource tree: icons (type 3), identifier 1, its first language. Every offset stays
  // inside the section, and no more than three levels are walked, so a looping tree ends.
  auto readRes = [&](qint64 off, qint64 n, QByteArray& out) {
    if (off < 0 || off + n > rawSize || !ReadImage(exe, rawOffset + off, n, out))
      FailText("Error while browsing resources.");
  };
  QByteArray dataEntry;
  std::function<bool(qint64, int)> walk = [&](qint64 dirOff, int level) -> bool {
    QByteArray head;
    readRes(dirOff, 16, head);
    int count = U16(head.constData() + 12) + U16(head.constData() + 14);
    for (int i = 0; i < count; ++i) {
      QByteArray entry;
      readRes(dirOff + 16 + 8 * i, 8, entry);
      uint32_t id = U32(entry.constData()), off = U32(entry.constData() + 4);
      if (off & 0x80000000u) {
        bool descend = (level == 0 && id == 3) || (level == 1 && (id & 0xFFFF) == 1) || level >= 2;
        if (descend && level < 2 && walk(off & 0x7FFFFFFFu, level + 1)) return true;
      } else {
        readRes(off, 16, dataEntry);
        return true;
      }
    }
    return false;
  };
  if (!walk(0, 0)) FailText("No icon resources found in executable.");

  const uint32_t dataAddr = U32(dataEntry.constData()), dataSize = U32(dataEntry.constData() + 4);
  const qint64 filePos = rawOffset - virtualAddr + dataAddr;
  if (ico.size() < 6 || U16(ico.constData()) != 0 || U16(ico.constData() + 2) != 1 ||
      U16(ico.constData() + 4) < 1)
    FailText("No icon found.");
  const int count = U16(ico.constData() + 4);
  for (int i = 0; i < count; ++i) {
    qint64 e = 6 + 16 * i;
    if (e + 16 > ico.size()) break;
    const char* d = ico.constData() + e;
    uint32_t bytes = U32(d + 8), offset = U32(d + 12);
    if (bytes != dataSize || d[3] != 0) continue;
    // The image must lie inside the resource section and the icon file.
    if (filePos < rawOffset || filePos + dataSize > rawOffset + rawSize ||
        qint64(offset) + bytes > ico.size())
      FailText("Cannot copy icon.");
    if (!exe.seek(filePos) || exe.write(ico.constData() + offset, bytes) != bytes)
      FailText("Cannot copy icon.");
    return;
  }
  FailText("No matching icon found.");
}

// ---------------------------------------------------------------------------------------------

QString SFXLanguageName(uint16_t langId) {
  static const LangName kNames[] = {
      {0x05, QLocale::Czech},     {0x06, QLocale::Danish},     {0x07, QLocale::German},
      {0x08, QLocale::Greek},     {0x09, QLocale::English},    {0x0A, QLocale::Spanish},
      {0x0B, QLocale::Finnish},   {0x0C, QLocale::French},     {0x0E, QLocale::Hungarian},
      {0x10, QLocale::Italian},   {0x13, QLocale::Dutch},      {0x14, QLocale::NorwegianBokmal},
      {0x15, QLocale::Polish},    {0x16, QLocale::Portuguese}, {0x18, QLocale::Romanian},
      {0x19, QLocale::Russian},   {0x1A, QLocale::Croatian},   {0x1B, QLocale::Slovak},
      {0x1D, QLocale::Swedish},   {0x1F, QLocale::Turkish},    {0x22, QLocale::Ukrainian},
      {0x24, QLocale::Slovenian}, {0x04, QLocale::Chinese},    {0x11, QLocale::Japanese}};
  for (const LangName& n : kNames)
    if (n.primary == (langId & 0x3FF)) return QLocale(n.language).nativeLanguageName();
  return {};
}

QStringList& SFXLanguageList() {
  static QStringList list = [] {
    QStringList l;
    const QStringList names = QDir(kResourceDir).entryList(QDir::Files);
    for (const QString& raw : names) {
      QString name = raw.toUpper();
      qsizetype at = name.indexOf(QStringLiteral("_BIN_LANG"));
      if (!name.startsWith(QStringLiteral("ZASFX")) || at < 5) continue;
      QString code = name.mid(5, at - 5);
      bool found = false;
      QByteArray lang = ReadResource(raw, found);
      QString native = lang.size() >= 2 ? SFXLanguageName(U16(lang.constData())) : QString();
      QString entry = (native.isEmpty() ? code : native) + "=" + code;
      if (!l.contains(entry)) l << entry;
    }
    return l;
  }();
  return list;
}
