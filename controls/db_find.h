#pragma once

#include <QString>

class TDataSet;

// The directions of the browser's find dialog.
enum class TFindDirection {
  Forward = 1,   // from the current row towards the end
  Backward = 2,  // from the current row towards the beginning
  FromFirst = 3  // from the first row (itself compared) towards the end
};

// Moves dataSet to the next row (in the direction) whose field value, as text, starts with
// needle; with ignoreCase both are compared in capitals. Without a match the dataset stays
// where the search stopped (the end or the beginning) and false is returned. An empty needle
// never matches.
bool FindInDataSet(TDataSet* dataSet, int fieldIndex, const QString& needle,
                   TFindDirection direction, bool ignoreCase);
