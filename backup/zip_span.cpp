#include "zip_span.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>

#include "floppy_drive.h"
#include "ui_services.h"
#include "z_archiver.h"
#include "zip_bytes.h"
#include "zip_directory.h"
#include "zip_messages.h"
#include "zip_utils.h"

namespace {

using namespace ZipBytes;

[[noreturn]] void Fail(int id, bool display = true) {
  throw EZipArchiver::CreateResDisp(id, display);
}
[[noreturn]] void Cancelled() { Fail(11007, false); }

const QByteArray kSpanMarker("PK\7\x08", 4);
constexpr qint64 kBufferSize = 10240;

QString Caption() { return ZipLoadStr(11102); }  // "Confirm"

QString DiskLabel(int disk) {
  return "PKBACK# " + QString::number(disk + 1).rightJustified(3, '0');
}

// The end record of one part: the last 22 bytes, or a record whose comment ends the file.
bool ReadPartEnd(QFile& file, QByteArray& eoc) {
  qint64 size = file.size();
  if (size < 22) return false;
  qint64 tail = qMin<qint64>(size, 65557);
  if (!file.seek(size - tail)) return false;
  QByteArray b = file.read(tail);
  if (b.size() != tail) return false;
  for (qint64 i = tail - 22; i >= 0; --i) {
    const char* p = b.constData() + i;
    if (p[0] == 'P' && p[1] == 'K' && p[2] == 5 && p[3] == 6 && i + 22 + U16(p + 20) == tail) {
      eoc = b.mid(i, 22);
      return file.seek(size - tail + i);
    }
  }
  return false;
}

// A part number written in digits only; 0 for anything else.
int PartNumber(const QString& digits) {
  if (digits.isEmpty()) return 0;
  for (QChar c : digits)
    if (c < '0' || c > '9') return 0;
  bool ok = false;
  const int n = digits.toInt(&ok);
  return ok ? n : 0;
}

bool IsZPartName(const QString& path) {
  const QString ext = QFileInfo(path).suffix();
  return ext.size() >= 3 && ext.startsWith('z', Qt::CaseInsensitive) && PartNumber(ext.mid(1)) > 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TMZipData& TMZipDataList::Items(int index) {
  if (index < 0 || index >= Count()) throw EZipArchiver::CreateResFmt(10110, {index, Count() - 1});
  return m_items[index];
}

int TMZipDataList::IndexOf(const QByteArray& name) const {
  for (int i = 0; i < Count(); ++i)
    if (QString::fromLatin1(m_items[i].FileName)
            .compare(QString::fromLatin1(name), Qt::CaseInsensitive) == 0)
      return i;
  Fail(11026);
}

int TMZipDataList::IndexOfHeader(uint16_t disk, qint64 offset) const {
  for (int i = 0; i < Count(); ++i)
    if (m_items[i].SourceDisk == disk && m_items[i].SourceOffset == offset) return i;
  Fail(11026);
}

QString MakePartFileName(const QString& name, int disk, bool compat, bool last, bool replace) {
  QFileInfo fi(name);
  QString dir = name.left(name.size() - fi.fileName().size());
  QString base = fi.completeBaseName(), ext = fi.suffix();
  const int n = disk + 1;
  if (compat) {
    if (last) return dir + base + ".zip";
    return dir + base + ".z" +
           (n < 100 ? QString::number(n).rightJustified(2, '0') : QString::number(n));
  }
  if (replace && base.size() >= 3) base.chop(3);
  return dir + base + QString::number(n).rightJustified(3, '0') + (ext.isEmpty() ? "" : "." + ext);
}

// ---------------------------------------------------------------------------------------------

TZipSpan::TZipSpan(TZArchiver& engine) : m_engine(engine) {}

TZipSpan::~TZipSpan() = default;

int TZipSpan::SpanFailure() {
  try {
    throw;
  } catch (const EZipArchiver& e) {
    m_engine.ShowExceptionError(e);
    return -7;
  } catch (const std::bad_alloc&) {
    m_engine.ShowZipMessage(10103);
    return -8;
  } catch (const std::exception& e) {
    m_engine.ShowZipMessage(11024, QString::fromLocal8Bit(e.what()));
    return -9;
  }
}

void TZipSpan::CheckCancel() {
  if (m_engine.Cancel()) Cancelled();
}

int TZipSpan::Ask(const QString& text, int buttons, int defaultButton, bool stop) {
  return Ui().MessageBox(text, stop ? QString() : Caption(),
                         stop ? MsgType::Error : MsgType::Warning, buttons,
                         MsgButton(defaultButton));
}

void TZipSpan::ReadDiskSpace(const QString& dir) {
  QStorageInfo info(dir);
  if (!info.isValid()) {
    m_diskFree = m_sizeOfDisk = -1;
    return;
  }
  m_diskFree = info.bytesAvailable();
  m_sizeOfDisk = info.bytesTotal();
  m_sectorSize = info.blockSize() > 0 ? info.blockSize() : 512;
}

SpanOpts TZipSpan::Options() const {
  SpanOpts o = SpanOpts::FromBits(m_engine.Props.SpanOptions);
  if (m_engine.Props.AddOptions.Contains(AddDiskSpanErase)) o << spWipeFiles;
  return o;
}

void TZipSpan::SetDrive(const QString& name) {
  std::optional<FloppyDrive> drive = FloppyDriveOf(SetSlash(name, false));
  m_fixed = !drive.has_value();
  m_letter = m_fixed ? QChar() : drive->letter;
  m_driveRoot = m_fixed ? QString() : QString(m_letter) + ":\\";
}

QString TZipSpan::Local(const QString& name) const {
  return IsFloppyLetterPath(name) ? LocalPath(name) : ZipLocalPath(name);
}

bool TZipSpan::CheckDiskPresent() {
  m_sizeOfDisk = m_diskFree = 0;
  m_volumeLabel.clear();
  if (m_fixed) return true;
  FloppyDrive d = FloppyDriveSettings(m_letter);
  if (!d.Mapped()) throw EZipArchiver::CreateResDrive(11004, m_driveRoot);
  int state = FloppyVolumeState(d);
  if (state == kErrorNotReady) return false;
  if (state == kErrorNotFormatted && !m_engine.Props.AddOptions.Contains(AddDiskSpanErase))
    return false;
  m_volumeLabel = d.label;
  m_sizeOfDisk = d.capacity;
  m_diskFree = d.Free();
  m_sectorSize = 512;
  return true;
}

void TZipSpan::RequestDisk(bool writing) {
  if (m_fixed) {
    m_newDisk = false;
    CheckCancel();
    return;
  }
  const TZipProperties& p = m_engine.Props;
  if (m_engine.Events().OnTick) m_engine.Events().OnTick(m_engine.Sender());
  int answer = mbOK;
  while (m_newDisk || (answer == mbOK && !CheckDiskPresent())) {
    if (p.Unattended) Fail(11025);
    bool stop = false;
    QString text;
    if (m_diskNr == -1) {
      text = ZipLoadStr(11033);
      stop = true;
    } else if (writing) {
      qint64 usable = m_sizeOfDisk - m_keepFreeAll;
      if (p.MaxVolumeSize > 0 && p.MaxVolumeSize < m_sizeOfDisk) usable = p.MaxVolumeSize;
      m_totalDisks = m_diskNr;
      if (usable > 0)
        m_totalDisks = int(qMax<qint64>(m_totalDisks, (m_archiveSize + 4 + m_keepFree1) / usable));
      text = usable > 0 ? ZipFmtLoadStr(11034, {m_diskNr + 1, m_totalDisks + 1})
                        : ZipFmtLoadStr(11046, {m_diskNr + 1});
    } else {
      text = ZipFmtLoadStr(11034, {m_diskNr + 1, m_totalDisks + 1});
    }
    text += ZipFmtLoadStr(11035, {m_driveRoot});
    m_newDisk = false;
    if (writing && m_diskNr == 0 && CheckDiskPresent()) continue;  // the first disk is there
    if (m_engine.Events().OnGetNextDisk) {
      bool abort = false;
      m_engine.Events().OnGetNextDisk(m_engine.Sender(), m_diskNr + 1, m_totalDisks + 1,
                                      QString(m_letter), abort);
      answer = abort ? mbAbort : mbOK;
    } else {
      answer = Ui().MessageBox(text, QCoreApplication::applicationName(),
                               stop ? MsgType::Error : MsgType::Information, mbOK | mbCancel, mbOK);
    }
  }
  if (answer == mbNone) Fail(11006);
  if (answer != mbOK) Cancelled();
}

int TZipSpan::FormatRemovableDrive() {
  if (m_fixed) return -3;
  // Formatting is a question; a formatted disk is empty and without a label.
  int answer = Ui().MessageBox(ZipFmtLoadStr(11101, {m_driveRoot}), Caption(), MsgType::Warning,
                               mbYes | mbNo, mbNo);
  if (answer != mbYes) return -2;
  FloppyDrive d = FloppyDriveSettings(m_letter);
  if (!d.Present() || d.writeProtected) return -1;
  DeleteTree(d.directory);
  if (!SetFloppyLabel(m_letter, QString()) || !SetFloppyFormatted(m_letter, true)) return -1;
  return 0;
}

void TZipSpan::DeleteTree(const QString& localDir) {
  const QFileInfoList entries = QDir(localDir).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
  for (const QFileInfo& e : entries) {
    if (e.isDir() && !e.isSymLink()) {
      DeleteTree(e.absoluteFilePath());
      if (m_engine.Props.Trace)
        m_engine.ReportMessage(0, ZipFmtLoadStr(11600, {SetSlash(e.absoluteFilePath(), false)}));
      QDir().rmdir(e.absoluteFilePath());
    } else {
      if (m_engine.Props.Trace)
        m_engine.ReportMessage(0, ZipFmtLoadStr(11601, {SetSlash(e.absoluteFilePath(), false)}));
      QFile::remove(e.absoluteFilePath());
    }
  }
}

int TZipSpan::EraseFloppy() {
  int result = -3;
  if (Options().Contains(spTryFormat) && !m_fixed) result = FormatRemovableDrive();
  if (result == -3) {
    if (m_engine.Props.ConfirmErase &&
        Ui().MessageBox(ZipFmtLoadStr(11101, {m_driveRoot}), Caption(), MsgType::Warning,
                        mbYes | mbNo, mbNo) != mbYes)
      return -3;
    FloppyDrive d = FloppyDriveSettings(m_letter);
    if (!m_fixed && d.Present()) DeleteTree(d.directory);
    result = 0;
  }
  if (result == 0 && !Options().Contains(spNoVolumeName) && !m_fixed)
    SetFloppyLabel(m_letter, m_labelToWrite.left(11));
  return result;
}

void TZipSpan::FinishDisk() {
  if (m_out.isOpen()) {
    m_out.setFileTime(m_date, QFileDevice::FileModificationTime);
    m_out.close();
  }
  m_bytesOnDisk = 0;
  m_newDisk = true;
  ++m_diskNr;
}

bool TZipSpan::OpenNextOutputDisk() {
  const TZipProperties& p = m_engine.Props;
  const SpanOpts o = Options();
  SetDrive(m_outName);
  RequestDisk(true);
  const bool noLabel = m_fixed || o.Contains(spNoVolumeName);
  m_outPart =
      Local(noLabel ? MakePartFileName(m_outName, m_diskNr, o.Contains(spCompatName), false, false)
                    : m_outName);
  const bool wipe = !m_fixed && o.Contains(spWipeFiles);
  auto doWipe = [&] {
    m_labelToWrite = o.Contains(spNoVolumeName) ? QString() : DiskLabel(m_diskNr);
    int r = EraseFloppy();
    if (r == -2) Cancelled();
    if (r == -1) Fail(11007);
    CheckDiskPresent();
  };
  // Without a handler the wipe asks itself, before the disk is looked at.
  if (wipe && !m_engine.Events().OnStatusDisk) doWipe();
  int previous = m_diskNr + 1;
  if (!noLabel) {
    bool ok = false;
    previous = m_volumeLabel.mid(8, 3).toInt(&ok);
    if (!ok || previous < 0) previous = 1;
  }
  TZipDiskStatus status;
  QString text;
  QFileInfo part(m_outPart);
  if (!part.exists() && !m_fixed) status << (m_sizeOfDisk != m_diskFree ? dsUsed : dsBlank);
  if (part.exists()) {
    if (part.lastModified() == m_date && previous - 1 < m_diskNr) {
      text = ZipFmtLoadStr(11040, {previous});
      status << dsEarlierDisk;
    } else {
      text = ZipFmtLoadStr(11039, {SetSlash(m_outPart, false)});
      status << dsNameTaken;
    }
  }
  int action = daAccept;
  if (m_engine.Events().OnStatusDisk) {
    m_engine.Events().OnStatusDisk(m_engine.Sender(), previous, SetSlash(m_outPart, false),
                                   int(status.Bits()), action);
    // The wipe follows this disk's answer.
    if (wipe && action == daErase) doWipe();
  } else if (status.Contains(dsEarlierDisk) || status.Contains(dsNameTaken)) {
    int answer = Ask(text, mbYes | mbNo | mbCancel, mbNo, false);
    action = answer == mbYes ? daAccept : answer == mbNo ? daReject : daCancel;
  }
  if (action == daCancel) Cancelled();
  if (action == daReject) {
    m_bytesOnDisk = 0;
    m_newDisk = true;
    return true;
  }
  m_out.setFileName(m_outPart);
  const bool writeProtected = !m_fixed && FloppyDriveSettings(m_letter).writeProtected;
  while (writeProtected ||
         !m_out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
    int answer = Ask(ZipLoadStr(11009), mbRetry | mbCancel, mbRetry, true);
    if (answer == mbNone) Fail(11006);
    if (answer != mbRetry) Cancelled();
    m_bytesOnDisk = 0;
    m_newDisk = true;
    return true;
  }
  if (m_fixed)
    ReadDiskSpace(QFileInfo(m_outPart).absolutePath());
  else
    CheckDiskPresent();
  if (!m_keepRounded && ((m_diskNr == 0 && m_keepFree1 > 0) || m_keepFreeAll > 0) &&
      m_sectorSize > 0) {
    auto round = [this](qint64 v) { return (v + m_sectorSize - 1) / m_sectorSize * m_sectorSize; };
    m_keepFree1 = round(m_keepFree1);
    m_keepFreeAll = round(m_keepFreeAll);
    m_keepRounded = true;
  }
  // What is kept free on every disk is taken off once.
  m_freeOnDisk = m_diskFree - m_keepFreeAll;
  if (p.MaxVolumeSize > 0 && p.MaxVolumeSize < m_freeOnDisk) m_freeOnDisk = p.MaxVolumeSize;
  if (m_diskNr == 0) m_freeOnDisk -= m_keepFree1;
  if (m_freeOnDisk < p.MinFreeVolumeSize) {
    m_out.close();
    QFile::remove(m_outPart);
    TZipDiskStatus full{dsTooFull};
    if (m_engine.Events().OnStatusDisk) {
      int act = daAccept;
      m_engine.Events().OnStatusDisk(m_engine.Sender(), previous, SetSlash(m_outPart, false),
                                     int(full.Bits()), act);
      if (act == daCancel) Cancelled();
    } else {
      int answer = Ask(ZipLoadStr(11032), mbRetry | mbCancel, mbRetry, true);
      if (answer == mbNone) Fail(11006);
      if (answer != mbRetry) Cancelled();
    }
    m_bytesOnDisk = 0;
    m_newDisk = true;
    return true;
  }
  if (!noLabel && !SetFloppyLabel(m_letter, DiskLabel(m_diskNr))) Fail(11005);
  return false;
}

void TZipSpan::StartProgress(bool useXProgress, int extraStep, int files, qint64 total) {
  if (useXProgress) {
    m_engine.ReportProgress(NewExtra, ZipExtraStepCaption(extraStep, {}), total);
    m_progressMode = 2;
  } else {
    m_engine.ReportProgress(TotalFiles2Process, {}, files);
    m_engine.ReportProgress(TotalSize2Process, {}, total);
    m_progressMode = 1;
  }
  m_batchStarted = true;
}

void TZipSpan::ReportBytes(qint64 count) {
  if (m_progressMode == 2)
    m_engine.ReportProgress(ExtraUpdate, {}, count);
  else if (m_progressMode == 1)
    m_engine.ReportProgress(ProgressUpdate, {}, count);
}

void TZipSpan::EndProgress() {
  m_progressMode = 0;
  if (m_batchStarted) m_engine.ReportProgress(EndOfBatch, {}, 0);
  m_batchStarted = false;
}

void TZipSpan::WriteToSpan(const char* buffer, qint64 length, qint64 minimum) {
  if (m_engine.Events().OnTick) m_engine.Events().OnTick(m_engine.Sender());
  CheckCancel();
  while (true) {
    while (!m_out.isOpen()) {
      while (OpenNextOutputDisk()) {
      }
    }
    if (minimum > 0 && minimum > m_freeOnDisk) {
      // A unit that does not fit even an empty disk would ask for disks for ever.
      if (m_bytesOnDisk == 0) Fail(11010);
      FinishDisk();
      continue;
    }
    qint64 count = std::min({length, m_freeOnDisk, qint64(2147483647)});
    qint64 written = m_out.write(buffer, count);
    if (written < 0) Fail(11010);
    if (written < count && minimum > 0) {
      // A unit is never split: what went onto this disk is cut off, all of it goes on the next.
      m_out.resize(m_bytesOnDisk);
      FinishDisk();
      continue;
    }
    ReportBytes(written);
    m_bytesOnDisk += written;
    m_freeOnDisk -= written;
    buffer += written;
    length -= written;
    if (length == 0) return;
    m_freeOnDisk = 0;
    FinishDisk();
  }
}

int TZipSpan::WriteSpan(const QString& inFileName, const QString& outFileName, bool useXProgress) {
  const TZipProperties& p = m_engine.Props;
  m_progressMode = 0;
  m_batchStarted = false;
  m_diskNr = 0;
  m_freeOnDisk = 0;
  m_newDisk = true;
  m_bytesOnDisk = 0;
  m_totalDisks = -1;
  m_outName = outFileName;
  m_keepFree1 = p.KeepFreeOnDisk1;
  m_keepFreeAll = p.KeepFreeOnAllDisks;
  m_keepRounded = false;
  m_engine.StartWaitCursor();
  int result = 0;
  try {
    QString in = ZipLocalPath(inFileName);
    if (!QFileInfo(in).isFile()) Fail(11001);
    if (QFileInfo(SetSlash(outFileName, true)).fileName().isEmpty() ||
        (IsFloppyLetterPath(outFileName) && LocalPath(outFileName).isEmpty()))
      Fail(11009);
    m_in.setFileName(in);
    if (!m_in.open(QIODevice::ReadOnly)) Fail(11001);
    ZipDirectory dir;
    int rc = ReadZipEndRecord(m_in, dir);
    if (rc) Fail(rc);
    rc = ReadZipCentralDirectory(m_in, dir);
    if (rc) Fail(rc);
    m_date = QFileInfo(in).lastModified();
    m_archiveSize = m_in.size();
    SetDrive(outFileName);
    if (!m_in.seek(0)) Fail(11008);
    const int count = dir.Eoc.TotalEntries;
    TMZipDataList list(count);
    for (int i = 0; i < count; ++i) {
      TMZipData& d = list.Items(i);
      d.DiskNo = dir.Entries[i].StartOnDisk;
      d.RelOffLocal = dir.Entries[i].RelOffLocalHdr;
      d.SourceDisk = d.DiskNo;
      d.SourceOffset = d.RelOffLocal;
      d.ComprSize = dir.Entries[i].ComprSize;
      d.FileName = dir.Entries[i].FileName;
      d.FileNameLen = uint16_t(d.FileName.size());
    }
    WriteToSpan(kSpanMarker.constData(), 4, 4);
    StartProgress(useXProgress, 11, count, m_archiveSize);

    std::vector<char> buf(kBufferSize);
    qint64 pos = 0;
    for (int i = 0; i < count; ++i) {
      CheckCancel();
      QByteArray header = m_in.read(30);
      if (header.size() != 30) Fail(11012);
      if (!header.startsWith(QByteArray("PK\3\4", 4))) Fail(11014);
      qint64 nameLen = U16(header.constData() + 26), extraLen = U16(header.constData() + 28);
      QByteArray rest = m_in.read(nameLen + extraLen);
      if (rest.size() != nameLen + extraLen) Fail(11012);
      // The entry is the one whose directory header points here, whatever its name.
      TMZipData& d = list.Items(list.IndexOfHeader(dir.Eoc.ThisDiskNo, pos));
      m_engine.ReportMessage(
          0, ZipLoadStr(10105) + SetSlash(QString::fromUtf8(rest.left(nameLen)), false));
      QByteArray unit = header + rest;
      qint64 data = qint64(d.ComprSize) + ((U16(header.constData() + 6) & 8) ? 16 : 0);
      if (!useXProgress)
        m_engine.ReportProgress(NewFile, SetSlash(QString::fromUtf8(rest.left(nameLen)), false),
                                unit.size() + data);
      WriteToSpan(unit.constData(), unit.size(), unit.size());
      d.DiskNo = uint16_t(m_diskNr);
      d.RelOffLocal = d.NewOffset = m_bytesOnDisk - unit.size();
      pos += unit.size() + data;
      while (data > 0) {
        qint64 n = m_in.read(buf.data(), qMin<qint64>(data, kBufferSize));
        if (n <= 0) Fail(11021);
        WriteToSpan(buf.data(), n, 0);
        data -= n;
      }
    }

    m_engine.ReportMessage(0, ZipLoadStr(10105) + ZipLoadStr(11047));
    if (!useXProgress)
      m_engine.ReportProgress(NewFile, ZipLoadStr(11047),
                              qint64(dir.Eoc.CentralSize) + 22 + dir.Eoc.ZipCommentLen);
    if (!m_in.seek(dir.Eoc.CentralOffset)) Fail(11008);
    int cdDisk = -1;
    qint64 cdOffset = 0;
    for (int i = 0; i < count; ++i) {
      CheckCancel();
      QByteArray fixed = m_in.read(46);
      if (fixed.size() != 46) Fail(11013);
      if (!fixed.startsWith(QByteArray("PK\1\2", 4))) Fail(11015);
      char* f = fixed.data();
      qint64 more = qint64(U16(f + 28)) + U16(f + 30) + U16(f + 32);
      QByteArray rest = m_in.read(more);
      if (rest.size() != more) Fail(11013);
      TMZipData& d = list.Items(list.IndexOfHeader(U16(f + 34), U32(f + 42)));
      Put16(f + 34, d.DiskNo);
      Put32(f + 42, uint32_t(d.NewOffset));
      QByteArray unit = fixed + rest;
      WriteToSpan(unit.constData(), unit.size(), unit.size());
      if (cdDisk < 0) {
        cdDisk = m_diskNr;
        cdOffset = m_bytesOnDisk - unit.size();
      }
    }
    if (!m_in.seek(dir.EocPosition)) Fail(11008);
    QByteArray eoc = m_in.read(22);
    if (eoc.size() != 22) Fail(11008);
    QByteArray comment = m_in.read(U16(eoc.constData() + 20));
    if (comment.size() != U16(eoc.constData() + 20)) Fail(11023);
    QByteArray unit = eoc + comment;
    // The record names the disk it lands on: make room for it first.
    while (!m_out.isOpen() || unit.size() > m_freeOnDisk) {
      if (m_out.isOpen()) {
        if (m_bytesOnDisk == 0) Fail(11010);
        FinishDisk();
      }
      while (OpenNextOutputDisk()) {
      }
    }
    if (cdDisk < 0) {
      cdDisk = m_diskNr;
      cdOffset = m_bytesOnDisk;
    }
    char* e = unit.data();
    Put16(e + 4, uint16_t(m_diskNr));
    Put16(e + 6, uint16_t(cdDisk));
    Put32(e + 16, uint32_t(cdOffset));
    WriteToSpan(unit.constData(), unit.size(), unit.size());
    m_totalDisks = m_diskNr;
    m_progressMode = 0;
  } catch (...) {
    result = SpanFailure();
  }
  m_engine.StopWaitCursor();
  EndProgress();
  if (m_out.isOpen()) {
    m_out.setFileTime(m_date, QFileDevice::FileModificationTime);
    m_out.close();
  }
  m_in.close();
  // On a fixed drive the last part of a ".z" set takes the set's own name; on a floppy it keeps
  // its part name. A part once written is never deleted for the rename.
  QString target = ZipLocalPath(m_outName);
  if (result == 0 && m_fixed && SpanOpts::FromBits(p.SpanOptions).Contains(spCompatName) &&
      QFileInfo(target).absoluteFilePath() != QFileInfo(m_outPart).absoluteFilePath()) {
    bool move = true;
    if (QFileInfo::exists(target)) {
      TZipDiskStatus status{dsNameTaken};
      QString text = ZipFmtLoadStr(11039, {SetSlash(m_outName, false)});
      int answer;
      if (m_engine.Events().OnStatusDisk) {
        int action = daAccept;
        m_engine.Events().OnStatusDisk(m_engine.Sender(), m_diskNr, m_outName, int(status.Bits()),
                                       action);
        answer = action == daAccept ? mbYes : mbNo;
      } else {
        answer = Ask(text, mbYes | mbNo, mbNo, false);
      }
      move = answer == mbYes;
      if (answer == mbNone)
        m_engine.ShowZipMessage(11006);
      else if (answer == mbNo)
        m_engine.ReportMessage(11050, ZipFmtLoadStr(11050, {SetSlash(m_outPart, false)}));
    }
    // Renamed over the old file in one step: should that fail, the part stays as it is and the
    // set is not reported as written.
    std::error_code error;
    if (move)
      std::filesystem::rename(QFile::encodeName(m_outPart).toStdString(),
                              QFile::encodeName(target).toStdString(), error);
    if (error) {
      m_engine.ShowExceptionError(EZipArchiver::CreateResFmt(11050, {SetSlash(m_outPart, false)}));
      result = -7;
    }
  }
  return result;
}

// ---------------------------------------------------------------------------------------------

QString TZipSpan::PartName(int disk) const {
  if (disk == m_totalDisks || (!m_readCompat && !m_readNumbered)) return m_lastPartName;
  return ZipLocalPath(MakePartFileName(m_lastPartName, disk, m_readCompat, false, m_readNumbered));
}

void TZipSpan::GetNewDisk(int disk) {
  m_in.close();
  m_diskNr = disk;
  while (true) {
    m_newDisk = true;
    RequestDisk(false);
    const QString name = CheckPartOnDisk();
    if (!name.isEmpty()) {
      if (m_engine.Props.Verbose)
        m_engine.ReportMessage(0, ZipFmtLoadStr(11602, {SetSlash(name, false)}));
      m_in.setFileName(name);
      if (m_in.open(QIODevice::ReadOnly)) return;
    }
    if (m_fixed) Fail(11001);
    m_engine.ShowZipMessage(11001);
  }
}

QString TZipSpan::CheckPartOnDisk() const {
  if (!m_fixed && m_volumeLabel == DiskLabel(m_diskNr) && QFileInfo::exists(m_lastPartName))
    return m_lastPartName;
  if (!m_fixed && !m_readCompat && !m_readNumbered) {
    // The last part under the set's own name: a labelled disk is told by its label, a disk
    // without one by the part it holds, numbered or ".z" (as the last part was once renamed on
    // floppies too).
    if (m_volumeLabel.startsWith(QLatin1String("PKBACK# "))) return {};
    if (m_diskNr == m_totalDisks) return QFileInfo::exists(m_lastPartName) ? m_lastPartName : "";
    for (bool compat : {true, false}) {
      const QString name =
          ZipLocalPath(MakePartFileName(m_lastPartName, m_diskNr, compat, false, false));
      if (QFileInfo::exists(name)) return name;
    }
    return {};
  }
  const QString name = PartName(m_diskNr);
  return m_fixed || QFileInfo::exists(name) ? name : QString();
}

void TZipSpan::SpanRead(char* buffer, qint64 size, int id) {
  // A record cut at a part's end goes on in the next part.
  while (size > 0) {
    qint64 n = m_in.read(buffer, size);
    if (n < 0) Fail(id);
    buffer += n;
    size -= n;
    if (size == 0) return;
    if (!m_in.atEnd() || m_diskNr >= m_totalDisks) Fail(id);
    GetNewDisk(m_diskNr + 1);
  }
}

QByteArray TZipSpan::SpanRead(qint64 size, int id) {
  QByteArray b(size, '\0');
  SpanRead(b.data(), size, id);
  return b;
}

void TZipSpan::SpanSkip(qint64 size, int id) {
  std::vector<char> buf(kBufferSize);
  while (size > 0) {
    qint64 n = qMin<qint64>(size, kBufferSize);
    SpanRead(buf.data(), n, id);
    size -= n;
  }
}

int TZipSpan::OpenLastPart(QString& name, QByteArray& eoc) {
  try {
    SetDrive(name);
    CheckDiskPresent();
    return m_fixed ? OpenLastPartFile(name, eoc) : OpenLastDisk(name, eoc);
  } catch (const EZipArchiver& e) {
    m_engine.ShowExceptionError(e);
    name.clear();
    return -1;
  }
}

int TZipSpan::OpenLastPartFile(QString& name, QByteArray& eoc) {
  QString path = Local(name);
  QFileInfo fi(path);
  const bool compatOption = SpanOpts::FromBits(m_engine.Props.SpanOptions).Contains(spCompatName);
  if (!fi.exists()) {
    // The numbered parts in turn; the one that holds the end record is the last.
    if (fi.suffix().toUpper() != "ZIP") Fail(11002);
    for (int n = 0;; ++n) {
      QString part = ZipLocalPath(MakePartFileName(name, n, false, false, false));
      QFile f(part);
      if (!f.open(QIODevice::ReadOnly)) Fail(11002);
      QByteArray e;
      if (ReadPartEnd(f, e)) {
        if (U16(e.constData() + 4) != n) Fail(11002);
        if (QFileInfo::exists(MakePartFileName(path, 0, true, false, false))) Fail(11002);
        path = part;
        break;
      }
    }
    m_readCompat = false;
  } else {
    // A name without a part number is the last part of a ".z" set.
    QString base = fi.completeBaseName();
    bool numbered = base.size() > 3 && base.right(3).toInt() > 0 &&
                    QFileInfo::exists(MakePartFileName(path, 0, false, false, true));
    m_readCompat = compatOption || !numbered;
  }
  m_readNumbered = !m_readCompat;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly) || !ReadPartEnd(f, eoc)) Fail(11036);
  name = path;
  return 0;
}

QString TZipSpan::FindPartFile(const QString& folder, const QString& base, bool zNames,
                               int* number) {
  const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System,
                                                         QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& file : files) {
    const QString name = file.fileName();
    if (!name.startsWith(base, Qt::CaseInsensitive)) continue;
    const QString rest = name.mid(base.size());
    int n = 0;
    if (zNames) {
      if (rest.size() < 4 || !rest.startsWith(".z", Qt::CaseInsensitive) ||
          rest.indexOf('.', 1) > 0)
        continue;
      const QString digits = rest.mid(2).toUpper();
      n = digits == QLatin1String("IP") ? 99999 : PartNumber(digits);
    } else {
      if (rest.size() != 7 || !rest.endsWith(".zip", Qt::CaseInsensitive)) continue;
      n = PartNumber(rest.left(3));
    }
    if (n > 0) {
      if (number) *number = n;
      return name;
    }
  }
  return {};
}

int TZipSpan::OpenLastDisk(QString& name, QByteArray& eoc) {
  QString path = Local(name);
  const QString folder = QFileInfo(path).absolutePath();
  const QString base = QFileInfo(path).completeBaseName();
  m_readCompat =
      SpanOpts::FromBits(m_engine.Props.SpanOptions).Contains(spCompatName) || IsZPartName(path);
  m_readNumbered = false;
  // Not on the disk in the drive under its own name: a part file of the set there.
  bool searched = false;
  int partNo = -1;
  if (!QFileInfo::exists(path)) {
    QString found = FindPartFile(folder, base, false, &partNo);
    m_readCompat = found.isEmpty();
    if (found.isEmpty()) found = FindPartFile(folder, base, true, &partNo);
    if (found.isEmpty()) Fail(11002);
    searched = true;
    m_readNumbered = !m_readCompat;
    path = folder + "/" + found;
  }
  // The last disk is asked for until the file holds an end record.
  QFile f(path);
  while (!(f.open(QIODevice::ReadOnly) && ReadPartEnd(f, eoc))) {
    f.close();
    RequestDisk(false);
    if (m_engine.Events().OnGetNextDisk) {
      bool abort = false;
      m_engine.Events().OnGetNextDisk(m_engine.Sender(), 0, 0, QString(m_letter), abort);
      if (abort) return 1;
      CheckDiskPresent();
    } else {
      m_newDisk = true;
      m_diskNr = -1;
      RequestDisk(false);
    }
    if (searched) {
      // The naming found first names the part on this disk too.
      const QString found = FindPartFile(folder, base, m_readCompat, &partNo);
      if (found.isEmpty()) {
        m_engine.ShowZipMessage(11002);
        name.clear();
        return -1;
      }
      path = folder + "/" + found;
    } else {
      path = Local(name);
    }
    f.setFileName(path);
  }
  // A part file found that is a whole archive of its own, not a set's last part.
  const bool firstPart = f.seek(0) && f.read(8) == kSpanMarker + QByteArray("PK\3\4", 4);
  if (searched && !firstPart && U16(eoc.constData() + 4) == 0 && partNo > 0) Fail(11002);
  if (!searched && !m_readCompat)
    m_readNumbered = base.size() > 3 && PartNumber(base.right(3)) == U16(eoc.constData() + 4) + 1;
  name = path;
  return 0;
}

int TZipSpan::ReadSpan(const QString& inFileName, QString& outFilePath, bool useXProgress) {
  const TZipProperties& p = m_engine.Props;
  m_progressMode = 0;
  m_batchStarted = false;
  m_diskNr = -1;
  m_newDisk = false;
  m_engine.StartWaitCursor();
  int result = 0;
  QString outPath;
  try {
    if (QFileInfo(SetSlash(outFilePath, true)).fileName().isEmpty()) {
      outPath = m_engine.MakeTempFileName();
      if (outPath.isEmpty()) Fail(11027);
    } else {
      outPath = ZipLocalPath(outFilePath);
      if (QFileInfo::exists(outPath)) EraseFile(outPath, p.HowToDelete == htdFinal);
      QFileInfo fi(outPath);
      outPath = fi.absolutePath() + "/" + fi.completeBaseName() + ".zip";
    }
    QString last = inFileName;
    QByteArray eoc;
    int found = OpenLastPart(last, eoc);
    if (found == 1) Fail(11007);
    if (found != 0) {
      m_engine.StopWaitCursor();
      outFilePath.clear();
      return -9;
    }
    m_lastPartName = last;
    m_date = QFileInfo(last).lastModified();
    m_out.setFileName(outPath);
    if (!m_out.open(QIODevice::WriteOnly | QIODevice::Truncate)) Fail(11009);
    m_totalDisks = U16(eoc.constData() + 4);
    const int cdDisk = U16(eoc.constData() + 6);
    const int count = U16(eoc.constData() + 10);
    const qint64 cdSize = U32(eoc.constData() + 12), cdOffset = U32(eoc.constData() + 16);
    if (cdDisk > m_totalDisks) Fail(11013);

    TMZipDataList list(count);
    qint64 total = qint64(U16(eoc.constData() + 20)) + cdSize + 22;
    auto toDirectory = [&] {
      GetNewDisk(cdDisk);
      if (!m_in.seek(cdOffset)) Fail(11008);
    };
    toDirectory();
    for (int i = 0; i < count; ++i) {
      CheckCancel();
      QByteArray fixed = SpanRead(46, 11013);
      if (!fixed.startsWith(QByteArray("PK\1\2", 4))) Fail(11015);
      const char* f = fixed.constData();
      TMZipData& d = list.Items(i);
      d.FileName = SpanRead(U16(f + 28), 11017);
      d.FileNameLen = U16(f + 28);
      d.DiskNo = U16(f + 34);
      d.RelOffLocal = U32(f + 42);
      d.SourceDisk = d.DiskNo;
      d.SourceOffset = d.RelOffLocal;
      d.ComprSize = U32(f + 20);
      total += 30 + qint64(U16(f + 28)) + U16(f + 30) + d.ComprSize + ((U16(f + 8) & 8) ? 16 : 0);
      SpanSkip(qint64(U16(f + 30)) + U16(f + 32), 11008);
    }

    GetNewDisk(0);
    StartProgress(useXProgress, 10, count + 1, total);
    QByteArray marker = m_in.read(4);
    if (marker != kSpanMarker) Fail(11031);
    std::vector<char> buf(kBufferSize);
    auto copy = [&](qint64 size, int readId, int writeId) {
      while (size > 0) {
        qint64 n = qMin<qint64>(size, kBufferSize);
        SpanRead(buf.data(), n, readId);
        if (m_out.write(buf.data(), n) != n) Fail(writeId);
        ReportBytes(n);
        size -= n;
      }
    };
    for (int i = 0; i < count; ++i) {
      CheckCancel();
      if (m_in.atEnd() && m_diskNr < m_totalDisks) GetNewDisk(m_diskNr + 1);
      const uint16_t disk = uint16_t(m_diskNr);
      const qint64 offset = m_in.pos();
      QByteArray header = SpanRead(30, 11012);
      if (!header.startsWith(QByteArray("PK\3\4", 4))) Fail(11014);
      const char* h = header.constData();
      QByteArray name = SpanRead(U16(h + 26), 11016);
      // Matched by where the header lies: equal or case-different names do not cross.
      TMZipData& d = list.Items(list.IndexOfHeader(disk, offset));
      d.NewOffset = m_out.pos();
      m_engine.ReportMessage(0, ZipLoadStr(10105) + SetSlash(QString::fromUtf8(name), false));
      if (!useXProgress)
        m_engine.ReportProgress(
            NewFile, SetSlash(QString::fromUtf8(name), false),
            30 + qint64(name.size()) + U16(h + 28) + d.ComprSize + ((U16(h + 6) & 8) ? 16 : 0));
      if (m_out.write(header) != 30 || m_out.write(name) != name.size()) Fail(11028);
      ReportBytes(30 + name.size());
      copy(U16(h + 28), 11018, 11028);
      copy(d.ComprSize, 11021, 11028);
      if (U16(h + 6) & 8) copy(16, 11020, 11028);
    }

    if (!useXProgress) m_engine.ReportProgress(NewFile, ZipLoadStr(11407), cdSize);
    toDirectory();
    const qint64 newCd = m_out.pos();
    for (int i = 0; i < count; ++i) {
      CheckCancel();
      QByteArray fixed = SpanRead(46, 11013);
      if (!fixed.startsWith(QByteArray("PK\1\2", 4))) Fail(11015);
      char* f = fixed.data();
      TMZipData& d = list.Items(list.IndexOfHeader(U16(f + 34), U32(f + 42)));
      if (d.NewOffset < 0) Fail(11026);
      Put32(f + 42, uint32_t(d.NewOffset));
      Put16(f + 34, 0);
      if (m_out.write(fixed) != 46) Fail(11029);
      ReportBytes(46);
      copy(U16(f + 28), 11019, 11029);
      copy(U16(f + 30), 11019, 11029);
      copy(U16(f + 32), 11022, 11029);
    }
    QByteArray end = eoc;
    char* e = end.data();
    Put16(e + 4, 0);
    Put16(e + 6, 0);
    Put16(e + 8, uint16_t(count));  // the joined archive is one disk: all its entries on it
    Put32(e + 12, uint32_t(cdSize));
    Put32(e + 16, uint32_t(newCd));
    if (m_out.write(end) != 22) Fail(11030);
    // The comment stands behind the record in the last part.
    GetNewDisk(m_totalDisks);
    QByteArray tail;
    if (!ReadPartEnd(m_in, tail)) Fail(11008);
    m_in.seek(m_in.pos() + 22);
    QByteArray comment = m_in.read(U16(eoc.constData() + 20));
    if (comment.size() != U16(eoc.constData() + 20)) Fail(11023);
    if (m_out.write(comment) != comment.size()) Fail(11023);
  } catch (...) {
    result = SpanFailure();
  }
  m_in.close();
  if (m_out.isOpen()) {
    m_out.setFileTime(m_date, QFileDevice::FileModificationTime);
    m_out.close();
  }
  EndProgress();
  if (result != 0) {
    if (!outPath.isEmpty()) QFile::remove(outPath);
    outFilePath.clear();
  } else {
    outFilePath = outPath;
  }
  m_engine.StopWaitCursor();
  return result;
}
