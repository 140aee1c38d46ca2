#include "zip_test_util.h"

#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

int RunPeer(const QString& dir, const QString& program, const QStringList& args, QString* output) {
  QProcess p;
  p.setWorkingDirectory(dir);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForStarted(30000)) return -1;
  p.closeWriteChannel();
  p.waitForFinished(600000);
  if (output) *output = QString::fromUtf8(p.readAll());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void WriteFileAt(const QString& path, const QByteArray& bytes, const QDateTime& time) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return;
  f.write(bytes);
  f.flush();
  f.setFileTime(time, QFileDevice::FileModificationTime);
}

RecordingZip::RecordingZip() {
  zip.AddCompLevel = 9;
  zip.AddOptions = AddOpts{AddHiddenFiles};
  zip.AddStoreSuffixes = AddStoreExts::Range(assGIF, assJAR);
  zip.HowToDelete = htdFinal;
  zip.OnMessage = [this](QObject*, int code, const QString& text) {
    messages.append({code, text});
  };
}

QStringList RecordingZip::Texts() const {
  QStringList out;
  for (const auto& m : messages) out << m.second;
  return out;
}

QList<int> RecordingZip::ErrorCodes() const {
  QList<int> out;
  for (const auto& m : messages)
    if (m.first != 0) out << m.first;
  return out;
}

QByteArray RandomBytes(int size, quint32 seed) {
  QByteArray b(size, '\0');
  for (int i = 0; i < size; ++i) {
    seed = seed * 1664525u + 1013904223u;
    b[i] = char(seed >> 24);
  }
  return b;
}

QByteArray SqlDumpText(int bytes) {
  QByteArray out = "-- dump of ZARNDAT001\nCREATE TABLE `KARTFEJ` (`LELTSZAM` char(20));\n";
  quint32 seed = 12345;
  int row = 0;
  while (out.size() < bytes) {
    seed = seed * 1103515245u + 12345u;
    out += "INSERT INTO `KARTFEJ` VALUES ('" + QByteArray::number(++row).rightJustified(5, '0') +
           "','Eszköz " + QByteArray::number(seed % 997) + "'," +
           QByteArray::number(seed % 100000) + ".00,'2026-12-09');\n";
  }
  out.truncate(bytes);
  return out;
}

namespace {
void Put16(QByteArray& b, uint32_t v) {
  b.append(char(v & 0xFF));
  b.append(char((v >> 8) & 0xFF));
}
void Put32(QByteArray& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
}  // namespace

QByteArray MakeRawZip(const QList<RawZipEntry>& entries) {
  QByteArray out, central;
  for (const RawZipEntry& e : entries) {
    const bool deflated = e.method == 8;
    uint32_t crc =
        deflated ? e.crc
                 : crc32(0, reinterpret_cast<const Bytef*>(e.data.constData()), e.data.size());
    uint32_t size = deflated ? e.size : uint32_t(e.data.size());
    uint32_t offset = out.size();
    // The fields both headers share: version needed to the name length.
    auto common = [&](QByteArray& b) {
      for (uint32_t v : {deflated ? 20u : 10u, 0u, uint32_t(e.method), 0x53C0u, 0x5D89u})
        Put16(b, v);
      for (uint32_t v : {crc, uint32_t(e.data.size()), size}) Put32(b, v);
      Put16(b, e.name.size());
      Put16(b, 0);
    };
    out += "PK\3\4";
    common(out);
    out += e.name + e.data;
    central += "PK\1\2";
    Put16(central, 0x0314);  // made on Unix
    common(central);
    for (int i = 0; i < 3; ++i) Put16(central, 0);
    Put32(central, e.unixMode << 16);
    Put32(central, offset);
    central += e.name;
  }
  uint32_t cdOffset = out.size();
  out += central;
  out += "PK\5\6";
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, entries.size());
  Put16(out, entries.size());
  Put32(out, central.size());
  Put32(out, cdOffset);
  Put16(out, 0);
  return out;
}

RawZipEntry DeflatedZeros(const QByteArray& name, qint64 count) {
  // One megabyte of zeros deflated on its own (a full flush leaves no history behind), repeated:
  // a stream of such pieces inflates to them one after the other.
  const qint64 chunk = 1 << 20;
  const QByteArray zeros(chunk, '\0');
  auto deflated = [&](qint64 n, int flush) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_RLE);
    QByteArray out(int(n / 100 + 1024), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
    z.avail_in = uInt(n);
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, flush);
    out.truncate(int(out.size() - z.avail_out));
    deflateEnd(&z);
    return out;
  };
  RawZipEntry e{name, {}};
  e.method = 8;
  e.size = uint32_t(count);
  const QByteArray piece = deflated(chunk, Z_FULL_FLUSH);
  const uLong pieceCrc = crc32(0, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(chunk));
  uLong crc = 0;
  for (qint64 i = 0; i < count / chunk; ++i) {
    e.data += piece;
    crc = crc32_combine(crc, pieceCrc, chunk);
  }
  const qint64 rest = count % chunk;
  e.data += deflated(rest, Z_FINISH);
  e.crc = uint32_t(crc32_combine(
      crc, crc32(0, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(rest)), rest));
  return e;
}
