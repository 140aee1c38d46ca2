#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "zip_base.h"
#include "zip_lib.h"
#include "zip_lib_loader.h"
#include "zip_stream.h"

// The zip engine: reads the open archive's directory itself and adds, tests and extracts
// through the two compression libraries.
class TZArchiver : public TZipBase {
 public:
  TZArchiver(QObject* sender, TZipEvents* events);
  ~TZArchiver() override;

  bool Active() const { return m_active; }
  void SetActive(bool active);

  const QString& ZipFileName() const { return m_zipFileName; }
  // Stores the name and reads the archive's directory (a missing file: no entries, no message).
  void SetZipFileName(const QString& name);

  int Add();
  int Extract();
  // A refused call while busy: the re-entry flag, and "Re-entry" when Verbose.
  void Reentered();
  bool Reentry() const { return m_reentry; }
  bool Busy() const { return m_busy; }

  // Reads the end record and the central directory again; false when none could be read.
  bool List();
  void ClearDirectory();
  const QList<ZipDirEntry>& ZipContents() const { return m_dir; }
  int Count() const { return m_active ? int(m_dir.size()) : 0; }
  const QString& ZipComment() const { return m_zipComment; }
  void SetZipComment(const QString& comment);

  void SetCancel(bool cancel);
  void AbortDlls();

  // Passwords through the password dialog: adding asks twice and compares.
  QString GetAddPassword(int& answer);
  QString GetExtrPassword(int& answer);

  // The self-extractor and spanning hooks of their own issues; unset here.
  std::function<int(const QString& zipName, const QString& exeName)> SFXBuilder;
  std::function<int()> SpanWriter;

  int BuildAutoSFX(const QString& zipName, const QString& exeName);

  // Reads exactly size bytes from the open file; a short read raises id (displayed).
  static void ReadExact(QIODevice& file, char* buffer, qint64 size, int id);

  // Text of a callback record: in place or through its pointer, "/" as "\", with a message id
  // in the action field turned into its text.
  static QString CallbackText(const ZipCallbackStruct& rec);
  int32_t Callback(ZipCallbackStruct* rec);

  TZipLib& ZipLib() { return m_zipLib; }
  TUnzLib& UnzLib() { return m_unzLib; }
  TZipStream& ZipStream() { return m_zipStream; }

 private:
  // Loads the library for the operation, marks the engine busy, hourglass; false (reported)
  // when the library cannot be used.
  bool StartOperation(TZipLibLoader& lib);
  void EndOperation(TZipLibLoader& lib);
  int DoAdd();
  int DoExtract();
  void AfterCallback();
  QString ConvertName(const QByteArray& raw, uint16_t flag, uint16_t versionMadeBy) const;

  bool m_active = true;
  bool m_destroying = false;
  QString m_zipFileName;
  QList<ZipDirEntry> m_dir;
  QString m_zipComment;
  QByteArray m_zipCommentRaw;
  qint64 m_eocPosition = -1;
  bool m_commentPending = false;
  QString m_pendingComment;
  TZipLib m_zipLib;
  TUnzLib m_unzLib;
  TZipStream m_zipStream;
};
