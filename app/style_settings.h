#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QtGlobal>

// A colour as Stilus.ini writes it: 00BBGGRR for a plain colour, 80000000 + the index of a
// system colour (the window text, the border of inactive windows, ...).
using TColor = quint32;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clInactiveBorder = 0x8000000B;

// The workstation's style, read from Stilus.ini [STILUS] before the first form exists. The
// keyboard mode and the scale factors go to Globals() (CrTabMode, GridScale, FontScale), where
// the user's own ZARN.INI overrides them later.
struct StyleSettings {
  QString DatDir;  // ends in "/"
  TColor NormalSzin = clInactiveBorder;
  TColor AblakSzin = clInactiveBorder;
  TColor HibaSzin = clInactiveBorder;
  TColor NBetuSzin = clWindowText;
  TColor ABetuSzin = clWindowText;
  TColor HBetuSzin = clWindowText;
};
StyleSettings& Style();

inline constexpr char kStyleFileName[] = "Stilus.ini";

// Reads fileName (a missing file gives every default) into Style() and Globals(); writes
// nothing. programDir (ending in "/") is the default DatDir.
void ReadStyleSettings(const QString& fileName, const QString& programDir);
// The same for Stilus.ini in Globals().ProgramDir.
void LoadStyleSettings();

// Keyboard modes are 1 and 2; anything else is pulled to the nearer one.
int ClampCrTabMode(int mode);

// The palette role that stands for a system colour index; QPalette::NoRole when the index names
// no system colour (shown black, as Windows does).
QPalette::ColorRole SystemColorRole(int index);
// The colour a TColor shows as, system colours taken from the application's palette.
QColor ColorOf(TColor color);
