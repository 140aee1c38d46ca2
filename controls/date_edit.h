#pragma once

#include "custom_date_edit.h"

// A date edit holding a date of its own. An emptied edit stores 1900.01.01, or the empty
// (null) date when AllowEmpty is set; a text that is no date keeps the focus in the edit.
class TdateEdit : public TCustomDateEdit {
  Q_OBJECT

 public:
  explicit TdateEdit(QWidget* owner = nullptr);

  // The date; null for none (an empty AllowEmpty edit, or one never set).
  QDate Value() const { return m_value; }
  // Shows the date as text; a null date empties the edit.
  void SetValue(const QDate& value);
  bool AllowEmpty() const { return m_allowEmpty; }
  void SetAllowEmpty(bool allowEmpty) { m_allowEmpty = allowEmpty; }
  Qt::Key PopupKey() const { return m_popupKey; }
  void SetPopupKey(Qt::Key key) { m_popupKey = key; }

 protected:
  Qt::Key PopupKeyCode() const override { return m_popupKey; }
  bool CanPopup() const override;
  QDate PopupDate() const override;
  void Picked(const QDate& date) override;
  Leave Leaving() override;

 private:
  void TextChanged();

  QDate m_value;
  bool m_allowEmpty = false;
  Qt::Key m_popupKey = Qt::Key_Down;
};
