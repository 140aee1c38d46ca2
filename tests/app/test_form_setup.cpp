#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <memory>

#include "app_globals.h"
#include "desktop_help.h"
#include "form_setup.h"
#include "gui_test_util.h"
#include "help_viewer.h"
#include "screen_size.h"
#include "scripted_ui.h"
#include "system_info.h"
#include "test_util.h"
#include "window_placement.h"

namespace {

class FormSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallFormEventFilter();
    Globals().GridScale = 1.0;
    Globals().FontScale = 1.0;
    InitListDir(programDir.path() + "/");
  }
  QString placementOf(const QString& form) const {
    return PlacementFileName(ListDir(), ProgramFilePath(), form);
  }
  // A dialog of 300 x 200 at (50, 40), laid out absolutely, set up like every form.
  std::unique_ptr<QDialog> makeForm(const QString& name = "FormProba") {
    auto form = std::make_unique<QDialog>();
    form->setObjectName(name);
    form->setGeometry(50, 40, 300, 200);
    auto* ok = new QPushButton("&Rendben", form.get());
    ok->setGeometry(100, 20, 80, 25);
    FormSetupOwnColors(form.get());
    return form;
  }

  QTemporaryDir programDir;
  FakeScreenSize screen{QSize(1024, 768)};
};

}  // namespace

TEST_F(FormSetupTest, ListDirNamedAfterTheCleanedComputerName) {
  EXPECT_EQ(ListDirFor("/p/", "PC-1:\\x.local"), "/p/PC1xlocal/");
  EXPECT_EQ(ListDirFor("/p/", "Gép_ő"), "/p/Gép_ő/");
  WriteFileBytes(programDir.filePath("VEXORXX.EXE"), "");
  EXPECT_EQ(ListDirFor(programDir.path(), "PC1"), programDir.path() + "/lst00/");
  EXPECT_TRUE(QFileInfo(ListDir()).isDir());
}

TEST_F(FormSetupTest, ScalesByScreenWidthWhenGridScaleIsZero) {
  Globals().GridScale = 0;  // 1024 / 800 = 1.28
  QWidget form;
  form.setObjectName("FormScale");
  form.resize(400, 300);
  auto* button = new QPushButton("x", &form);
  button->setGeometry(100, 20, 80, 25);
  auto* label = new QLabel("Név:", &form);
  label->setGeometry(10, 10, 50, 20);
  QFont big = label->font();
  big.setPointSize(10);
  label->setFont(big);
  auto* picture = new QLabel(&form);
  picture->setPixmap(QPixmap(16, 16));
  picture->setGeometry(200, 100, 16, 16);
  const int formPoints = form.font().pointSize();
  FormSetup(&form, QColor(Qt::yellow), QColor(Qt::blue));
  EXPECT_EQ(button->geometry(), QRect(128, 26, 102, 32));
  EXPECT_EQ(picture->geometry(), QRect(200, 100, 16, 16));
  EXPECT_EQ(form.size(), QSize(512, 384));
  // FontScale 1: fonts keep their size, the label's own too (96 dpi offscreen).
  EXPECT_EQ(form.font().pointSize(), formPoints);
  EXPECT_EQ(label->font().pointSize(), 10);
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::yellow));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
}

TEST_F(FormSetupTest, FontScaleZeroScalesFontsOnceByTheGridFactor) {
  Globals().GridScale = 1.5;
  Globals().FontScale = 0;
  QWidget form;
  form.setObjectName("FormFont");
  QFont f = form.font();
  f.setPointSize(8);
  form.setFont(f);
  auto* label = new QLabel("a", &form);
  auto* own = new QLabel("b", &form);
  QFont ten = own->font();
  ten.setPointSize(10);
  own->setFont(ten);
  FormSetupOwnColors(&form);
  EXPECT_EQ(form.font().pointSize(), 12);
  EXPECT_EQ(label->font().pointSize(), 12);  // follows the form, not scaled twice
  EXPECT_EQ(own->font().pointSize(), 15);
}

TEST_F(FormSetupTest, PlacementSurvivesCloseAcceptAndReject) {
  const std::function<void(QDialog&)> closers[] = {[](QDialog& d) { d.close(); },
                                                   [](QDialog& d) { d.accept(); },
                                                   [](QDialog& d) { d.reject(); }};
  int i = 0;
  for (const auto& closeIt : closers) {
    const QString name = QStringLiteral("FormClose%1").arg(i++);
    {
      auto form = makeForm(name);
      form->show();
      form->move(210, 120);
      form->resize(333, 222);
      closeIt(*form);
    }
    ASSERT_TRUE(QFile::exists(placementOf(name))) << name.toStdString();
    auto again = makeForm(name);
    EXPECT_EQ(again->pos(), QPoint(210, 120)) << name.toStdString();
    EXPECT_EQ(again->size(), QSize(333, 222)) << name.toStdString();
  }
}

TEST_F(FormSetupTest, SavedPlacementIsFittedAndPulledBackOnScreen) {
  const struct {
    QByteArray file;
    QRect expected;
    bool maximized;
  } cases[] = {
      {"10\r\n20\r\n100\r\n80\r\n", QRect(20, 10, 300, 200), false},           // smaller: kept
      {"5000\r\n-70\r\n400\r\n250\r\n0\r\n", QRect(0, 518, 400, 250), false},  // off screen
      {"30\r\n40\r\n2000\r\n900\r\n", QRect(0, 0, 1024, 768), false},          // larger than screen
      {"30\r\n40\r\n320\r\n210\r\n1\r\n", QRect(40, 30, 320, 210), true},
      {"garbage\r\n", QRect(50, 40, 300, 200), false},
  };
  for (const auto& c : cases) {
    WriteFileBytes(placementOf("FormProba"), c.file);
    auto form = makeForm();
    EXPECT_EQ(QRect(form->pos(), form->size()), c.expected) << c.file.constData();
    EXPECT_EQ(form->windowState().testFlag(Qt::WindowMaximized), c.maximized) << c.file.constData();
  }
}

TEST_F(FormSetupTest, MaximisedFormReopensMaximised) {
  {
    auto form = makeForm("FormMax");
    form->showMaximized();
    form->close();
  }
  EXPECT_TRUE(ReadPlacement(placementOf("FormMax"))->Maximized);
  auto again = makeForm("FormMax");
  again->show();
  EXPECT_TRUE(again->isMaximized());
}

TEST_F(FormSetupTest, FormsControlsGrowToTheirFarthestControl) {
  QDialog form;
  form.setObjectName("FormFit");
  form.resize(100, 50);
  (new QPushButton("x", &form))->setGeometry(150, 70, 40, 20);
  FormSetupOwnColors(&form);
  EXPECT_EQ(form.size(), QSize(200, 100));
}

TEST_F(FormSetupTest, RegisteredListFollowsOpenForms) {
  for (int i = 0; i < 150; ++i) {  // no cap on how often a form opens
    auto form = makeForm("FormRepeat");
    form->show();
    ASSERT_EQ(RegisteredForms().count(form.get()), 1);
    form->close();
    ASSERT_FALSE(RegisteredForms().contains(form.get()));
  }
  auto a = makeForm("FormA");
  auto b = makeForm("FormB");
  ASSERT_EQ(RegisteredForms().size(), 2);
  a.reset();  // destroyed without closing
  EXPECT_EQ(RegisteredForms(), QList<QWidget*>{b.get()});
  // A form whose name is open already is left alone.
  auto b2 = makeForm("FormB");
  EXPECT_EQ(RegisteredForms(), QList<QWidget*>{b.get()});
}

TEST_F(FormSetupTest, HelpContextsF1AndHelpButtons) {
  RecordingHelp help;
  HelpSettings() = {};
  QDialog form;
  form.setObjectName("FormHelp");
  auto* own = new QPushButton("a", &form);
  SetHelpContext(own, 77);
  auto* helpButton = new QPushButton("&Súgó", &form);
  helpButton->setProperty(kHelpButtonProperty, true);
  SetHelpContexts(&form, 5040);
  EXPECT_EQ(HelpContextOf(own), 77);
  EXPECT_EQ(HelpContextOf(helpButton), 5040);
  FormSetupOwnColors(&form);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::keyClick(&form, Qt::Key_F1);
  helpButton->click();
  ASSERT_EQ(help.Calls().size(), 2);
  EXPECT_EQ(help.Calls()[0].context, 5040);
  EXPECT_EQ(help.Calls()[1].context, 5040);
  ShowProgramHelp(9999);
  EXPECT_EQ(help.Calls().last().context, 9999);
}

// F1 opens the page of the form's context in the desktop's browser, the contents for context
// 0; a page that is not there is told with its path.
TEST_F(FormSetupTest, F1OpensTheFormsPageAndTellsAMissingOne) {
  QTemporaryDir helpDir;
  WriteFileBytes(helpDir.filePath("5060.html"), "<html lang=\"hu\"></html>");
  WriteFileBytes(helpDir.filePath("index.html"), "<html lang=\"hu\"></html>");
  DesktopHelp pages(helpDir.path());
  HelpViewer* previous = SetHelp(&pages);
  HelpSettings() = {};
  ScriptedUi ui;
  UrlRecorder browser;
  for (int context : {5060, 0, 7777}) {
    QDialog form;
    form.setObjectName(QString("FormHelp%1").arg(context));
    SetHelpContexts(&form, context);
    FormSetupOwnColors(&form);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(&form, Qt::Key_F1);
  }
  SetHelp(previous);
  EXPECT_EQ(browser.opened, (QList<QUrl>{QUrl::fromLocalFile(helpDir.filePath("5060.html")),
                                         QUrl::fromLocalFile(helpDir.filePath("index.html"))}));
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].caption, "FIGYELEM");
  EXPECT_EQ(ui.Calls()[0].text(),
            QString::fromUtf8("A súgó nem érhető el: ") + helpDir.filePath("7777.html"));
}

TEST_F(FormSetupTest, WheelTurnsBecomeUpAndDownKeys) {
  QTableWidget grid(5, 2);
  grid.setObjectName("FormGrid");
  grid.show();
  grid.activateWindow();
  grid.setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
  grid.setCurrentCell(2, 0);
  auto turn = [&](int dy) {
    QWidget* viewport = grid.viewport();
    const QPointF at(5, 5);
    QWheelEvent e(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &e);
    return grid.currentRow();
  };
  EXPECT_EQ(turn(120), 1);
  EXPECT_EQ(turn(-120), 2);
  EXPECT_EQ(turn(-120), 3);
  EXPECT_EQ(turn(0), 3);  // no vertical turn, no key
}

TEST_F(FormSetupTest, MinimisingOneFormMinimisesAllAndRestoreBringsThemBackInOrder) {
  auto main = makeForm("FormMain");
  auto second = makeForm("FormSecond");
  auto dialog = makeForm("FormDialog");
  QWidget hidden;  // a form that was not shown stays hidden
  for (QDialog* f : {main.get(), second.get(), dialog.get()}) {
    f->show();
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
  }
  // Log the order in which forms come back.
  QStringList restored;
  struct Log : QObject {
    QStringList* out;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::WindowStateChange && !static_cast<QWidget*>(o)->isMinimized())
        out->append(o->objectName());
      return false;
    }
  } log;
  log.out = &restored;
  for (QDialog* f : {main.get(), second.get(), dialog.get()}) f->installEventFilter(&log);

  dialog->setWindowState(Qt::WindowMinimized);  // as the user's minimise button does
  for (QDialog* f : {main.get(), second.get(), dialog.get()})
    EXPECT_TRUE(f->isMinimized()) << f->objectName().toStdString();
  EXPECT_FALSE(hidden.isVisible());
  EXPECT_TRUE(RegisteredForms().contains(main.get()));  // minimising is not closing

  dialog->setWindowState(Qt::WindowNoState);
  for (QDialog* f : {main.get(), second.get(), dialog.get()})
    EXPECT_FALSE(f->isMinimized()) << f->objectName().toStdString();
  EXPECT_EQ(restored, (QStringList{"FormDialog", "FormMain", "FormSecond"}));
  EXPECT_FALSE(hidden.isVisible());
}

// The window system reports the states of a minimise and a restore made at once only
// afterwards: the reports of the minimise, coming after the restore, are not the user's
// minimise, minimise and restore do not go on echoing each other, and a window that the window
// system minimised after the restore is restored once more.
TEST_F(FormSetupTest, LateReportsOfAMinimiseAndRestoreStartNothing) {
  auto main = makeForm("FormMain");
  auto dialog = makeForm("FormDialog");
  for (QDialog* f : {main.get(), dialog.get()}) {
    f->show();
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
  }
  int changes = 0;
  struct Count : QObject {
    int* n;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::WindowStateChange) ++*n;
      return false;
    }
  } count;
  count.n = &changes;
  for (QDialog* f : {main.get(), dialog.get()}) f->installEventFilter(&count);
  for (int round = 0; round < 5; ++round) {
    MinimizeAll();
    RestoreAll();
    QTest::qWait(20);
  }
  // A window manager that had not yet iconified main when the restore came (so the restore
  // found it still shown) iconifies it now.
  main->windowHandle()->setWindowState(Qt::WindowMinimized);
  ASSERT_TRUE(QTest::qWaitFor([&] { return main->isMinimized(); }, 1000));
  QTest::qWait(1000);  // every report has come
  changes = 0;
  QTest::qWait(300);
  EXPECT_EQ(changes, 0);
  for (QDialog* f : {main.get(), dialog.get()})
    EXPECT_FALSE(f->isMinimized()) << f->objectName().toStdString();
}

// A window manager whose focus follows the pointer activates neither a new window nor the
// one beneath a window that goes: the program does it, so the next key finds an active window
// (an underlined letter works there, and the focus moves with focus events).
TEST_F(FormSetupTest, TheWindowBeneathAClosedDialogTakesTheKeyboardAtOnce) {
  auto form = makeForm("FormAlatta");
  auto* button = form->findChild<QPushButton*>();
  QLineEdit* first = new QLineEdit(form.get());
  QLineEdit* second = new QLineEdit(form.get());
  first->setGeometry(10, 60, 100, 25);
  second->setGeometry(10, 100, 100, 25);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  first->setFocus();
  QDialog over(form.get());
  OnNextModal([&](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
  over.exec();
  // No event loop runs between the close and the keys.
  EXPECT_EQ(QApplication::activeWindow(), form.get());
  PressKey(form.get(), Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(button->isDown());  // the underlined letter took; the click follows
  bool focusSeen = false;
  struct Seen : QObject {
    bool* seen;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::FocusIn) *seen = true;
      return false;
    }
  } watch;
  watch.seen = &focusSeen;
  second->installEventFilter(&watch);
  PressKey(first, Qt::Key_Tab);
  EXPECT_TRUE(second->hasFocus());
  EXPECT_TRUE(focusSeen);
}
