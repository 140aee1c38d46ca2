#pragma once

#include <QString>
#include <QStringList>

// The take-over from the DOS edition of the sibling accounting product: its converter is put
// into the DOS edition's directory and run there, and writes the CSV files of the tables.

// The converter's files, delivered beside the program.
QStringList DosConverterFiles();
// The converter's batch file, run as a program.
inline constexpr char kDosConverterBatch[] = "ecs2csv.bat";

// dir with a separator at its end: "\" when it uses "\" (a Windows path), else "/".
QString WithTrailingSeparator(const QString& dir);

// The two arguments of the converter: "C:\ADAT\" gives "C:" and "\ADAT\"; a text whose second
// character is no ":" (a share, a Linux directory) gives "REM" and the whole text.
QStringList DosDriveAndRest(const QString& dir);

// Replaces the converter's files in dir with those of programDir (looked up without regard to
// case); a file that cannot be deleted or copied is passed over. Nothing happens when dir is
// programDir itself.
void CopyDosConverter(const QString& programDir, const QString& dir);

// Runs dir's converter with DosDriveAndRest(dir) through RunAndWait. False when it cannot be
// started (missing or not executable); its own result is not used.
bool RunDosConverter(const QString& dir);

// [INI] VEXORDIR of ZARN.INI in the program directory: the directory of the CSV files and of
// the DOS edition.
QString ReadVexorDir();
void WriteVexorDir(const QString& dir);
