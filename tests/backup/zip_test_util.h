#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "zip_archiver.h"

// Runs a peer program (zip, unzip) in dir; its exit code, output in *output when given.
int RunPeer(const QString& dir, const QString& program, const QStringList& args,
            QString* output = nullptr);

// Writes bytes to path (directories made) with the given modification time.
void WriteFileAt(const QString& path, const QByteArray& bytes,
                 const QDateTime& time = QDateTime(QDate(2026, 12, 9), QTime(10, 30)));

// A component as the backup form sets it, recording every message.
struct RecordingZip {
  RecordingZip();
  TZipArchiver zip;
  QList<QPair<int, QString>> messages;
  QStringList Texts() const;
  // Codes of the messages that are errors.
  QList<int> ErrorCodes() const;
};

// Bytes that do not compress, the same for a given size and seed.
QByteArray RandomBytes(int size, quint32 seed);

// A few megabytes of SQL dump text, the same for a given size.
QByteArray SqlDumpText(int bytes);

// An entry of a hand-made archive: any name, Unix mode bits in the external attributes. A
// stored entry holds data; a deflated one (method 8) holds its deflated bytes in data and
// declares size and crc, which need not be true.
struct RawZipEntry {
  QByteArray name;
  QByteArray data;
  uint32_t unixMode = 0100644;
  uint16_t method = 0;
  uint32_t size = 0;
  uint32_t crc = 0;
};
// Writes the entries as a plain archive, names exactly as given.
QByteArray MakeRawZip(const QList<RawZipEntry>& entries);
// A deflated entry of count zero bytes, made at once however large count is (a zip bomb).
RawZipEntry DeflatedZeros(const QByteArray& name, qint64 count);
