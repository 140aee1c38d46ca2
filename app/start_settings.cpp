#include "start_settings.h"

#include "company_databases.h"
#include "memory_ini_file.h"
#include "uni_sql_database.h"

QString CleanUserName(const QString& name) {
  QString out;
  for (QChar c : name) {
    const char16_t u = c.unicode();
    if (u < u'0' || u == u'.' || u == u',' || u == u'/' || u == u'\\' || u == u':' || u == u' ')
      continue;
    if (u < 0x80 ? !(c.isLetterOrNumber() || u == u'_') : !c.isLetterOrNumber()) continue;
    out += c;
  }
  return out;
}

ConnectionSettings LoadConnectionSettings(const QString& iniFileName) {
  ConnectionSettings s;
  TMemoryIniFile ini(iniFileName);
  s.Host = ini.ReadString("INI", "HOST", s.Host);
  s.Port = ini.ReadString("INI", "PORT", s.Port);
  s.User = ini.ReadString("INI", "USER", s.User);
  s.Password = ini.ReadString("INI", "PASSWORD", s.Password);
  s.ConnectTimeout = ini.ReadInteger("INI", "CONNECT_TIMEOUT", 0);
  s.QueryTimeout = ini.ReadInteger("INI", "QUERY_TIMEOUT", 0);
  ini.WriteString("INI", "HOST", s.Host);
  ini.WriteString("INI", "PORT", s.Port);
  ini.WriteString("INI", "USER", s.User);
  ini.WriteString("INI", "PASSWORD", s.Password);
  ini.UpdateFile();
  return s;
}

void SaveConnectionSettings(const QString& iniFileName, const ConnectionSettings& s) {
  TMemoryIniFile ini(iniFileName);
  ini.WriteString("INI", "HOST", s.Host);
  ini.WriteString("INI", "PORT", s.Port);
  ini.WriteString("INI", "USER", s.User);
  ini.WriteString("INI", "PASSWORD", s.Password);
  ini.UpdateFile();
}

void ApplyConnectionSettings(const ConnectionSettings& s, TUniSQLDatabase& db) {
  db.SetHost(s.Host);
  db.SetPort(s.Port);
  db.SetUser(s.User);
  db.Setpassword(s.Password);
}

void ApplyTimeouts(const ConnectionSettings& s) {
  TUniSQLDatabase::SetTimeouts(s.ConnectTimeout, s.QueryTimeout);
}

ConnectionSettings ConnectionSettingsOf(const TUniSQLDatabase& db) {
  ConnectionSettings s;
  s.Host = db.Host();
  s.Port = db.Port();
  s.User = db.User();
  s.Password = db.password();
  return s;
}

bool IsValidPort(const QString& port) {
  bool ok = false;
  const int n = port.trimmed().toInt(&ok);
  return ok && n >= 1 && n <= 65535;
}

UserSettings LoadUserSettings(const QString& iniFileName) {
  UserSettings s;
  TMemoryIniFile ini(iniFileName);
  const QString alias = ini.ReadString("USERINI", "DATALIAS", s.DataAlias).trimmed();
  if (IsCompanyDatabaseName(alias)) s.DataAlias = alias;
  s.GridScale = ini.ReadInteger("USERINI", "GRSZORZO", 100) / 100.0;
  s.FontScale = ini.ReadInteger("USERINI", "FONTSZORZO", 100) / 100.0;
  s.CrTabMode = ini.ReadInteger("USERINI", "CR_TAB", 2);
  return s;
}

void SaveDataAlias(const QString& iniFileName, const QString& dataAlias) {
  TMemoryIniFile ini(iniFileName);
  ini.WriteString("USERINI", "DATALIAS", dataAlias);
  ini.UpdateFile();
}

QString TaxNumberFromArgument(const QString& argument) {
  if (!argument.startsWith(QLatin1String("/ADOSZ="))) return {};
  const QString tax = argument.mid(7, 20);
  return tax.trimmed().isEmpty() ? QString() : tax;
}
