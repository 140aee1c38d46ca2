#include "form_calculator.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include "form_setup.h"
#include "format_settings.h"

TFormCalculator::TFormCalculator(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("FormCalculator"));
  setWindowTitle(QStringLiteral("Számológép"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* layout = new QGridLayout(this);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setAlignment(Qt::AlignRight);
  QPalette p = Edit1->palette();
  p.setColor(QPalette::Base, Qt::black);
  p.setColor(QPalette::Text, QColor(0, 255, 0));
  Edit1->setPalette(p);
  Edit1->installEventFilter(this);
  layout->addWidget(Edit1, 0, 0, 1, 5);

  Button25 = AddButton(QStringLiteral("Button25"), QStringLiteral("MC"),
                       QStringLiteral("Memoria törlése"), 1, 0);
  Button2 = AddButton(QStringLiteral("Button2"), QStringLiteral("MR"),
                      QStringLiteral("Olvas memoriából"), 1, 1);
  Button3 = AddButton(QStringLiteral("Button3"), QStringLiteral("M-"),
                      QStringLiteral("Memoriából kivon"), 1, 2);
  Button4 = AddButton(QStringLiteral("Button4"), QStringLiteral("M+"),
                      QStringLiteral("Memóriához hozzáaad"), 1, 3);
  Button5 =
      AddButton(QStringLiteral("Button5"), QStringLiteral("/"), QStringLiteral("Osztás"), 1, 4);
  const struct {
    int number;
    const char* caption;
    int row;
    int column;
  } digits[] = {{7, "7", 2, 0},  {8, "8", 2, 1},  {9, "9", 2, 2},  {12, "4", 3, 0},
                {13, "5", 3, 1}, {14, "6", 3, 2}, {17, "1", 4, 0}, {18, "2", 4, 1},
                {19, "3", 4, 2}, {22, "0", 5, 0}, {23, ".", 5, 1}};
  for (const auto& d : digits) {
    QPushButton* b = AddButton(QStringLiteral("Button%1").arg(d.number),
                               QString::fromLatin1(d.caption), QString(), d.row, d.column);
    connect(b, &QPushButton::clicked, this, [this, b] { Digit(b->text()); });
    m_digits << b;
  }
  Button10 =
      AddButton(QStringLiteral("Button10"), QStringLiteral("X"), QStringLiteral("Szorzás"), 2, 3);
  Button11 = AddButton(QStringLiteral("Button11"), QStringLiteral("+/-"), QString(), 2, 4);
  Button15 =
      AddButton(QStringLiteral("Button15"), QStringLiteral("-"), QStringLiteral("Minusz"), 3, 3);
  Button16 = AddButton(QStringLiteral("Button16"), QStringLiteral("AC"),
                       QStringLiteral("Mindkét szám törlése"), 3, 4);
  Button20 =
      AddButton(QStringLiteral("Button20"), QStringLiteral("+"), QStringLiteral("Plusz"), 4, 3);
  Button21 = AddButton(QStringLiteral("Button21"), QStringLiteral("C"),
                       QStringLiteral("utolsó szám törlése"), 4, 4);
  Button24 =
      AddButton(QStringLiteral("Button24"), QStringLiteral("="), QStringLiteral("Egyenlő"), 5, 2);
  Button1 = AddButton(QStringLiteral("Button1"), QStringLiteral("B ->"),
                      QStringLiteral("\"B\" Eredmény -> inpumezőbe"), 5, 3);
  BitBtn1 =
      AddButton(QStringLiteral("BitBtn1"), QStringLiteral("X"), QStringLiteral("Bezárás"), 5, 4);
  BitBtn1->setText(QString());
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

  Label1 = new QLabel(QStringLiteral("\"B\" Eredmény -> input mezőbe"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  layout->addWidget(Label1, 6, 0, 1, 5);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(ListBox1, 0, 5, 7, 1);

  for (auto [button, op] : {std::pair{Button5, u'/'}, std::pair{Button10, u'X'},
                            std::pair{Button15, u'-'}, std::pair{Button20, u'+'}})
    connect(button, &QPushButton::clicked, this, [this, op = op] { Operator(op); });
  connect(Button24, &QPushButton::clicked, this, &TFormCalculator::Evaluate);
  connect(Button11, &QPushButton::clicked, this, &TFormCalculator::ToggleSign);
  connect(Button21, &QPushButton::clicked, this, [this] { Edit1->setText(QStringLiteral("0")); });
  connect(Button16, &QPushButton::clicked, this, [this] {
    m_accumulator = 0;
    Edit1->clear();
  });
  connect(Button25, &QPushButton::clicked, this, [this] {
    m_memory = 0;
    TapeLine(QStringLiteral("MC"));
  });
  connect(Button2, &QPushButton::clicked, this, [this] {
    TapeLine(QStringLiteral("MR"));
    Edit1->setText(FloatToStr(m_memory));
  });
  connect(Button3, &QPushButton::clicked, this, [this] { MemoryStep(-1); });
  connect(Button4, &QPushButton::clicked, this, [this] { MemoryStep(1); });
  connect(Button1, &QPushButton::clicked, this, &TFormCalculator::TakeResult);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
  // Every button gives the display its focus back.
  for (QPushButton* b : findChildren<QPushButton*>())
    connect(b, &QPushButton::clicked, this, &TFormCalculator::FocusDisplay);
}

QPushButton* TFormCalculator::AddButton(const QString& name, const QString& caption,
                                        const QString& hint, int row, int column) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(name);
  b->setToolTip(hint);
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoDefault(false);
  static_cast<QGridLayout*>(layout())->addWidget(b, row, column);
  return b;
}

QPushButton* TFormCalculator::DigitButton(QChar digit) const {
  for (QPushButton* b : m_digits)
    if (b->text() == QString(digit)) return b;
  return nullptr;
}

QStringList TFormCalculator::Tape() const {
  QStringList lines;
  for (int i = 0; i < ListBox1->count(); ++i) lines << ListBox1->item(i)->text();
  return lines;
}

void TFormCalculator::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (IsActivation(event)) FormActivate();
}

void TFormCalculator::FormActivate() {
  m_accumulator = 0;
  m_operator = u'+';
  m_memory = 0;
  ListBox1->clear();
  Edit1->clear();
  FocusDisplay();
}

void TFormCalculator::FocusDisplay() { Edit1->setFocus(Qt::OtherFocusReason); }

void TFormCalculator::TapeLine(const QString& line) {
  ListBox1->addItem(line);
  ListBox1->setCurrentRow(ListBox1->count() - 1);
}

void TFormCalculator::Evaluate() {
  TapeLine(Edit1->text() + QStringLiteral(" ="));
  double x = 0;
  if (!TextToFloat(Edit1->text(), x)) {
    QApplication::beep();
    TapeLine(Edit1->text() + QStringLiteral(" *** "));
    return;
  }
  switch (m_operator.unicode()) {
    case u'+':
      m_accumulator = x + m_accumulator;
      break;
    case u'-':
      m_accumulator = m_accumulator - x;
      break;
    case u'X':
      m_accumulator = x * m_accumulator;
      break;
    case u'/':
      if (x == 0) {
        m_accumulator = 0;
        Edit1->setText(QStringLiteral("Error"));
        TapeLine(QStringLiteral("Error *** "));
        QApplication::beep();
        return;
      }
      m_accumulator = m_accumulator / x;
      break;
  }
  Edit1->setText(FloatToStr(m_accumulator));
  TapeLine(Edit1->text() + QStringLiteral(" *** "));
}

void TFormCalculator::Operator(QChar op) {
  Evaluate();
  m_operator = op;
  TapeLine(Edit1->text() + u' ' + op);
  double value = 0;
  if (TextToFloat(Edit1->text(), value))
    m_accumulator = value;
  else
    QApplication::beep();
  Edit1->clear();
  if (ListBox1->count() >= 1) ListBox1->item(0)->setText(QString());
  if (ListBox1->count() >= 2) ListBox1->item(1)->setText(QString());
}

void TFormCalculator::Digit(const QString& caption) {
  if (Edit1->text() == QStringLiteral("0"))
    Edit1->setText(caption);
  else
    Edit1->setText(Edit1->text() + caption);
}

void TFormCalculator::ToggleSign() {
  const QString text = Edit1->text();
  Edit1->setText(text.startsWith(u'-') ? text.mid(1) : u'-' + text);
}

void TFormCalculator::MemoryStep(int sign) {
  TapeLine(sign > 0 ? QStringLiteral("M+") : QStringLiteral("M-"));
  double x = 0;
  // A display that is no number leaves the memory as it was.
  if (!TextToFloat(Edit1->text(), x)) {
    QApplication::beep();
    return;
  }
  m_memory += sign * x;
}

void TFormCalculator::TakeResult() {
  if (!Edit1->text().isEmpty()) accept();
}

void TFormCalculator::Edit1KeyUp() {
  const QString text = Edit1->text();
  const int caret = Edit1->cursorPosition();
  QString kept;
  QChar command;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isDigit() || c == u'.') {
      kept += c;
    } else if (c == u',') {
      kept += u'.';
    } else if (c == u'C' || c == u'c') {
      m_accumulator = 0;
      kept.clear();
      break;
    } else if (!(c == u'-' && i == 0)) {
      command = c;
    }
  }
  if (kept != text) {
    Edit1->setText(kept);
    Edit1->setCursorPosition(qMin(caret, int(kept.size())));
  }
  Edit1->deselect();
  switch (command.unicode()) {
    case u'=':
      Evaluate();
      break;
    case u'X':
    case u'x':
    case u'*':
      Operator(u'X');
      break;
    case u'/':
    case u'+':
    case u'-':
      Operator(command);
      break;
    case u'B':
    case u'b':
      TakeResult();
      break;
  }
}

bool TFormCalculator::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Edit1 && event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->text().isEmpty() && key->text()[0].isPrint()) Edit1KeyUp();
  }
  return QDialog::eventFilter(watched, event);
}

void TFormCalculator::keyPressEvent(QKeyEvent* event) {
  // Enter evaluates; it never closes the form.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Evaluate();
    FocusDisplay();
    return;
  }
  QDialog::keyPressEvent(event);
}

std::optional<QString> RunCalculator(QWidget* edit) {
  const QPalette saved = edit->palette();
  QPalette green = saved;
  green.setColor(QPalette::Base, QColor(0x00, 0x80, 0x00));
  edit->setPalette(green);
  std::optional<QString> result;
  {
    TFormCalculator form(edit);
    if (form.exec() == QDialog::Accepted) result = form.Edit1->text();
  }
  edit->setPalette(saved);
  return result;
}
