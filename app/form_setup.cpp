#include "form_setup.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QPointer>
#include <QScrollArea>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <QWindowStateChangeEvent>

#include "app_globals.h"
#include "exceptions.h"
#include "file_lookup.h"
#include "help_viewer.h"
#include "screen_size.h"
#include "style_settings.h"
#include "system_info.h"
#include "window_placement.h"

namespace {

QString g_listDir;

struct Registered {
  QPointer<QWidget> form;
  QString name;
  QString helpFile;  // the form's own, taken from it at registration
};
QList<Registered> g_registered;

// Most recently activated first.
QList<QPointer<QWidget>> g_stacking;

struct MinimizeRecord {
  QPointer<QWidget> form;
  bool visible = false;
};
QList<MinimizeRecord> g_minimized;  // the active form first
bool g_inMinimizeRestore = false;
// The window system reports the states MinimizeAll and RestoreAll set some time after they set
// them, and a report can come after a later call has set the opposite state (a minimise
// followed at once by a restore): taken for the user's own minimise or restore, it would
// minimise or restore everything again, and every call's reports would start the next one.
// The window system's reports that soon after a call are the call's own.
QElapsedTimer g_sinceMinimizeRestore;
constexpr int kOwnStateReportMs = 500;

// Counts the calls, so a later look knows whether another call came since.
int g_minimizeRestoreCalls = 0;

bool OwnStateReport(const QEvent* e) {
  return g_inMinimizeRestore || (e->spontaneous() && g_sinceMinimizeRestore.isValid() &&
                                 g_sinceMinimizeRestore.elapsed() < kOwnStateReportMs);
}

QString formName(const QWidget* form) {
  if (!form->objectName().isEmpty()) return form->objectName();
  QString name = QString::fromLatin1(form->metaObject()->className());
  if (name.startsWith(QLatin1Char('T'))) name.remove(0, 1);
  return name;
}

void purge() {
  g_registered.removeIf([](const Registered& r) { return r.form.isNull(); });
  g_stacking.removeIf([](const QPointer<QWidget>& w) { return w.isNull(); });
}

int registeredIndex(const QString& name) {
  purge();
  for (int i = 0; i < g_registered.size(); ++i)
    if (g_registered[i].name == name) return i;
  return -1;
}

bool isForm(const QWidget* w) {
  return w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
}

// Forms of the application, each once.
QList<QWidget*> screenForms() {
  QList<QWidget*> forms;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (isForm(w)) forms << w;
  return forms;
}

QString placementFile(const QWidget* form) {
  return PlacementFileName(ListDir(), ProgramFilePath(), formName(form));
}

void savePlacement(QWidget* form) {
  if (ListDir().isEmpty()) return;
  const WindowPlacement p{form->y(), form->x(), form->width(), form->height(), form->isMaximized()};
  try {
    WritePlacement(placementFile(form), p);
  } catch (const EInOutError&) {
    // A placement that cannot be kept is not worth stopping the close for.
  }
}

void setStateKeepingOthers(QWidget* w, bool minimized) {
  const Qt::WindowStates s = w->windowState();
  w->setWindowState(minimized ? (s | Qt::WindowMinimized) : (s & ~Qt::WindowMinimized));
}

// Follows one registered form: saves its placement whenever it is hidden (closed, accepted or
// rejected), leaves the list then, and minimises or restores the application with it.
class FormRegistration : public QObject {
 public:
  FormRegistration(QWidget* form, QString name, QString helpFile)
      : QObject(form), m_form(form), m_name(std::move(name)), m_helpFile(std::move(helpFile)) {
    setObjectName(QLatin1String(kObjectName));
    form->installEventFilter(this);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), form);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, this,
                     [this] { ShowHelp(m_helpFile, HelpContextOf(m_form)); });
  }
  static constexpr char kObjectName[] = "zarnFormRegistration";

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != m_form) return false;
    switch (e->type()) {
      case QEvent::Hide:
        if (!e->spontaneous() && !g_inMinimizeRestore) {
          savePlacement(m_form);
          for (int i = 0; i < g_registered.size(); ++i)
            if (g_registered[i].form == m_form) g_registered.removeAt(i--);
        }
        break;
      case QEvent::Show:
        // Shown again after a close: registered again, once.
        if (registeredIndex(m_name) < 0) g_registered.append({m_form, m_name, m_helpFile});
        break;
      case QEvent::WindowStateChange: {
        if (OwnStateReport(e)) break;
        const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(e)->oldState();
        const bool nowMin = m_form->windowState() & Qt::WindowMinimized;
        if (nowMin && !(old & Qt::WindowMinimized))
          MinimizeAll();
        else if (!nowMin && (old & Qt::WindowMinimized))
          RestoreAll();
        break;
      }
      default:
        break;
    }
    return false;
  }

 private:
  QWidget* m_form;
  QString m_name;
  QString m_helpFile;
};

double gridScale() {
  const double g = Globals().GridScale;
  return g > 0 ? g : ScreenSize().width() / 800.0;
}

QRect scaledRect(const QRect& r, double s) {
  return QRect(qRound(r.x() * s), qRound(r.y() * s), qRound(r.width() * s), qRound(r.height() * s));
}

void scaleLimits(QWidget* w, double s) {
  const QSize min = w->minimumSize();
  if (!min.isNull()) w->setMinimumSize(qRound(min.width() * s), qRound(min.height() * s));
  const QSize max = w->maximumSize();
  auto scaleMax = [s](int v) { return v >= QWIDGETSIZE_MAX ? v : qRound(v * s); };
  w->setMaximumSize(scaleMax(max.width()), scaleMax(max.height()));
}

void setBackground(QWidget* w, const QColor& color) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, color);
  w->setPalette(p);
}

struct ScaleContext {
  QWidget* form;
  double scale;
  double fontRatio;
  QColor color;
  QColor fontColor;
  QString helpFile;
};

QList<QWidget*> childControls(QWidget* w) {
  QList<QWidget*> children;
  if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
    for (int i = 0; i < tabs->count(); ++i) children << tabs->widget(i);
  } else if (auto* stack = qobject_cast<QStackedWidget*>(w)) {
    for (int i = 0; i < stack->count(); ++i) children << stack->widget(i);
  } else if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
    if (scroll->widget()) children << scroll->widget();
  } else if (qobject_cast<QAbstractScrollArea*>(w)) {
    // Grids, memos and lists arrange their own parts.
  } else if (w->metaObject() == &QWidget::staticMetaObject || w->inherits("QDialog") ||
             qobject_cast<QMainWindow*>(w) || qobject_cast<QGroupBox*>(w) ||
             qobject_cast<QToolBar*>(w) || w->metaObject() == &QFrame::staticMetaObject ||
             w->isWindow()) {
    for (QObject* o : w->children())
      if (auto* c = qobject_cast<QWidget*>(o); c && !c->isWindow()) children << c;
  }
  return children;
}

bool isPanel(const QWidget* w) {
  return w->metaObject() == &QWidget::staticMetaObject ||
         w->metaObject() == &QFrame::staticMetaObject || qobject_cast<const QGroupBox*>(w) ||
         (w->parentWidget() && qobject_cast<const QScrollArea*>(w->parentWidget()->parentWidget()));
}

void scaleControl(QWidget* w, const ScaleContext& ctx) {
  auto* label = qobject_cast<QLabel*>(w);
  if (label && !label->pixmap().isNull()) return;  // pictures keep their size
  const bool form = w == ctx.form;
  if (form || isPanel(w)) setBackground(w, ctx.color);
  const QList<QWidget*> children = childControls(w);
  for (auto it = children.rbegin(); it != children.rend(); ++it) scaleControl(*it, ctx);

  if (form) {
    if (w->testAttribute(Qt::WA_Moved))
      w->move(qRound(w->x() * ctx.scale), qRound(w->y() * ctx.scale));
    scaleLimits(w, ctx.scale);
    w->resize(qRound(w->width() * ctx.scale), qRound(w->height() * ctx.scale));
  } else if (w->parentWidget() && !w->parentWidget()->layout()) {
    scaleLimits(w, ctx.scale);
    w->setGeometry(scaledRect(w->geometry(), ctx.scale));
  }

  // Children first: a control with its own font is scaled once, the others follow the form's.
  if (form || w->testAttribute(Qt::WA_SetFont)) {
    const double factor = Globals().FontScale > 0 ? Globals().FontScale : ctx.scale;
    QFont f = w->font();
    if (f.pointSize() > 0)
      f.setPointSize(qMax(1, qRound(qRound(f.pointSize() * factor) * ctx.fontRatio)));
    else if (f.pixelSize() > 0)
      f.setPixelSize(qMax(1, qRound(qRound(f.pixelSize() * factor) * ctx.fontRatio)));
    w->setFont(f);
  }

  if (label) {
    QPalette p = label->palette();
    p.setColor(QPalette::Window, ctx.color);
    p.setColor(QPalette::WindowText, ctx.fontColor);
    label->setPalette(p);
  }
  if (auto* button = qobject_cast<QAbstractButton*>(w);
      button && button->property(kHelpButtonProperty).toBool()) {
    const QString helpFile = ctx.helpFile;
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button, helpFile] { ShowHelp(helpFile, HelpContextOf(button)); });
  }
}

void fitContents(QWidget* form) {
  if (form->layout()) return;  // a layout keeps its controls inside
  int right = 0;
  int bottom = 0;
  for (QObject* o : form->children()) {
    auto* c = qobject_cast<QWidget*>(o);
    if (!c || c->isWindow() || !c->isVisibleTo(form)) continue;
    right = qMax(right, c->geometry().right() + 1);
    bottom = qMax(bottom, c->geometry().bottom() + 1);
  }
  QSize size = form->size();
  if (size.width() < right) size.setWidth(right + 10);
  if (size.height() < bottom) size.setHeight(bottom + 10);
  form->resize(size);
}

void registerForm(QWidget* form, const QString& helpFile) {
  const QString name = formName(form);
  if (registeredIndex(name) >= 0 ||
      form->findChild<QObject*>(QLatin1String(FormRegistration::kObjectName),
                                Qt::FindDirectChildrenOnly))
    return;
  bool placed = form->testAttribute(Qt::WA_Moved);
  bool maximized = false;
  if (!ListDir().isEmpty()) {
    if (const auto saved = ReadPlacement(placementFile(form))) {
      const QRect r = ApplyPlacement(QRect(form->pos(), form->size()), *saved);
      form->move(r.topLeft());
      form->resize(r.size());
      maximized = saved->Maximized;
      placed = true;
    }
  }
  fitContents(form);
  const QSize screen = ScreenSize();
  form->resize(FitToScreen(form->size(), screen));
  PreferCompiledHelp();
  g_registered.append({form, name, helpFile});
  form->setProperty(kHelpFileProperty, QString());
  new FormRegistration(form, name, helpFile);
  // A form Qt places itself (centred on its parent) is already on the screen.
  if (placed) form->move(KeepOnScreen(QRect(form->pos(), form->size()), screen));
  // Last: moving a window ends its maximised state.
  if (maximized) form->setWindowState(form->windowState() | Qt::WindowMaximized);
}

// A window that takes the keyboard when it is active: forms, dialogs and message boxes, not
// popups, tool tips or windows shown without activation.
bool takesKeyboard(const QWidget* w) {
  const Qt::WindowType type = w->windowType();
  return w->isWindow() && w->isVisible() && !w->isMinimized() &&
         (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool) &&
         !w->testAttribute(Qt::WA_ShowWithoutActivating) &&
         !(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
}

// With a window manager whose focus follows the pointer (or with none) a window that appears
// is not activated, nor is the window beneath one that goes: the keys would then reach a
// window that Qt does not count as active, where Enter moves no focus and no underlined letter
// works. So a window that appears asks for the keyboard, and when the active window goes, the
// window it covered takes it back at once, before the next key.
void windowShown(QWidget* w) {
  QTimer::singleShot(0, w, [w] {
    if (takesKeyboard(w) && !w->isActiveWindow() && !QApplication::activePopupWidget() &&
        (!QApplication::activeModalWidget() || QApplication::activeModalWidget() == w))
      w->activateWindow();
  });
}

void windowHidden(QWidget* hidden) {
  // Only the keyboard the program had: not while the user works in another program.
  QWidget* active = QApplication::activeWindow();
  if (active ? active != hidden && active->isVisible()
             : QGuiApplication::applicationState() != Qt::ApplicationActive)
    return;
  QWidget* next = QApplication::activeModalWidget();
  if (!next && hidden->parentWidget()) next = hidden->parentWidget()->window();
  if (!next || !takesKeyboard(next))
    for (const QPointer<QWidget>& w : g_stacking)
      if (w && w != hidden && takesKeyboard(w)) {
        next = w;
        break;
      }
  if (!next || next == hidden || !takesKeyboard(next)) return;
  QApplication::setActiveWindow(next);
  next->activateWindow();
}

class FormEventFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if ((e->type() == QEvent::Show || e->type() == QEvent::Hide) && !e->spontaneous() &&
        !g_inMinimizeRestore) {
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) {
        if (e->type() == QEvent::Show)
          windowShown(w);
        else
          windowHidden(w);
      }
    } else if (e->type() == QEvent::WindowActivate) {
      if (auto* w = qobject_cast<QWidget*>(watched); w && isForm(w)) {
        g_stacking.removeAll(w);
        g_stacking.prepend(w);
      }
    } else if (e->type() == QEvent::Wheel) {
      const int dy = static_cast<QWheelEvent*>(e)->angleDelta().y();
      if (dy == 0) return false;  // a sideways turn stays a wheel event
      QWidget* target = QApplication::focusWidget();
      if (!target) target = qobject_cast<QWidget*>(watched);
      if (!target) return false;
      QKeyEvent key(QEvent::KeyPress, dy > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
      QApplication::sendEvent(target, &key);
      QKeyEvent release(QEvent::KeyRelease, key.key(), Qt::NoModifier);
      QApplication::sendEvent(target, &release);
      return true;
    }
    return false;
  }
};

}  // namespace

int HelpContextOf(const QObject* object) {
  return object ? object->property(kHelpContextProperty).toInt() : 0;
}

void SetHelpContext(QObject* object, int context) {
  object->setProperty(kHelpContextProperty, context);
}

void SetHelpContexts(QWidget* form, int context) {
  SetHelpContext(form, context);
  for (QWidget* w : form->findChildren<QWidget*>())
    if (HelpContextOf(w) == 0) SetHelpContext(w, context);
  for (QAction* a : form->findChildren<QAction*>())
    if (HelpContextOf(a) == 0) SetHelpContext(a, context);
}

QString ListDir() { return g_listDir; }

QString ListDirFor(const QString& programDir, const QString& computerName) {
  QString dir = programDir;
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  if (!FindExistingPath(dir + QStringLiteral("vexorxx.exe")).isEmpty())
    return dir + QStringLiteral("lst00/");
  QString name;
  for (QChar c : computerName)
    if (c.unicode() >= u'0' && c != QLatin1Char(':') && c != QLatin1Char('\\')) name += c;
  return dir + name + QLatin1Char('/');
}

void InitListDir(const QString& programDir) {
  g_listDir = ListDirFor(programDir, ComputerName());
  QDir().mkpath(g_listDir);
}

void FormSetup(QWidget* form, const QColor& color, const QColor& fontColor) {
  const QString helpFile = form->property(kHelpFileProperty).toString();
  const int dpi = form->logicalDpiX();
  const ScaleContext ctx{form, gridScale(), dpi > 0 ? 96.0 / dpi : 1.0, color, fontColor, helpFile};
  scaleControl(form, ctx);
  if (form->isWindow()) registerForm(form, helpFile);
}

void FormSetupOwnColors(QWidget* form) {
  const QPalette& p = form->palette();
  FormSetup(form, p.color(QPalette::Window), p.color(QPalette::WindowText));
}

void FormSetupWindowColors(QWidget* form) {
  FormSetup(form, ColorOf(Style().AblakSzin), ColorOf(Style().ABetuSzin));
}

QList<QWidget*> RegisteredForms() {
  purge();
  QList<QWidget*> forms;
  for (const Registered& r : g_registered) forms << r.form.data();
  return forms;
}

void ShowProgramHelp(int context) {
  purge();
  if (g_registered.isEmpty())
    ShowHelp(QString(), context);
  else
    ShowHelp(g_registered.last().helpFile, context);
}

namespace {

// A restore set at once after a minimise can be lost in the window system (it maps a window
// that it has not yet iconified, so nothing happens, and then iconifies it). Once the call's own
// reports have come, a form the window system shows otherwise than the last call left it is
// given that state again, once.
void settleLater(const QList<QPointer<QWidget>>& forms, bool minimized) {
  const int call = g_minimizeRestoreCalls;
  QTimer::singleShot(kOwnStateReportMs, qApp, [forms, minimized, call] {
    if (call != g_minimizeRestoreCalls || g_inMinimizeRestore) return;
    g_inMinimizeRestore = true;
    bool again = false;
    for (const QPointer<QWidget>& w : forms) {
      if (!w || !w->isVisible() || w->isMinimized() == minimized) continue;
      setStateKeepingOthers(w, minimized);
      if (!minimized) w->show();
      again = true;
    }
    if (again) {
      if (!minimized && forms.first()) forms.first()->activateWindow();
      g_sinceMinimizeRestore.start();
    }
    g_inMinimizeRestore = false;
  });
}

}  // namespace

void MinimizeAll() {
  if (g_inMinimizeRestore) return;
  g_inMinimizeRestore = true;
  purge();
  QWidget* active = QApplication::activeWindow();
  if (active && !isForm(active)) active = active->window();
  if (!active)
    for (const QPointer<QWidget>& w : g_stacking)
      if (w->isVisible()) {
        active = w;
        break;
      }
  g_minimized.clear();
  if (active) g_minimized.append({active, true});
  QList<QWidget*> others;
  for (const QPointer<QWidget>& w : g_stacking)
    if (w != active) others << w;
  for (QWidget* w : screenForms())
    if (w != active && !others.contains(w)) others << w;
  for (QWidget* w : others) g_minimized.append({w, w->isVisible()});
  QList<QPointer<QWidget>> minimized;
  for (const MinimizeRecord& r : g_minimized)
    if (r.visible) {
      setStateKeepingOthers(r.form, true);
      minimized << r.form;
    }
  ++g_minimizeRestoreCalls;
  g_sinceMinimizeRestore.start();
  g_inMinimizeRestore = false;
  if (!minimized.isEmpty()) settleLater(minimized, true);
}

void RestoreAll() {
  if (g_inMinimizeRestore) return;
  g_inMinimizeRestore = true;
  const QList<MinimizeRecord> record = std::exchange(g_minimized, {});
  QList<QPointer<QWidget>> restored;  // the active form first
  for (auto it = record.rbegin(); it != record.rend(); ++it) {
    if (it->form.isNull() || !it->visible) continue;
    setStateKeepingOthers(it->form, false);
    it->form->show();
    it->form->raise();
    restored.prepend(it->form);
  }
  if (!record.isEmpty() && record.first().form) record.first().form->activateWindow();
  ++g_minimizeRestoreCalls;
  g_sinceMinimizeRestore.start();
  g_inMinimizeRestore = false;
  if (!restored.isEmpty()) settleLater(restored, false);
}

bool IsActivation(const QShowEvent* event) { return !event->spontaneous(); }

void InstallFormEventFilter() {
  static FormEventFilter* filter = nullptr;
  if (filter || !qApp) return;
  filter = new FormEventFilter;
  filter->setParent(qApp);
  qApp->installEventFilter(filter);
}
