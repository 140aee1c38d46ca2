#pragma once

#include <QString>

// The self-copy start: a program whose path contains "patch" asks where the installed program
// is and copies itself over it, then the program ends. Returns false (nothing done) for any
// other path.
bool RunSelfCopyMode(const QString& programFile);
