#include "system_info.h"

#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <QFileInfo>
#include <vector>

#include "registry_values.h"

QString ProgramFilePath() {
  const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  return exe;
}

QString LogonName() {
  if (auto v = RegistryValues::OfProgramDir().Read(kLogonUserKey, kLogonUserValue)) return *v;
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found)
    return QString::fromLocal8Bit(found->pw_name);
  return qEnvironmentVariable("USER");
}

QString ComputerName() {
  if (auto v = RegistryValues::OfProgramDir().Read(kComputerNameKey, kComputerNameValue))
    return *v;
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) return QString();
  const QString name = QString::fromLocal8Bit(host);
  return name.section('.', 0, 0);
}
