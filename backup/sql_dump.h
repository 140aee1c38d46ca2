#pragma once

#include <QString>
#include <functional>

class TUniSQLDatabase;

using TStatusProc = std::function<void(const QString&)>;

// Dump and reload of a database through the command-line tools ("mariadb-dump", "mariadb",
// looked up in the program directory, then in the search path). The connection settings go to
// the tool in a temporary owner-only option file, removed on every path, never on a command
// line; with a port they go over TCP. The client runs in its sandbox mode, without LOAD DATA
// LOCAL. Neither raises: the outcome is told through status (and a box where it matters) and
// returned.
bool SqlDump(TUniSQLDatabase& database, const QString& fileName, const TStatusProc& status);
bool SqlRestore(TUniSQLDatabase& database, const QString& fileName, const TStatusProc& status);

// True when the last line of a dump file is the tool's completion line: a dump cut short by a
// failure or a full disk lacks it.
bool DumpCompleted(const QString& fileName);
