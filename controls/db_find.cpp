#include "db_find.h"

#include "data_set.h"

bool FindInDataSet(TDataSet* dataSet, int fieldIndex, const QString& needle,
                   TFindDirection direction, bool ignoreCase) {
  if (dataSet->IsEmpty()) return false;
  const TField* field = dataSet->Fields(fieldIndex);
  // Compared without copies in capitals: the walk costs little more than reading the field.
  const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
  auto matches = [&] { return !needle.isEmpty() && field->AsString().startsWith(needle, cs); };
  switch (direction) {
    case TFindDirection::FromFirst:
      dataSet->First();
      if (matches()) return true;
      [[fallthrough]];
    case TFindDirection::Forward:
      while (!dataSet->Eof()) {
        dataSet->Next();
        if (matches()) return true;
      }
      break;
    case TFindDirection::Backward:
      while (!dataSet->Bof()) {
        dataSet->Prior();
        if (matches()) return true;
      }
      break;
  }
  // The row where the search stopped is the last one compared.
  return matches();
}
