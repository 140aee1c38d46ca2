#pragma once

#include <QString>

// Opens a document with the program the desktop associates with it, without waiting; whether
// that worked is not reported (nothing to act on).
void OpenWithDefaultApp(const QString& fileName);
