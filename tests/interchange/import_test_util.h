#pragma once

#include <QString>
#include <QStringList>

#include "test_database.h"

// The server's checksum of each company table the imports write, joined: equal before and after
// a refused import.
QString CompanyChecksums(TestDatabase& db);
