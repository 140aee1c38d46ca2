#pragma once

#include <QString>

#include "zip_types.h"

// Path and file routines of the zip component. Paths use "\" as the engine's separator; the
// file system is reached with "/".

// Creates a directory and its missing parents; true when it exists afterwards.
bool ForceDirectory(const QString& dir);
// An empty path counts as existing.
bool DirExists(const QString& dir);
// Turns "\" into "/" (toUnix) or back.
QString SetSlash(const QString& path, bool toUnix);
// Adds or removes the trailing "\"; an empty path with add gives "\".
QString DelimitPath(const QString& path, bool add);
// Joins with exactly one "\"; nothing is added after a drive colon.
QString PathConcat(const QString& path, const QString& extra);
// Appends "\" to a non-empty path that does not end in one.
QString AddTrailingBackslash(const QString& path);
// A name in "\" form as the file system sees it; a name without directory lies in the
// current directory.
QString ZipLocalPath(const QString& name);
// Deletes a file without asking: into the desktop trash unless final. 0 on success.
int EraseFile(const QString& name, bool final);
int ZipEraseFile(const QString& name, DeleteOpts how);

template <typename T>
void ZipFreeAndNil(T*& object) {
  T* p = object;
  object = nullptr;
  delete p;
}
