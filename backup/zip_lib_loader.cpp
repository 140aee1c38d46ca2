#include "zip_lib_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "zip_base.h"
#include "zip_messages.h"
#include "zip_utils.h"

TZipLibLoader::TZipLibLoader(TZipBase* master, int kind)
    : m_master(master),
      m_kind(kind),
      m_fileName(kind == 1 ? QStringLiteral("ZIPLIB.DLL") : QStringLiteral("UNZLIB.DLL")) {}

TZipLibLoader::~TZipLibLoader() { Unload(); }

void TZipLibLoader::LoadLib(Holder holder, int minVersion) {
  if (!m_module) {
    QString path = m_fileName;
    QString dir = m_master->Props.DLLDirectory;
    if (!dir.isEmpty()) {
      if (dir.startsWith('.'))
        dir = PathConcat(SetSlash(QCoreApplication::applicationDirPath(), false), dir);
      QString full = PathConcat(dir, m_fileName);
      if (QFileInfo::exists(ZipLocalPath(full))) path = ZipLocalPath(full);
    }
    const LibraryModule* module = LoadLibraryModule(path);
    const bool zip = m_kind == 1;
    auto exec = reinterpret_cast<int32_t (*)(void*)>(
        LibraryProcAddress(module, zip ? "ZipLibExec" : "UnzLibExec"));
    auto version = reinterpret_cast<int32_t (*)()>(
        LibraryProcAddress(module, zip ? "GetZipLibVersion" : "GetUnzLibVersion"));
    auto priv = reinterpret_cast<int32_t (*)()>(
        LibraryProcAddress(module, zip ? "GetZipLibPrivVersion" : "GetUnzLibPrivVersion"));
    if (!exec || !version || !priv) throw EZipArchiver::CreateResDrive(10650, m_fileName);
    m_module = module;
    m_exec = exec;
    m_versionFn = version;
    m_privVersionFn = priv;
    m_version = version();
    m_privVersion = priv();
    if (m_version < 153 || m_version > 300) {
      Unload();
      throw EZipArchiver::CreateResDrive(10651, m_fileName);
    }
    if (m_master->Props.Verbose) m_master->ReportMessage(0, ZipLoadStr(10652) + m_fileName);
  }
  if (m_version < minVersion) {
    Unload();
    throw EZipArchiver::CreateResDrive(10651, m_fileName);
  }
  m_hold |= holder;
}

void TZipLibLoader::ReleaseLib(Holder holder) {
  m_hold &= ~holder;
  if (m_hold == 0 && m_module) {
    Unload();
    if (m_master->Props.Verbose) m_master->ReportMessage(0, ZipLoadStr(10653) + m_fileName);
  }
}

void TZipLibLoader::Unload() {
  m_module = nullptr;
  m_exec = nullptr;
  m_versionFn = nullptr;
  m_privVersionFn = nullptr;
  m_hold = 0;
}

int32_t TZipLibLoader::CallExec(void* record) {
  if (!m_exec) return 0;
  int32_t (*exec)(void*) = m_exec;
  m_hold |= hoExec;
  int32_t r = exec(record);
  ReleaseLib(hoExec);
  return r;
}

int32_t TZipLibLoader::Exec(void* record) {
  int32_t r = CallExec(record);
  if (r >= 0) return r;
  switch (r) {
    case -1:
    case -2:
      throw EZipArchiver::CreateResDisp(10118, true);
    case -3:
      throw EZipArchiver::CreateResDisp(10119, true);
    case -4:
      throw EZipArchiver::CreateResDisp(10120, true);
    case -5:
      throw EZipArchiver::CreateResDisp(10121, true);
    case -6:
      throw EZipArchiver::CreateResDisp(10122, true);
    case -8:
      throw EZipArchiver::CreateResDisp(10123, true);
    default:
      throw EZipArchiver::CreateResFmt(10124, {r});
  }
}

void TZipLibLoader::Abort() {
  if (m_exec) m_exec(nullptr);
}
