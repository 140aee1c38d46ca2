#include "gui_test_util.h"

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTimer>

void OnNextModal(std::function<void(QWidget*)> act, int timeoutMs) {
  // The dialog that is already up when this is called is not the next one.
  QPointer<QWidget> before = QApplication::activeModalWidget();
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, timer, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != before && modal->isVisible() && modal->isActiveWindow()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    } else if (clock->elapsed() > timeoutMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal dialog appeared";
    }
  });
  timer->start(10);
}

bool TriggerAndAct(QAction* action, const std::function<void(QWidget*)>& act) {
  bool reached = false;
  OnNextModal([&](QWidget* w) {
    reached = true;
    act(w);
  });
  action->trigger();
  return reached;
}

void PressKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = w;
  if (w->isWindow() && w->focusWidget()) target = w->focusWidget();
  QTest::keyClick(target, Qt::Key(key), modifiers);
}

namespace {

// The key code a keyboard sends with a character: letters by their capital (Qt's key codes for
// Latin letters are their upper-case code points), the rest by their own code point.
Qt::Key KeyOf(QChar c) {
  if (c.isLetter()) return Qt::Key(c.toUpper().unicode());
  if (c == u'\t') return Qt::Key_Tab;
  return Qt::Key(c.unicode());
}

}  // namespace

void TypeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QWidget* target = w;
    if (w->isWindow() && w->focusWidget()) target = w->focusWidget();
    const Qt::KeyboardModifiers modifiers =
        c.isLetter() && c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::sendKeyEvent(QTest::Click, target, KeyOf(c), QString(c), modifiers);
  }
}

void PrintToFileInNextDialog(const QString& pdf, QString* offered) {
  OnNextModal([=](QWidget* dialog) {
    ASSERT_TRUE(dialog->inherits("QPrintDialog")) << dialog->metaObject()->className();
    auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_TRUE(printers && name);
    printers->setCurrentIndex(printers->count() - 1);  // with printers installed: the file
    if (offered) *offered = name->text();
    name->setFocus();
    name->selectAll();
    TypeText(name, pdf);
    PressKey(name, Qt::Key_Return);
  });
}

namespace {

// The widest line of text as drawn with metrics (mnemonic marks take no room).
int TextWidth(const QFontMetrics& metrics, const QString& text) {
  return metrics.size(Qt::TextShowMnemonic, text).width();
}

QString Where(QWidget* window, QWidget* w) {
  QString name = w->objectName();
  if (name.isEmpty()) name = QString::fromLatin1(w->metaObject()->className());
  return (window->objectName().isEmpty() ? window->windowTitle() : window->objectName()) + u'/' +
         name;
}

}  // namespace

QStringList CutTexts(QWidget* window) {
  QStringList cut;
  const auto check = [&](QWidget* w, const QString& text, int needed, int has) {
    if (needed > has)
      cut << QStringLiteral("%1: '%2' needs %3, has %4")
                 .arg(Where(window, w), text)
                 .arg(needed)
                 .arg(has);
  };
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || w->width() <= 0) continue;
    const QFontMetrics fm = w->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(w)) {
      if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText ||
          (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
        continue;
      check(label, label->text(), TextWidth(fm, label->text()),
            label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent()));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
      if (!group->title().isEmpty())
        check(group, group->title(), TextWidth(fm, group->title()) + 8, group->width());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      if (button->text().isEmpty()) continue;
      int extra = 8;  // the bevel of a push button
      if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        const QStyle::SubElement element = qobject_cast<QCheckBox*>(button)
                                               ? QStyle::SE_CheckBoxContents
                                               : QStyle::SE_RadioButtonContents;
        opt.rect = button->rect();
        extra = button->width() - button->style()->subElementRect(element, &opt, button).width();
      }
      check(button, button->text(), TextWidth(fm, button->text()) + extra, button->width());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
      QStyleOptionComboBox opt;
      opt.initFrom(combo);
      opt.editable = combo->isEditable();
      opt.rect = combo->rect();
      const int has =
          combo->style()
              ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo)
              .width() -
          4;
      for (int i = 0; i < combo->count(); ++i)
        check(combo, combo->itemText(i), fm.horizontalAdvance(combo->itemText(i)), has);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      const QString text = edit->displayText();
      if (text.trimmed().isEmpty() || (edit->inputMask().isEmpty() && text.size() > 12) ||
          qobject_cast<QComboBox*>(edit->parentWidget()) ||
          qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
        continue;
      QStyleOptionFrame opt;
      opt.initFrom(edit);
      opt.rect = edit->rect();
      opt.lineWidth = edit->hasFrame()
                          ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit)
                          : 0;
      const QMargins margins = edit->textMargins();
      const int has =
          edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit).width() -
          margins.left() - margins.right() - 4;
      check(edit, text, fm.horizontalAdvance(text), has);
    }
  }
  return cut;
}

UrlRecorder::UrlRecorder() {
  QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
}

UrlRecorder::~UrlRecorder() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
