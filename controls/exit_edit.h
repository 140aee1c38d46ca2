#pragma once

#include <QLineEdit>

// A one-line edit whose leave can be refused: the focus stays while its text is not accepted,
// and `exited` (OnExit) is emitted only for a leave that went through. Switching windows (a
// popup, the calculator, another program) neither enters nor leaves it.
class TExitEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TExitEdit(QWidget* owner = nullptr);

 signals:
  // The edit was left and its leave not refused (OnExit).
  void exited();

 protected:
  // The focus came into the edit.
  virtual void Entered() {}
  // The focus is leaving: Refuse keeps it in the edit (after a beep or a message), Silent lets
  // it go without the exit signal, Pass lets it go with it.
  enum class Leave { Pass, Silent, Refuse };
  virtual Leave Leaving() { return Leave::Pass; }
  // The leave went through.
  virtual void Left() {}
  // Set when the edit is entered, cleared when it is left.
  bool Focused() const { return m_focused; }

  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool m_focused = false;
};

class QKeyEvent;
// A key that changes an edit's text: a printable character, Backspace, Delete, paste or cut
// (data-aware edits put their dataset into edit state for these).
bool ChangesText(const QKeyEvent* event);
