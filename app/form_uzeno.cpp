#include "form_uzeno.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "form_setup.h"
#include "program_runner.h"
#include "style_settings.h"
#include "ui_services.h"

namespace {
TFormUzeno* g_current = nullptr;
}

TFormUzeno::TFormUzeno(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormUzeno"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  Memo1 = new QTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setFocusPolicy(Qt::ClickFocus);  // not in the tab order
  Memo1->setMinimumWidth(420);
  BtnOK = new QPushButton(QStringLiteral("(Szóköz) &Bezárás"), this);
  BtnOK->setObjectName(QStringLiteral("BtnOK"));
  BtnYes = new QPushButton(QStringLiteral("&Igen"), this);
  BtnYes->setObjectName(QStringLiteral("BtnYes"));
  BtnNo = new QPushButton(QStringLiteral("&Nem"), this);
  BtnNo->setObjectName(QStringLiteral("BtnNo"));
  BtnNo->setDefault(true);
  BtnClose = new QPushButton(QStringLiteral("&KIlépés a programból"), this);
  BtnClose->setObjectName(QStringLiteral("BtnClose"));
  BtnClose->setFocusPolicy(Qt::ClickFocus);
  BtnYes->hide();
  BtnNo->hide();

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnYes);
  buttons->addWidget(BtnNo);
  buttons->addStretch();
  buttons->addWidget(BtnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // sized to its contents

  connect(BtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(BtnYes, &QPushButton::clicked, this, [this] { done(mrYes); });
  connect(BtnNo, &QPushButton::clicked, this, [this] { done(mrNo); });
  connect(BtnClose, &QPushButton::clicked, this, &TFormUzeno::BtnCloseClick);

  // Key preview: the form's keys come before the focused control's.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  installEventFilter(this);

  SetHelpContexts(this, 1100);
  FormSetup(this, ColorOf(Style().HibaSzin), ColorOf(Style().HBetuSzin));
}

TFormUzeno::~TFormUzeno() {
  if (g_current == this) g_current = nullptr;
}

TFormUzeno* TFormUzeno::Current() { return g_current; }

void TFormUzeno::AddLine(const QString& line) {
  m_lines << line;
  Memo1->setPlainText(m_lines.join(QLatin1Char('\n')));
  QTextCursor all(Memo1->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);
  const int lineHeight = Memo1->fontMetrics().lineSpacing();
  Memo1->setFixedHeight(qBound(3, int(m_lines.size()) + 1, 20) * lineHeight +
                        2 * Memo1->frameWidth() + 8);
}

void TFormUzeno::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!IsActivation(e)) return;
  if (BtnOK->isVisibleTo(this))
    Memo1->setFocus();
  else if (BtnNo->isVisibleTo(this))
    BtnNo->setFocus();  // a question is answered No by Enter
}

bool TFormUzeno::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, e);
  const auto* key = static_cast<QKeyEvent*>(e);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  // A question takes the underlined letter of its answers with and without Alt.
  if (BtnYes->isVisibleTo(this) && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier ||
                                    modifiers == Qt::AltModifier))
    for (QPushButton* answer : {BtnYes, BtnNo})
      if (QKeySequence::mnemonic(answer->text())[0].key() == key->key()) {
        answer->click();
        return true;
      }
  if (modifiers) return false;
  switch (key->key()) {
    case Qt::Key_F9:
      done(mrOk);
      return true;
    case Qt::Key_Space:
      if (!BtnOK->isVisibleTo(this)) return false;
      done(mrOk);
      return true;
    case Qt::Key_F10:
      Runner().StartDetached(QStringLiteral("CALC.EXE"), {});
      return true;
    case Qt::Key_F11:
      Runner().StartDetached(QStringLiteral("NAPTAR.EXE"), {});
      return true;
    default:
      return false;
  }
}

void TFormUzeno::BtnCloseClick() {
  if (Ui().AskYesNo(QString(), QStringLiteral("Ki akar lépni a programból?"), QString(), QString()))
    Ui().Terminate(false);
}

int TFormUzeno::showModal() {
  TFormUzeno* previous = g_current;
  g_current = this;
  const int result = exec();
  g_current = previous;
  return result;
}

void TFormUzeno::ShowInfoMessage(const QString& text, const QString& caption) {
  TFormUzeno form;
  form.setWindowTitle(caption);
  QString lines = text;
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  for (const QString& line : lines.split(QLatin1Char('\n'))) form.AddLine(line);
  QPalette p = form.Memo1->palette();
  p.setColor(QPalette::Base, ColorOf(Style().HibaSzin));
  p.setColor(QPalette::Text, ColorOf(Style().HBetuSzin));
  form.Memo1->setPalette(p);
  form.showModal();
}

void TFormUzeno::ShowMessage2(const QString& line1, const QString& line2) {
  TFormUzeno form;
  form.setWindowTitle(QStringLiteral("Üzenet"));
  form.AddLine(line1);
  form.AddLine(line2);
  form.showModal();
}

bool TFormUzeno::AskYesNo(const QString& line1, const QString& line2, const QString& line3,
                          const QString& caption) {
  TFormUzeno form;
  form.setWindowTitle(caption);
  form.AddLine(line1);
  form.AddLine(line2);
  form.AddLine(line3);
  form.BtnYes->show();
  form.BtnNo->show();
  form.BtnOK->hide();
  form.BtnClose->hide();
  return form.showModal() == mrYes;
}
