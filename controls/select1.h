#pragma once

#include <QDialog>
#include <QStringList>
#include <QToolButton>

#include "exit_edit.h"

class QTableWidget;
class Tselect1;

// The small "F2" button of a pick-list edit; it refers back to its edit.
class TSelect1Button : public QToolButton {
  Q_OBJECT

 public:
  explicit TSelect1Button(Tselect1* edit);
  Tselect1* Edit() const { return m_edit; }

 private:
  Tselect1* m_edit;
};

// A text edit that knows a list of codes, each with a text. F2 or its "F2" button opens the
// list under the edit with the entry matching the typed beginning selected; the chosen entry's
// code goes into the edit. Typing is not restricted by the list.
class Tselect1 : public TExitEdit {
  Q_OBJECT

 public:
  explicit Tselect1(QWidget* owner = nullptr);

  void AddItem(const QString& text, const QString& code);
  const QStringList& Texts() const { return m_texts; }
  const QStringList& Codes() const { return m_codes; }
  int SelectedIndex() const { return m_selectedIndex; }
  void SetSelectedIndex(int index) { m_selectedIndex = index; }
  const QString& PopupTitle() const { return m_popupTitle; }
  void SetPopupTitle(const QString& title) { m_popupTitle = title; }
  TSelect1Button* Button() const { return m_button; }
  void ShowPickList();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QStringList m_texts;
  QStringList m_codes;
  int m_selectedIndex = -1;
  QString m_popupTitle;
  TSelect1Button* m_button;
};

// The list of a pick-list edit: code and text per row; a mouse release or Enter takes the
// selected row's code (blanks trimmed) into the edit and closes with OK.
class TSelect1Popup : public QDialog {
  Q_OBJECT

 public:
  explicit TSelect1Popup(QWidget* owner = nullptr);

  QTableWidget* StrGrid;
  void SetEdit(QLineEdit* edit) { m_edit = edit; }
  void AddItem(const QString& code, const QString& text);
  int ItemCount() const { return m_items; }
  void Clear();

  // Top-left corner of the popup opened from a button at buttonTopLeft (screen coordinates):
  // 10 right and 25 down, kept wholly on a screen of screenSize.
  static QPoint Place(const QPoint& buttonTopLeft, const QSize& popupSize, const QSize& screenSize);
  // The popup's height for rows items from a button of buttonHeight: the button's height for
  // each row and three more when fewer than 10, else the designed height.
  static int HeightFor(int rows, int buttonHeight, int designedHeight);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormActivate();
  void Choose();

  QLineEdit* m_edit = nullptr;
  int m_items = 0;
};
