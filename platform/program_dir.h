#pragma once

#include <QString>

// The program directory (ending in "/"): the directory of the program file when it can be
// written and holds the creation scripts ("create"); otherwise the user's data directory
// ($XDG_DATA_HOME/zarn/), created at the first start and seeded with the installed files
// ("create" and "help" from beside the program or from ../share/zarn) that it lacks.
QString ResolveProgramDir(const QString& programFile);
