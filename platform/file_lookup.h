#pragma once

#include <QString>

// Finds an existing file or directory whose path matches path without regard to case, one path
// component at a time (the texts write "create\create.sql" as well as "Create\Create.sql"; "\"
// counts as a separator). Returns the path as it exists on disk, or an empty text when nothing
// matches. An exact match is preferred.
QString FindExistingPath(const QString& path);

// FindExistingPath(dir + "/" + relative) when it exists, else dir + "/" + relative as given.
QString ResolvePath(const QString& dir, const QString& relative);
