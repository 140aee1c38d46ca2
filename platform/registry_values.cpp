#include "registry_values.h"

#include <QFileInfo>
#include <QStringList>

#include "app_globals.h"
#include "memory_ini_file.h"

RegistryValues RegistryValues::OfProgramDir() {
  return RegistryValues(Globals().ProgramDir + QLatin1String(kRegistryFileName));
}

std::optional<QString> RegistryValues::Read(const QString& key, const QString& name) const {
  if (m_fileName.isEmpty() || !QFileInfo::exists(m_fileName)) return std::nullopt;
  TMemoryIniFile ini(m_fileName);
  QStringList names;
  ini.ReadSection(key, names);
  if (!names.contains(name, Qt::CaseInsensitive)) return std::nullopt;
  return ini.ReadString(key, name, QString());
}
