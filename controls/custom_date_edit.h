#pragma once

#include <QDate>

#include "exit_edit.h"

class TdateButton;

// What the two date edits share: the year.month.day mask, the glyph button at the right edge,
// opening the calendar under the edit, and a leave that can be refused (the focus stays while
// the text is no date).
class TCustomDateEdit : public TExitEdit {
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

 protected:
  TCustomDateEdit(QWidget* owner, bool dataAware);

  virtual Qt::Key PopupKeyCode() const = 0;
  virtual bool CanPopup() const = 0;
  virtual QDate PopupDate() const = 0;
  virtual void Picked(const QDate& date) = 0;
  void keyPressEvent(QKeyEvent* event) override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TdateButton* m_button;
};
