#pragma once

#include <QString>

// The self-copy start: a program whose path contains "patch" asks where the installed program
// is and copies itself over it, then the program ends. Returns false (nothing done) for any
// other path.
bool RunSelfCopyMode(const QString& programFile);
// Where the installed program is looked for unless the user says otherwise.
inline constexpr char kSelfCopyDefaultPlace[] = "/opt/dolvanex";

// Copies source over target, permissions included, through a temporary file beside target, so a
// failed copy keeps what target held.
bool ReplaceFile(const QString& source, const QString& target);
