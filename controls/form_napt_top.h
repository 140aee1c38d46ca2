#pragma once

#include <QDate>
#include <QDialog>
#include <QFont>
#include <QSet>
#include <QString>
#include <array>

// The small month calendar that drops down under a date edit. The caller sets the date, shows
// it modally and reads the date back when it was accepted (Enter, or a day picked with the
// mouse). Keys act on release, and only keys pressed in the calendar: the release of the key
// that opened it belongs to the edit.
class TFormNaptTop : public QDialog {
  Q_OBJECT

 public:
  explicit TFormNaptTop(QWidget* owner = nullptr);
  ~TFormNaptTop() override;

  QDate Date() const { return m_date; }
  void SetDate(const QDate& date);
  // Index 1..42 of the selected day in the grid.
  int Cell() const { return m_cell; }
  // Two characters: the day number, or two blanks outside the month.
  QString CellText(int cell) const { return m_cellTexts[cell - 1]; }
  // "2024.03." for any day of March 2024.
  QString Title() const;
  // Where a day cell lies on the form.
  QRect CellRect(int cell) const;

  // Where the calendar goes for an edit at editOnScreen: under it, moved left when it would
  // pass the screen's right edge, above it when it would pass the bottom.
  static QPoint PlaceUnder(const QRect& editOnScreen, const QSize& formSize,
                           const QSize& screenSize);

  static int DaysInMonth(int year, int month);
  static bool IsLeapYear(int year);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Decode();
  void FillCells();
  void MoveDays(int days);
  void MovePrevMonth();
  void MoveNextMonth();
  // The date one year away, same month and day; 29 February becomes 1 March.
  QDate OtherYear(int years) const;
  int CellAt(const QPoint& pos) const;  // 0 outside the grid
  bool HoldsDay(int cell) const;

  QDate m_date;
  int m_year = 0, m_month = 0, m_day = 0;
  int m_prevYear = 0, m_prevMonth = 0;
  int m_cell = 0;
  int m_prevCell = 0;
  int m_first = 1;  // weekday of the 1st of the shown month, 1 = Sunday
  std::array<QString, 42> m_cellTexts;
  QSet<int> m_pressed;  // keys pressed while the calendar was open
  bool m_dragging = false;
  int m_unitWidth = 0;
  int m_cellHeight = 0;
  QFont m_font;
};

// The calendar that is open, or nullptr; there is one at a time.
extern TFormNaptTop* FormNaptTop;
