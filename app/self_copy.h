#pragma once

#include <QString>

// The self-copy start: a program whose path contains "patch" asks where the installed program
// is and copies itself over it, then the program ends. Returns false (nothing done) for any
// other path.
bool RunSelfCopyMode(const QString& programFile);

// Copies source over target, permissions included, through a temporary file beside target, so a
// failed copy keeps what target held.
bool ReplaceFile(const QString& source, const QString& target);
