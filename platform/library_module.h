#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

// Stand-in for loading a library by file name and finding its exports by name: the libraries
// the program loads at run time are built in and registered here under their file names. Tests
// register fakes, or mark a library missing, under the same names.
struct LibraryModule {
  QHash<QByteArray, void*> exports;
};

// Loads the library at path: a registered full path first, then its file name (case-insensitive).
// nullptr when it cannot be loaded.
const LibraryModule* LoadLibraryModule(const QString& path);
// The address of an export, nullptr when the library has none by that name.
void* LibraryProcAddress(const LibraryModule* module, const char* name);

// Registers module under name (a file name or a full path); nullopt marks it missing. Returns
// what was registered before, for restoring.
std::optional<LibraryModule> RegisterLibraryModule(const QString& name,
                                                   std::optional<LibraryModule> module);
// Drops a registration made by a test, so the built-in library answers again.
void RestoreLibraryModule(const QString& name);
