#include "db_find.h"

#include "data_set.h"

bool FindInDataSet(TDataSet* dataSet, int fieldIndex, const QString& needle,
                   TFindDirection direction, bool ignoreCase) {
  if (dataSet->IsEmpty()) return false;
  const TField* field = dataSet->Fields(fieldIndex);
  const QString wanted = ignoreCase ? needle.toUpper() : needle;
  auto matches = [&] {
    if (wanted.isEmpty()) return false;
    const QString value = field->AsString();
    return (ignoreCase ? value.toUpper() : value).startsWith(wanted);
  };
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
