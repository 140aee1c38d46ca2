#include "file_splitter.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

#include "floppy_drive.h"
#include "ui_services.h"

namespace {

constexpr char kSignature[] = "TFileSplitter by Tavor Quelin";

// name with its extension (after the last "." of the last component) replaced by extension.
QString ChangeExtension(const QString& name, const QString& extension) {
  const qsizetype separator = qMax(name.lastIndexOf('/'), name.lastIndexOf('\\'));
  const qsizetype dot = name.lastIndexOf('.');
  if (dot > separator) return name.left(dot) + extension;
  return name + extension;
}

QString SameFileKey(const QString& path) { return QFileInfo(LocalPath(path)).absoluteFilePath(); }

void Box(const QString& text, const QString& caption) {
  Ui().MessageBox(text, caption, MsgType::Information, mbOK, mbOK);
}

}  // namespace

void TFileSplitter::SetFileName(const QString& name) {
  if (name == m_fileName) return;
  m_fileName = name;
  if (!m_splitNameSet) m_splitFileName = ChangeExtension(name, QStringLiteral(".SPL"));
}

void TFileSplitter::SetSplitFileName(const QString& name) {
  if (name == m_splitFileName) return;
  m_splitFileName = name;
  m_splitNameSet = true;
}

void TFileSplitter::SetReduceFirstSizeBy(qint64 value) {
  if (m_size - kHeaderSize - value > 0) m_reduceFirstSizeBy = value;
}

qint64 TFileSplitter::PartCount(qint64 n) const {
  if (m_size <= 0) return 0;
  return (n + kHeaderSize + m_reduceFirstSizeBy + m_size - 1) / m_size;
}

QString TFileSplitter::NextPartName(const QString& name, int number) {
  return ChangeExtension(name, QStringLiteral(".%1").arg(number, 3, 10, QChar('0')));
}

bool TFileSplitter::IsSplitSet(const QString& path) {
  QFile file(ExistingLocalPath(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray header = file.read(kHeaderSize);
  return header.size() == kHeaderSize && header.startsWith(QByteArray(kSignature, 30));
}

bool TFileSplitter::Split() {
  m_cancelled = false;
  const QString input = LocalPath(m_fileName);
  if (input.isEmpty() || !QFileInfo(input).isFile()) {
    Box(QStringLiteral("Input fájl '") + m_fileName + QStringLiteral("' nem található."),
        QStringLiteral("FileSplitter Hibaüzenet"));
    return false;
  }
  if (m_splitFileName.isEmpty()) m_splitFileName = ChangeExtension(m_fileName, ".SPL");
  // Refused: a set that would overwrite its own input, a first part with no room for data, more
  // parts than the header can count, a drive letter with no disk behind it.
  if (SameFileKey(m_splitFileName) == SameFileKey(m_fileName)) return false;
  if (m_size - kHeaderSize - m_reduceFirstSizeBy <= 0 || m_bufferSize <= 0) return false;
  if (auto drive = FloppyDriveOf(m_splitFileName); drive && !drive->Mapped()) return false;
  QFile in(input);
  if (!in.open(QIODevice::ReadOnly)) return false;
  const qint64 total = in.size();
  const qint64 parts = PartCount(total);
  if (parts > kMaxParts) return false;

  QByteArray header(kSignature, 29);
  header.append('\0');
  header.append(char(parts & 0xFF));
  header.append(char((parts >> 8) & 0xFF));

  std::vector<char> buffer(size_t(qMin<qint64>(m_bufferSize, m_size)));
  bool cont = true;
  QString name = m_splitFileName;
  qint64 offset = 0;
  for (int disk = 1; disk <= parts; ++disk) {
    if (OnNeedDisk) {
      OnNeedDisk(this, uint16_t(disk), uint16_t(parts), cont);
    } else if (IsFloppyLetterPath(name) && disk > 1) {
      Box(QStringLiteral("Kérek egy újabb üres floppy lemezt!"), QStringLiteral("Üzenet"));
    }
    if (!cont) {
      m_cancelled = true;
      return true;
    }
    const qint64 limit = disk == 1 ? m_size - m_reduceFirstSizeBy - kHeaderSize : m_size;
    const qint64 partStart = offset;
    for (;;) {  // one pass per attempt; a retry rewrites the part from its first byte
      int error = 0;
      bool headerStep = false;
      TDiskFile out;
      offset = partStart;
      in.seek(offset);
      error = out.Create(name);
      if (!error && disk == 1) {
        headerStep = true;
        error = out.Write(header);
      }
      qint64 written = 0;
      if (!error) headerStep = false;
      while (!error && written < limit && offset < total) {
        const qint64 want = std::min({qint64(buffer.size()), limit - written, total - offset});
        const qint64 got = in.read(buffer.data(), want);
        if (got <= 0) {
          error = 30;  // read fault
          break;
        }
        error = out.Write(buffer.data(), got);
        if (error) break;
        written += got;
        offset += got;
        if (OnProgress) {
          const qint64 partBytes = qMin(limit, total - partStart);
          OnProgress(this, uint16_t(partBytes > 0 ? written * 100 / partBytes : 100));
        }
      }
      out.Close();
      if (!error) break;
      const int answer =
          OnError ? OnError(this, uint16_t(disk), uint16_t(parts), uint16_t(error)) : 0;
      if (answer == 1) continue;
      if (!OnError)
        Box(headerStep ? QStringLiteral("Fatális irási hiba. (101/1)")
                       : QStringLiteral("Fatális irási hiba. (101/2)"),
            QStringLiteral("Üzenet"));
      return false;
    }
    name = NextPartName(name, disk);
  }
  return true;
}

bool TFileSplitter::Join() {
  m_cancelled = false;
  const QString first = ExistingLocalPath(m_splitFileName);
  if (first.isEmpty() || !QFileInfo(first).isFile()) {
    Box(QStringLiteral("Input file '") + m_splitFileName + QStringLiteral("' does not exist."),
        QStringLiteral("Hibaüzenet"));
    return false;
  }
  if (m_fileName.isEmpty()) m_fileName = ChangeExtension(m_splitFileName, ".XXX");
  if (SameFileKey(m_splitFileName) == SameFileKey(m_fileName)) return false;
  QFile out(LocalPath(m_fileName));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  std::vector<char> buffer(size_t(qMax<qint64>(1, m_bufferSize)));
  int count = 0;
  int k = 0;
  bool cont = true;
  QString name = m_splitFileName;
  for (;;) {
    if (OnNeedDisk) {
      OnNeedDisk(this, uint16_t(k + 1), uint16_t(count), cont);
    } else if (IsFloppyLetterPath(name) && k >= 1 && k < count) {
      Box(QStringLiteral("Kérem a következő betöltendő floppy lemezt!"), QStringLiteral("Üzenet"));
    }
    if (!cont) {
      m_cancelled = true;
      return false;
    }
    if (k > 0 && count < k + 1) return true;
    QFile part(ExistingLocalPath(name));
    if (!part.open(QIODevice::ReadOnly)) return false;
    if (k == 0) {
      const QByteArray header = part.read(kHeaderSize);
      if (header.size() != kHeaderSize) return false;
      count = uchar(header[30]) | (uchar(header[31]) << 8);
      if (count == 0) return false;
    }
    const qint64 partSize = part.size();
    qint64 copied = 0;
    while (!part.atEnd()) {
      const qint64 got = part.read(buffer.data(), qint64(buffer.size()));
      if (got < 0) return false;
      if (got == 0) break;
      if (out.write(buffer.data(), got) != got) {
        Box(QStringLiteral("Fatális irási hiba. (101/3)"), QStringLiteral("Üzenet"));
        return false;
      }
      copied += got;
      if (OnProgress) OnProgress(this, uint16_t(partSize > 0 ? copied * 100 / partSize : 100));
    }
    ++k;
    name = NextPartName(name, k);
  }
}
