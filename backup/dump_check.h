#pragma once

#include <QString>

// What the check of a dump finds before anything of it runs.
enum class TDumpCheck {
  Confined,    // it makes and fills tables of the database it is loaded into, nothing else
  Incomplete,  // the dump tool's completion line is missing: the dump was cut short
  Outside,     // it would reach another database, the server, files or the client's shell
};

// Reads a dump as the command-line client and the server would read it and admits only what a
// dump of the tables of one database holds, as the dump tool writes it (its /*!...*/ parts
// included): session settings, DROP and CREATE TABLE, LOCK and UNLOCK TABLES, ALTER TABLE ...
// KEYS, and INSERTs of plain values. A client command, a name qualified with a database, USE,
// another kind of statement, a table kept in other files or reaching another server, or a
// reading of files makes it Outside. Where the client and the server might read a text in two
// ways, it is Outside too.
TDumpCheck CheckDump(const QString& fileName);
