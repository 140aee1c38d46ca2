#pragma once

#include <QString>

// The font of a report control, as the layout file and the page sink describe it.
struct TWFont {
  enum TPitch { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

  QString Name = QStringLiteral("Arial");
  int Size = 8;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TPitch Pitch = fpDefault;

  // bold 1, italic 2, underline 4, strike-out 8
  int StyleFlags() const {
    return (Bold ? 1 : 0) | (Italic ? 2 : 0) | (Underline ? 4 : 0) | (StrikeOut ? 8 : 0);
  }
};
