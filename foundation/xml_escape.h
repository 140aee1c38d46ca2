#pragma once

#include <QString>

// A value made safe for XML and HTML content and for an attribute between double quotes:
// & < > and " become entities, everything else stays as it is.
QString XmlEscaped(const QString& value);
