#pragma once

#include <QString>

#include "library_module.h"
#include "zip_lib.h"

class TZipBase;

// Loads one compression library by name for the duration of an operation. Holders are bits
// of a mask: the library stays loaded while any is set.
class TZipLibLoader {
 public:
  enum Holder { hoOperation = 1, hoExec = 2, hoAbort = 4 };

  TZipLibLoader(TZipBase* master, int kind);  // kind: 0 extractor, 1 compressor
  virtual ~TZipLibLoader();

  // Loads (once) and holds; raises 10650 when it cannot be loaded, 10651 when it is too old or
  // corrupt, or older than minVersion.
  void LoadLib(Holder holder, int minVersion);
  void ReleaseLib(Holder holder);
  bool Loaded() const { return m_module != nullptr; }
  // Calls the exec export with record (null asks it to abort); the raw result.
  int32_t CallExec(void* record);
  // Calls it and turns a negative result into a displayed error (10118 to 10124).
  int32_t Exec(void* record);
  void Abort();

  int Version() const { return m_version; }
  int PrivVersion() const { return m_privVersion; }
  const QString& FileName() const { return m_fileName; }

 protected:
  void Unload();

  TZipBase* m_master;
  int m_kind;
  QString m_fileName;
  QString m_tmpFileName;  // a temporary copy of the library: not used here
  const LibraryModule* m_module = nullptr;
  int32_t (*m_exec)(void*) = nullptr;
  int32_t (*m_versionFn)() = nullptr;
  int32_t (*m_privVersionFn)() = nullptr;
  int m_hold = 0;
  int m_version = 0;
  int m_privVersion = 0;
};

class TZipLib : public TZipLibLoader {
 public:
  explicit TZipLib(TZipBase* master) : TZipLibLoader(master, 1) {}
};

class TUnzLib : public TZipLibLoader {
 public:
  explicit TUnzLib(TZipBase* master) : TZipLibLoader(master, 0) {}
};
