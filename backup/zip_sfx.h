#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "zip_directory.h"
#include "zip_types.h"

// Self-extracting archives: a stub program, a settings header the stub reads, and a zip archive,
// laid end to end in one executable file.

enum SFXOptsEnum {
  SFXAskCmdLine,
  SFXAskFiles,
  SFXAutoRun,
  SFXHideOverWriteBox,
  SFXCheckSize,
  SFXNoSuccessMsg
};
using SFXOpts = TZipSet<SFXOptsEnum>;
enum OvrOpts { OvrConfirm, OvrAlways, OvrNever };

constexpr uint16_t kSFXOldHeaderBit = 0x0100;
constexpr uint16_t kSFXDetachedBit = 0x0400;

class TCustomZipSFX {
 public:
  explicit TCustomZipSFX(QObject* owner = nullptr);

  uint32_t MessageStyle = 0;
  QString Language = QStringLiteral("US");
  QString SFXCommandLine;
  QString SFXCaption;
  QString SFXMessage;
  QString FallbackPath;
  QString SFXDefaultDir;
  QString SourceFile;
  QString TargetFile;
  QString SFXPath;
  uint16_t Options = 0;
  uint8_t OverwriteCode = 2;
  QByteArray SFXIcon;  // the icon in ICO file form; empty: the stub keeps its own
  uint8_t DeleteMode = 1;

  // A leading character code 1 or 2 picks the message-box style and is dropped.
  void SetMessage(const QString& text);
  SFXOpts GetOptions() const;
  void SetOptions(const SFXOpts& options);
  OvrOpts GetOverWriteMode() const;
  void SetOverWriteMode(int mode);
  void SetIcon(const QByteArray& ico) { SFXIcon = ico; }

  void MakeAutoSFX() { BuildSFX(true); }
  // Builds TargetFile; every failure raises EZipArchiver.
  void BuildSFX(bool automatic);

  QObject* Owner() const { return m_owner; }

 private:
  QObject* m_owner;
};

// The stub: from the program's resources, else from the file found for path and language.
class TSFXBinStream {
 public:
  TSFXBinStream(const QString& path, const QString& language);
  QByteArray Data;
  QString FileName;  // empty when the stub came from the resources
};

// The settings header and its trailer, built from the owner; or, given a source positioned
// where an archive part begins, the reader of the settings in front of it.
class TSFXHeaderStream {
 public:
  explicit TSFXHeaderStream(TCustomZipSFX& owner, QIODevice* source = nullptr);
  virtual ~TSFXHeaderStream() = default;
  QByteArray Data;
  virtual bool ReadHeader();
  virtual bool ReadOldHeader();

 private:
  TCustomZipSFX& m_owner;
  QIODevice* m_source;
};

// The archive part copied behind the header: an archive file, or an empty archive in memory.
class TZipArchiveStream {
 public:
  static std::unique_ptr<TZipArchiveStream> Create(const QString& fileName);
  static std::unique_ptr<TZipArchiveStream> CreateEmpty();
  ~TZipArchiveStream();

  qint64 Read(char* buffer, qint64 count);
  qint64 Seek(qint64 offset, int origin);  // origin 0 start, 1 current, 2 end
  qint64 Write(const char*, qint64) { return 0; }

  // Append the archive part at the target's end: whole with its offsets moved, or only its
  // central directory (detached).
  void CopyArchiveTo(QIODevice& target);
  void CopyDirectoryTo(QIODevice& target);

 private:
  TZipArchiveStream() = default;
  // The end record's position; its 22 bytes kept in m_eoc.
  qint64 LocateEnd();
  void CopyEmpty(QIODevice& target);

  QByteArray m_eoc;
  std::unique_ptr<QIODevice> m_file;
  qint64 m_position = 0;
  QString m_fileName;
};

// A self-extractor's archive taken off its stub for the compressor, which writes archives from
// their first byte, and put back behind it afterwards.
class TSFXArchiveSplit {
 public:
  // Copies the archive part of exe into bareName (offsets moved down); nothing when exe holds
  // no archive behind a stub.
  TSFXArchiveSplit(const QString& exe, const QString& bareName);
  ~TSFXArchiveSplit();
  bool Empty() const { return m_prefix.isEmpty(); }
  const QString& BareArchive() const { return m_bare; }
  // Replaces exe by its stub and the bare archive as the compressor left it.
  void Join();

 private:
  QString m_exe;
  QString m_bare;
  QByteArray m_prefix;
};

// The archive-name record of a detached self-extractor.
QByteArray SFXArchiveNameRecord(const QString& sourceFile);

// Writes the icon's image of the stub's size over the stub's icon 1; raises EZipArchiver.
void ReplaceIcon(QIODevice& exe, const QByteArray& ico);

// "native name=code" of every stub language among the program's resources.
QStringList& SFXLanguageList();
// The native name of a Windows language identifier; empty when unknown.
QString SFXLanguageName(uint16_t langId);
