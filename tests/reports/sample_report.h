#pragma once

#include <memory>

#include "memory_row_source.h"
#include "wreport.h"

// A cost-location inventory list as the listings declare theirs: a main group with the title
// and the grand totals, a group per cost location and within it a group per account, each with
// its header, sums in its footer, and a detail line per asset.
struct TSampleReport {
  TMemoryRowSource Rows{{{"KOLTSHELY", TMemoryRowSource::Kind::String},
                         {"SZAMLA", TMemoryRowSource::Kind::String},
                         {"LELTSZAM", TMemoryRowSource::Kind::String},
                         {"MEGNEV", TMemoryRowSource::Kind::String},
                         {"BRUTTO", TMemoryRowSource::Kind::Currency},
                         {"ECSSZ", TMemoryRowSource::Kind::Float},
                         {"MENNYISEG", TMemoryRowSource::Kind::Integer}}};
  TWreport Wreport1{QStringLiteral("Wreport1")};

  // Over Rows, or over source when one is given (its columns those of Rows).
  explicit TSampleReport(TRowSource* source = nullptr);
  // The twelve assets of the golden files, with Hungarian names, in the columns of Rows.
  static QList<QVariantList> GoldenRows();
  void AddGoldenRows();
  // count generated assets: a cost location per 200 rows, an account per 25.
  void AddGeneratedRows(int count);
  // Writes name.def, name.frm and name.xml into dir (ending with "/") as a listing does.
  void Write(const QString& dir, const QString& name);
};
