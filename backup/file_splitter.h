#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

// Cuts one file into parts of a fixed size (a backup archive over floppy disks) and joins
// them again. The first part begins with a 32-byte header holding the number of parts; parts
// are named X.SPL, X.001, X.002 ... Parts on a floppy are written through the drive layer.
class TFileSplitter : public QObject {
 public:
  explicit TFileSplitter(QObject* owner = nullptr) : QObject(owner) {}

  const QString& FileName() const { return m_fileName; }
  void SetFileName(const QString& name);
  const QString& SplitFileName() const { return m_splitFileName; }
  void SetSplitFileName(const QString& name);
  qint64 Size() const { return m_size; }
  void SetSize(qint64 size) { m_size = size; }
  qint64 BufferSize() const { return m_bufferSize; }
  void SetBufferSize(qint64 size) { m_bufferSize = size; }
  qint64 ReduceFirstSizeBy() const { return m_reduceFirstSizeBy; }
  // Taken only when a part still carries data after the header.
  void SetReduceFirstSizeBy(qint64 value);

  std::function<void(QObject* Sender, uint16_t DiskID, uint16_t NumOfDisks, bool& Continue)>
      OnNeedDisk;
  std::function<void(QObject* Sender, uint16_t PercentDone)> OnProgress;
  // Returns 1 to retry the part from its first byte; anything else gives up.
  std::function<int(QObject* Sender, uint16_t DiskID, uint16_t NumOfDisks, uint16_t errorCode)>
      OnError;

  // True when every part was written, or when the disk handler stopped the split (then
  // Cancelled() tells so); false after a failure or a refused input.
  bool Split();
  // True when every part was copied into FileName.
  bool Join();
  bool Cancelled() const { return m_cancelled; }

  // Number of parts of a file of n bytes with the current sizes.
  qint64 PartCount(qint64 n) const;
  // The name of the part after name: its extension replaced by "." and number in three digits.
  static QString NextPartName(const QString& name, int number);
  // True when the file begins with the header of a split set, whatever its name.
  static bool IsSplitSet(const QString& path);

  static constexpr int kHeaderSize = 32;
  static constexpr int kMaxParts = 65535;

 private:
  QString m_fileName;
  QString m_splitFileName;
  bool m_splitNameSet = false;
  qint64 m_size = 1457664;
  qint64 m_bufferSize = 1457664;
  qint64 m_reduceFirstSizeBy = 0;
  bool m_cancelled = false;
};
