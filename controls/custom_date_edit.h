#pragma once

#include <QDate>
#include <QLineEdit>

class TdateButton;

// What the two date edits share: the year.month.day mask, the glyph button at the right edge,
// opening the calendar under the edit, and a leave that can be refused (the focus stays while
// the text is no date).
class TCustomDateEdit : public QLineEdit {
  Q_OBJECT

 public:
  // The text position by position, blanks where nothing is typed: "    .  .  " when empty.
  QString Text() const;
  TdateButton* Button() const { return m_button; }
  // Opens the calendar under the edit (the button and the popup key do this).
  void Popup();

  // The text of an emptied mask.
  static const QString EmptyText;
  static bool IsEmptyText(const QString& text);
  // The first 10 characters read as a date and time; false when they are no date.
  static bool ReadDate(const QString& text, QDate& date);

 signals:
  // The edit was left and its leave not refused (OnExit).
  void exited();

 protected:
  TCustomDateEdit(QWidget* owner, bool dataAware);

  virtual Qt::Key PopupKeyCode() const = 0;
  virtual bool CanPopup() const = 0;
  virtual QDate PopupDate() const = 0;
  virtual void Picked(const QDate& date) = 0;
  // The focus came into the edit.
  virtual void Entered() {}
  // The focus is leaving: false keeps it in the edit (after a beep or a message).
  virtual bool Leaving() = 0;
  // The leave went through.
  virtual void Left() {}
  // The focus state of the edit: set when it is entered, cleared when it is left. Window
  // switches (the calendar, another program) neither enter nor leave it.
  bool Focused() const { return m_focused; }

  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TdateButton* m_button;
  bool m_focused = false;
};
