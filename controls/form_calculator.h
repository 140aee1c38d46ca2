#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The calculator "Számológép": a display line, a tape of the steps, an accumulator, a pending
// operator and a memory, all reset when it is shown. Typing into the display is scanned on key
// release: digits and "." stay, "," becomes ".", the operator keys and "=" act, "B" takes the
// result (the dialog ends accepted, the result is Edit1's text).
class TFormCalculator : public QDialog {
  Q_OBJECT

 public:
  explicit TFormCalculator(QWidget* owner = nullptr);

  QLineEdit* Edit1;
  QListWidget* ListBox1;
  QLabel* Label1;
  QPushButton* Button1;                         // the result into the edit
  QPushButton* Button2;                         // MR
  QPushButton* Button3;                         // M-
  QPushButton* Button4;                         // M+
  QPushButton* Button5;                         // /
  QPushButton* Button10;                        // X
  QPushButton* Button11;                        // +/-
  QPushButton* Button15;                        // -
  QPushButton* Button16;                        // AC
  QPushButton* Button20;                        // +
  QPushButton* Button21;                        // C
  QPushButton* Button24;                        // =
  QPushButton* Button25;                        // MC
  QPushButton* BitBtn1;                         // close
  QPushButton* DigitButton(QChar digit) const;  // "0".."9" and "."

  double Accumulator() const { return m_accumulator; }
  double Memory() const { return m_memory; }
  QChar PendingOperator() const { return m_operator; }
  QStringList Tape() const;

  void Evaluate();
  void Operator(QChar op);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* AddButton(const QString& name, const QString& caption, const QString& hint, int row,
                         int column);
  void FormActivate();
  void TapeLine(const QString& line);
  void Edit1KeyUp();
  void Digit(const QString& caption);
  void ToggleSign();
  void MemoryStep(int sign);
  void TakeResult();
  void FocusDisplay();

  double m_accumulator = 0;
  QChar m_operator = u'+';
  double m_memory = 0;
  QList<QPushButton*> m_digits;
};

// Opens the calculator for an amount edit, which is green while it is open, and gives its
// result when it closes with OK.
std::optional<QString> RunCalculator(QWidget* edit);
