#pragma once

#include <QString>

// A value cell as the grid printout shows it: a text that reads as a number is rounded to two
// decimals and written with blanks between groups of three digits, and two decimals unless it
// is whole (1234567.5 -> "1 234 567.50", 2.999 -> "3"); any other text stays as it is.
QString GridPrintValueText(const QString& text);
