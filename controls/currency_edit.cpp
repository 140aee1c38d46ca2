#include "currency_edit.h"

#include <QApplication>
#include <QKeyEvent>

#include "form_calculator.h"
#include "format_settings.h"
#include "ui_services.h"

bool ParseAmount(const QString& text, double& value) {
  const bool negative = text.contains(u'-') || text.contains(u'(');
  QString kept;
  int separators = 0;
  bool digitSeen = false;
  bool minusAfterDigit = false;
  for (const QChar c : text) {
    if (c.isDigit() && c.unicode() < 128) {
      // A "-" with digits on both sides is a typing slip, not a sign.
      if (minusAfterDigit) return false;
      kept += c;
      digitSeen = true;
    } else if (c == u'.' || c == u',') {
      kept += DecimalSeparator;
      ++separators;
    } else if (c == u'-' && digitSeen) {
      minusAfterDigit = true;
    }
  }
  double number = 0;
  if (!digitSeen || separators > 1 || !TextToFloat(kept, number)) return false;
  value = negative && number != 0 ? -number : number;
  return true;
}

bool AmountKey(QLineEdit* edit, QKeyEvent* event, const std::function<bool()>& canChange,
               const std::function<void(const QString&)>& calculated) {
  const QString text = event->text();
  if (text == QLatin1String("k") || text == QLatin1String("K")) {
    if (canChange())
      if (const auto result = RunCalculator(edit)) calculated(*result);
    return true;
  }
  if (text == QLatin1String("c") || text == QLatin1String("C")) {
    if (canChange()) {
      edit->setText(QStringLiteral("0"));
      edit->selectAll();
    }
    return true;
  }
  return false;
}

std::unique_ptr<QKeyEvent> DecimalKey(const QKeyEvent* event) {
  if (event->text() != QLatin1String(",") && event->text() != QLatin1String(".")) return nullptr;
  return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Period, event->modifiers(),
                                     QString(DecimalSeparator));
}

TCurrencyEdit::TCurrencyEdit(QWidget* owner) : TExitEdit(owner) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  resize(121, 25);
  setToolTip(QStringLiteral("c - törlés, k - kalkulátor"));
  ShowValue();
}

void TCurrencyEdit::SetValue(double value) {
  if (value == m_value) return;
  m_value = value;
  ShowValue();
}

void TCurrencyEdit::SetDisplayFormat(const QString& format) {
  if (format == m_displayFormat) return;
  m_displayFormat = format;
  ShowValue();
}

void TCurrencyEdit::ShowValue() { setText(FormatFloat(m_displayFormat, m_value)); }

void TCurrencyEdit::ParseText() {
  double value = m_value;
  m_parseError = !ParseAmount(text(), value);
  if (m_parseError) {
    QApplication::beep();
    Ui().MessageBox(QStringLiteral("Hibás szám"), QStringLiteral("Hiba"), MsgType::Error, mbOK);
  } else {
    m_value = value;
  }
  ShowValue();
}

TExitEdit::Leave TCurrencyEdit::Leaving() {
  ParseText();
  return m_parseError ? Leave::Silent : Leave::Pass;
}

void TCurrencyEdit::keyPressEvent(QKeyEvent* event) {
  const auto canChange = [this] { return !isReadOnly() && isEnabled(); };
  const auto calculated = [this](const QString& result) {
    double value = 0;
    if (TextToFloat(result, value)) SetValue(value);
  };
  if (AmountKey(this, event, canChange, calculated)) return;
  if (const auto decimal = DecimalKey(event)) {
    TExitEdit::keyPressEvent(decimal.get());
    return;
  }
  const QString text = event->text();
  if (!text.isEmpty() && text[0].isPrint() && !text[0].isDigit() && text[0] != u'-') return;
  TExitEdit::keyPressEvent(event);
}

QSize TCurrencyEdit::sizeHint() const {
  // The designed width of 121 grows with the edit's font (the form's FontScale).
  const QSize hint = TExitEdit::sizeHint();
  const QFont base = QApplication::font(this);
  const double scale = base.pointSizeF() > 0 && font().pointSizeF() > 0
                           ? font().pointSizeF() / base.pointSizeF()
                           : 1.0;
  return QSize(qRound(121 * scale), hint.height());
}
