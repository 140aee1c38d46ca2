#include "grid_print_text.h"

#include <cmath>

#include "format_settings.h"

QString GridPrintValueText(const QString& text) {
  double value = 0;
  if (!TextToFloat(text, value) || !std::isfinite(value)) return text;
  double rounded = RoundToDecimals(value, 2);  // before splitting, so 2.999 gives 3
  if (rounded == 0) rounded = 0;               // no "-0"
  const bool whole = rounded == std::floor(rounded);
  return FormatFloat(whole ? QStringLiteral("#,##0") : QStringLiteral("#,##0.00"), rounded);
}
