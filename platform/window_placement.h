#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// Where a form was when it last closed on this workstation, kept in a ".WXY" file of the list
// directory: Top, Left, Width, Height and 1 when maximised (else 0), one decimal number per
// line, Windows-1250 with CR LF, through the text-file driver. Top and Left are the window
// frame's position, Width and Height the form's own size.
struct WindowPlacement {
  int Top = 0;
  int Left = 0;
  int Width = 0;
  int Height = 0;
  bool Maximized = false;
};

// listDir + the program file's name up to its first "." + "_" + formName + ".WXY".
QString PlacementFileName(const QString& listDir, const QString& programFile,
                          const QString& formName);

// nullopt when the file is missing, cannot be read, or a line is not a number (a file with only
// the first four lines is a form that was not maximised).
std::optional<WindowPlacement> ReadPlacement(const QString& fileName);
// Throws EInOutError when the file cannot be written; the old file is then kept.
void WritePlacement(const QString& fileName, const WindowPlacement& placement);

// The geometry a form opens with (x, y: the frame's position; size: the form's own): the saved
// position, the saved size only where it is larger than the designed one.
QRect ApplyPlacement(const QRect& designed, const WindowPlacement& saved);
// At most as large as the screen.
QSize FitToScreen(const QSize& size, const QSize& screen);
// Pulled back so that it lies fully on the screen, Top and Left not negative.
QPoint KeepOnScreen(const QRect& window, const QSize& screen);
