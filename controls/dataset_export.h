#pragma once

#include <QChar>
#include <QString>

#include "field.h"

class TDataSet;

// The writers of the export dialog. Each writes the whole file through the text-file driver
// (Windows-1250, CR LF, replaced only when complete), rows from the first to the last, and
// leaves the dataset on its last row. A file that cannot be written raises EInOutError.
//
// XML and HTML are declared windows-1250 like their bytes, and & < > " in values, titles and
// labels are written as entities so that a parser reads the file back. A line break inside a
// value becomes a blank in every format, so that one row stays one line.

// "STRING", "INTEGER", "FLOAT", "DATE", "DATETIME", ... ; "VARIANT" for the others.
QString FieldTypeName(TFieldType type);

// A name without any "." in its last part gets ".xml".
void ExportXML(TDataSet* dataSet, const QString& fileName, bool tableForm, const QString& title);
// Every field, the last one too, is followed by the separator.
void ExportCSV(TDataSet* dataSet, const QString& fileName, QChar separator, bool quoteStrings,
               bool headerLine);
// heading: the title as a centred heading above the table.
void ExportHTML(TDataSet* dataSet, const QString& fileName, const QString& title, bool center,
                bool columnHeads, bool heading = true);

// One value of a CSV row: the display text; with quoting, " becomes ' and strings are enclosed
// in double quotes; without, the separator becomes a blank.
QString FormatCSVValue(const TField* field, QChar separator, bool quoteStrings);

// The export file name for a format ("XML", "CSV", "HTM"): "." + format is appended unless it
// occurs in the upper-cased name (lista -> lista.XML, lista.xml stays, a.txt -> a.txt.CSV).
QString ExportFileName(const QString& fileName, const QString& format);
// A caption made fit to propose as a file name: / \ : * ? " < > | become "_".
QString ProposedExportFileName(const QString& caption);
