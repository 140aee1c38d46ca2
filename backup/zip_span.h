#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <cstdint>

#include "zip_types.h"

class TZArchiver;

// Archives spanned over several disks: a finished archive copied record by record onto parts,
// and a set of parts joined back into one archive.

enum SpanOptsEnum { spNoVolumeName, spCompatName, spWipeFiles, spTryFormat };
using SpanOpts = TZipSet<SpanOptsEnum>;

enum TZipDiskStatusEnum { dsBlank, dsUsed, dsEarlierDisk, dsNameTaken, dsTooFull };
using TZipDiskStatus = TZipSet<TZipDiskStatusEnum>;
enum TZipDiskAction { daAccept, daErase, daReject, daCancel };

// One entry of the archive: where its local header lies on the set, and where it goes.
struct TMZipData {
  uint16_t DiskNo = 0;
  qint64 RelOffLocal = 0;
  uint16_t FileNameLen = 0;
  QByteArray FileName;
  uint32_t ComprSize = 0;
  qint64 NewOffset = -1;  // in the joined archive
  // Where the header lies in what is read: entries are matched by it, not by name.
  uint16_t SourceDisk = 0;
  qint64 SourceOffset = -1;
};

class TMZipDataList {
 public:
  explicit TMZipDataList(int count = 0) : m_items(count) {}
  int Count() const { return int(m_items.size()); }
  // 10110 for an index at or beyond the count.
  TMZipData& Items(int index);
  // Case-insensitive; 11026 when no entry has the name.
  int IndexOf(const QByteArray& name) const;
  // The entry whose local header lies at (disk, offset); 11026 when none.
  int IndexOfHeader(uint16_t disk, qint64 offset) const;

 private:
  QList<TMZipData> m_items;
};

// Part n (disk + 1) of a set: ".z01" … ".z99", ".z100" (the last ".zip") with compat names,
// else n in three digits before the extension; replace: the name already carries a number.
QString MakePartFileName(const QString& name, int disk, bool compat, bool last, bool replace);

class TZipSpan {
 public:
  explicit TZipSpan(TZArchiver& engine);
  ~TZipSpan();

  // 0 done; -7 a zip error (shown), -8 out of memory, -9 any other error.
  int WriteSpan(const QString& inFileName, const QString& outFileName, bool useXProgress);
  int ReadSpan(const QString& inFileName, QString& outFilePath, bool useXProgress);

  int CurrentDisk() const { return m_diskNr; }
  int LastDisk() const { return m_totalDisks; }

  // Formats or empties the disk in the drive and labels it: -3 nothing done, -2 formatting
  // cancelled, -1 formatting failed, else done.
  int EraseFloppy();
  // Takes the drive of a name ("A:\x.zip" or a path inside a mapped drive's directory).
  void SetDrive(const QString& name);
  // The first file in folder that is a part of the set base: base + ".z??*" with zNames (its
  // number after ".z", ".zip" counting as 99999), else base + "???.zip" (the three characters
  // before ".zip"); only a number above 0 counts. The bare file name, empty when none; its
  // number in *number.
  static QString FindPartFile(const QString& folder, const QString& base, bool zNames,
                              int* number = nullptr);
  void SetLabelToWrite(const QString& label) { m_labelToWrite = label; }
  qint64 FreeOnDisk() const { return m_freeOnDisk; }

 private:
  // Writing.
  void WriteToSpan(const char* buffer, qint64 length, qint64 minimum);
  bool OpenNextOutputDisk();
  bool CheckDiskPresent();
  // The file of the current disk's part when the disk in the drive holds it; empty otherwise.
  QString CheckPartOnDisk() const;
  int FormatRemovableDrive();
  void DeleteTree(const QString& localDir);
  QString Local(const QString& name) const;
  SpanOpts Options() const;
  void FinishDisk();
  void RequestDisk(bool writing);
  // A question box; 0 when it could not be shown.
  int Ask(const QString& text, int buttons, int defaultButton, bool stop);
  void ReadDiskSpace(const QString& dir);
  // Reading.
  int OpenLastPart(QString& name, QByteArray& eoc);
  int OpenLastPartFile(QString& name, QByteArray& eoc);
  int OpenLastDisk(QString& name, QByteArray& eoc);
  void GetNewDisk(int disk);
  QString PartName(int disk) const;
  void SpanRead(char* buffer, qint64 size, int id);
  QByteArray SpanRead(qint64 size, int id);
  void SpanSkip(qint64 size, int id);
  void CheckCancel();
  // Inside a catch: shows the error the way the set operations do; -7, -8 or -9.
  int SpanFailure();

  TZArchiver& m_engine;
  QString m_outName;
  QString m_inName;
  QString m_lastPartName;
  // How the parts being read are named: ".z" names, or a number in the name; neither: every
  // disk holds the set's own name and is told by its label.
  bool m_readCompat = false;
  bool m_readNumbered = false;
  int m_diskNr = 0;
  int m_totalDisks = -1;
  bool m_newDisk = false;
  qint64 m_bytesOnDisk = 0;
  qint64 m_freeOnDisk = 0;
  qint64 m_sizeOfDisk = 0;
  qint64 m_diskFree = 0;
  qint64 m_sectorSize = 512;
  qint64 m_keepFreeAll = 0;
  qint64 m_keepFree1 = 0;
  bool m_keepRounded = false;
  QDateTime m_date;
  QString m_driveRoot;  // "A:\"
  QChar m_letter;
  bool m_fixed = true;
  QString m_volumeLabel;
  QString m_labelToWrite;
  qint64 m_archiveSize = 0;
  // 0 none, 1 per item, 2 as an extra step; the batch is ended only when it was started.
  int m_progressMode = 0;
  bool m_batchStarted = false;
  void StartProgress(bool useXProgress, int extraStep, int files, qint64 total);
  void ReportBytes(qint64 count);
  void EndProgress();
  QFile m_in;
  QFile m_out;
  QString m_outPart;
};
