#pragma once

#include <QString>
#include <QStringList>

class TestDatabase;

// The rows of a query, each as its fields' texts joined by "|".
QStringList Rows(TestDatabase& db, const QString& sql);
// The server's checksum of each company table the imports write, joined: equal before and after
// a refused import.
QString CompanyChecksums(TestDatabase& db);
