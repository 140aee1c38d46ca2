#pragma once

#include <QToolButton>

// The square glyph button at the right edge of a date edit that opens the calendar. It takes
// no focus, so clicking it leaves the edit's own focus handling alone.
class TdateButton : public QToolButton {
  Q_OBJECT

 public:
  explicit TdateButton(QWidget* edit);

 protected:
  // glyph names the picture: "CALPOPUP" or "DBCALPOPUP".
  TdateButton(QWidget* edit, const QString& glyph);
};

// The button of the data-aware date edit; only its glyph differs.
class TDBDateButton : public TdateButton {
  Q_OBJECT

 public:
  explicit TDBDateButton(QWidget* edit);
};

// The calendar glyphs, drawn rather than shipped: a page with a red head and a grid of days;
// the data-aware one has a blue head.
QPixmap CalendarGlyph(const QString& glyph);
