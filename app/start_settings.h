#pragma once

#include <QString>

class TUniSQLDatabase;

// What the program settles at start: the user's name, the connection settings of the program
// directory's ZARN.INI and the personal settings of the user directory's ZARN.INI.

inline constexpr char kApplicationTitle[] = "Tárgyi eszk. Immat javak";
inline constexpr char kIniFileName[] = "ZARN.INI";

// Drops ".", ",", "/", "\", ":", the blank and every character below "0"; also the ASCII
// punctuation above it (";" "<" "=" "'" "`" "[" ...) and any non-ASCII character that is no
// letter or digit, since the name becomes a directory and the suffix of unquoted table names.
// "J. Kis-Tóth" gives "JKisTóth".
QString CleanUserName(const QString& name);

// Section [INI] of the program directory's ZARN.INI.
struct ConnectionSettings {
  QString Host = QStringLiteral("Localhost");
  QString Port = QStringLiteral("3306");
  QString User = QStringLiteral("root");
  QString Password;
  // Seconds; CONNECT_TIMEOUT and QUERY_TIMEOUT (the wait for each answer of the server), read
  // only when present.
  int ConnectTimeout = 0;  // 0: TUniSQLDatabase's default
  int QueryTimeout = 0;
};

// Reads the settings with their defaults and writes HOST, PORT, USER and PASSWORD back, so a
// missing file or key is created with the defaults.
ConnectionSettings LoadConnectionSettings(const QString& iniFileName);
// Raises EInOutError when the file cannot be written.
void SaveConnectionSettings(const QString& iniFileName, const ConnectionSettings& settings);
void ApplyConnectionSettings(const ConnectionSettings& settings, TUniSQLDatabase& db);
// The time-outs of every connection from now on.
void ApplyTimeouts(const ConnectionSettings& settings);
ConnectionSettings ConnectionSettingsOf(const TUniSQLDatabase& db);
// A whole number 1..65535.
bool IsValidPort(const QString& port);

// Section [USERINI] of the user directory's ZARN.INI; nothing is written when reading.
struct UserSettings {
  QString DataAlias = QStringLiteral("ZARNDAT001");  // only a company database name is taken
  double GridScale = 1.0;                            // GRSZORZO / 100
  double FontScale = 1.0;                            // FONTSZORZO / 100
  int CrTabMode = 2;                                 // CR_TAB
};
UserSettings LoadUserSettings(const QString& iniFileName);
void SaveDataAlias(const QString& iniFileName, const QString& dataAlias);

// The tax number of a "/ADOSZ=" argument: its characters 8 to 27 untrimmed; empty when the
// argument is another one or holds only blanks after "=".
QString TaxNumberFromArgument(const QString& argument);
