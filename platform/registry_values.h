#pragma once

#include <QString>
#include <optional>

// The registry values the program reads, kept in an INI file: the section is the key's full
// path with its root ("HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\..."), the name is the
// value's name. Keys and names compare without regard to case. Nothing is ever written.
class RegistryValues {
 public:
  explicit RegistryValues(QString fileName) : m_fileName(std::move(fileName)) {}
  // The store of the program directory (Globals().ProgramDir + kRegistryFileName).
  static RegistryValues OfProgramDir();

  // nullopt when the key or the value does not exist.
  std::optional<QString> Read(const QString& key, const QString& name) const;

 private:
  QString m_fileName;
};

inline constexpr char kRegistryFileName[] = "registry.ini";
