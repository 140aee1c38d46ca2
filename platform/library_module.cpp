#include "library_module.h"

#include <QFileInfo>
#include <map>

#include "zip_lib.h"

namespace {

struct Registry {
  std::map<QString, std::optional<LibraryModule>> overrides;
  std::map<QString, LibraryModule> builtIn;
};

Registry& TheRegistry() {
  static Registry r = [] {
    Registry reg;
    LibraryModule zip;
    zip.exports.insert("ZipLibExec", reinterpret_cast<void*>(&ZipLibExec));
    zip.exports.insert("GetZipLibVersion", reinterpret_cast<void*>(&GetZipLibVersion));
    zip.exports.insert("GetZipLibPrivVersion", reinterpret_cast<void*>(&GetZipLibPrivVersion));
    reg.builtIn[QStringLiteral("ZIPLIB.DLL")] = zip;
    LibraryModule unz;
    unz.exports.insert("UnzLibExec", reinterpret_cast<void*>(&UnzLibExec));
    unz.exports.insert("GetUnzLibVersion", reinterpret_cast<void*>(&GetUnzLibVersion));
    unz.exports.insert("GetUnzLibPrivVersion", reinterpret_cast<void*>(&GetUnzLibPrivVersion));
    reg.builtIn[QStringLiteral("UNZLIB.DLL")] = unz;
    return reg;
  }();
  return r;
}

QString Key(const QString& name) { return name.toUpper(); }

}  // namespace

const LibraryModule* LoadLibraryModule(const QString& path) {
  Registry& reg = TheRegistry();
  QString fileName = QFileInfo(QString(path).replace('\\', '/')).fileName();
  for (const QString& key : {Key(path), Key(fileName)}) {
    auto o = reg.overrides.find(key);
    if (o != reg.overrides.end()) return o->second ? &*o->second : nullptr;
  }
  auto b = reg.builtIn.find(Key(fileName));
  return b == reg.builtIn.end() ? nullptr : &b->second;
}

void* LibraryProcAddress(const LibraryModule* module, const char* name) {
  if (!module) return nullptr;
  return module->exports.value(QByteArray(name), nullptr);
}

std::optional<LibraryModule> RegisterLibraryModule(const QString& name,
                                                   std::optional<LibraryModule> module) {
  Registry& reg = TheRegistry();
  std::optional<LibraryModule> before;
  auto o = reg.overrides.find(Key(name));
  if (o != reg.overrides.end()) before = o->second;
  reg.overrides[Key(name)] = std::move(module);
  return before;
}

void RestoreLibraryModule(const QString& name) { TheRegistry().overrides.erase(Key(name)); }
