#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>

#include "zip_directory.h"

// The enumerations, sets and published settings of the zip component. The order of each
// enumeration is the bit number in its set.

enum AddOptsEnum {
  AddDirNames,
  AddRecurseDirs,
  AddMove,
  AddFreshen,
  AddUpdate,
  AddZipTime,
  AddForceDOS,
  AddHiddenFiles,
  AddArchiveOnly,
  AddResetArchive,
  AddEncrypt,
  AddSeparateDirs,
  AddVolume,
  AddFromDate,
  AddSafe,
  AddForceDest,
  AddDiskSpan,
  AddDiskSpanErase
};

enum AddStoreSuffixEnum {
  assGIF,
  assPNG,
  assZ,
  assZIP,
  assZOO,
  assARC,
  assLZH,
  assARJ,
  assTAZ,
  assTGZ,
  assLHA,
  assRAR,
  assACE,
  assCAB,
  assGZ,
  assGZIP,
  assJAR,
  assEXE,
  assEXT
};

enum ExtrOptsEnum { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate, ExtrTest, ExtrForceDirs };

enum CodePageOpts { cpAuto, cpNone, cpOEM };
enum DeleteOpts { htdFinal, htdAllowUndo };

// A set of enumeration members, one bit each.
template <typename E>
class TZipSet {
 public:
  TZipSet() = default;
  TZipSet(std::initializer_list<E> members) {
    for (E e : members) *this << e;
  }
  static TZipSet Range(E first, E last) {
    TZipSet s;
    for (int i = first; i <= last; ++i) s << E(i);
    return s;
  }
  bool Contains(E e) const { return m_bits & (uint32_t(1) << e); }
  bool IsEmpty() const { return m_bits == 0; }
  TZipSet& operator<<(E e) {
    m_bits |= uint32_t(1) << e;
    return *this;
  }
  TZipSet& operator>>(E e) {
    m_bits &= ~(uint32_t(1) << e);
    return *this;
  }
  bool operator==(const TZipSet&) const = default;
  uint32_t Bits() const { return m_bits; }
  static TZipSet FromBits(uint32_t bits) {
    TZipSet s;
    s.m_bits = bits;
    return s;
  }

 private:
  uint32_t m_bits = 0;
};

using AddOpts = TZipSet<AddOptsEnum>;
using AddStoreExts = TZipSet<AddStoreSuffixEnum>;
using ExtrOpts = TZipSet<ExtrOptsEnum>;

// The published settings (all but Active and ZipFileName, which act when set). The component
// copies them into its engine at the start of each operation.
struct TZipProperties {
  int AddCompLevel = 9;
  AddOpts AddOptions;
  AddStoreExts AddStoreSuffixes = AddStoreExts::Range(assGIF, assJAR);
  QString ExtAddStoreSuffixes;
  QString ExtrBaseDir;
  ExtrOpts ExtrOptions;
  QStringList FSpecArgs;
  QStringList FSpecArgsExcl;
  QString Password;
  unsigned PasswordReqCount = 1;
  QString RootDir;
  QString TempDir;
  QString DLLDirectory;
  bool Trace = false;
  bool Verbose = false;
  bool Unattended = false;
  // Off: the engine's own errors reach OnMessage only, for an owner that shows them itself (the
  // forms tell a failure once, not once here and once more there).
  bool ErrorBoxes = true;
  CodePageOpts CodePage = cpAuto;
  DeleteOpts HowToDelete = htdAllowUndo;
  // Spanning (the self-extractor settings live in the component's builder).
  QDateTime AddFrom;
  bool UseDirOnlyEntries = false;
  bool ConfirmErase = true;
  qint64 KeepFreeOnAllDisks = 0;
  qint64 KeepFreeOnDisk1 = 0;
  qint64 MaxVolumeSize = 0;
  qint64 MinFreeVolumeSize = 65536;
  unsigned SpanOptions = 0;  // bits of SpanOptsEnum
};

// One entry of the open archive's central directory, in directory order: its header as read,
// the name and comment converted to text.
struct ZipDirEntry : ZipCentralHeader {
  QString FileName;  // "\" separators
  QString FileComment;
  bool Encrypted = false;
  QByteArray ExtraData;
};
