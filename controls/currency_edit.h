#pragma once

#include <QKeyEvent>
#include <functional>
#include <memory>

#include "exit_edit.h"

// An amount typed with blanks, brackets and signs read as a number: the digits and decimal
// separators in order ("." and "," both count), negative when the text holds "-" or "(".
// false (value untouched) when that is no number: nothing kept, two separators, or a "-"
// between digits ("1-2").
bool ParseAmount(const QString& text, double& value);

// An amount edit with a Value of its own and a display format. "c" clears it to 0, "." and ","
// type the decimal separator, "k" opens the calculator; other printable characters than
// digits and "-" are dropped. Leaving it reads the text back (ParseAmount); a text that is no
// number shows "Hibás szám", keeps the previous value and withholds the exit signal.
class TCurrencyEdit : public TExitEdit {
  Q_OBJECT

 public:
  explicit TCurrencyEdit(QWidget* owner = nullptr);

  double Value() const { return m_value; }
  // Writing a different value shows it formatted; the same value does nothing.
  void SetValue(double value);
  const QString& DisplayFormat() const { return m_displayFormat; }
  void SetDisplayFormat(const QString& format);
  Qt::Alignment Alignment() const { return alignment(); }
  void SetAlignment(Qt::Alignment alignment) { setAlignment(alignment | Qt::AlignVCenter); }
  // Set when the last leave found no number.
  bool ParseError() const { return m_parseError; }
  // Reads the text into Value (a message when it is no number), then shows Value formatted.
  void ParseText();

  QSize sizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  Leave Leaving() override;

 private:
  void ShowValue();

  double m_value = 0;
  QString m_displayFormat = QStringLiteral(",0.00;-,0.00");
  bool m_parseError = false;
};

// The amount keys every amount edit shares: "k" opens the calculator and hands its result to
// calculated, "c" shows "0" selected. Both first ask canChange (which may beep, or put a dataset
// into edit state). true when the key was one of them.
bool AmountKey(QLineEdit* edit, QKeyEvent* event, const std::function<bool()>& canChange,
               const std::function<void(const QString&)>& calculated);
// "," typed as the decimal separator: the event to pass on instead, or nullptr for any other key.
std::unique_ptr<QKeyEvent> DecimalKey(const QKeyEvent* event);
