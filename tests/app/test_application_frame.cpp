#include <gtest/gtest.h>
#include <signal.h>

#include <QAbstractButton>
#include <QDirIterator>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

#include "application_frame.h"
#include "exceptions.h"
#include "form_setup.h"
#include "guarded_application.h"
#include "gui_test_util.h"
#include "program_runner.h"
#include "qt_ui_services.h"
#include "scripted_ui.h"
#include "test_util.h"

namespace {

// Every file and directory under dir with its size and modification time.
QStringList snapshot(const QString& dir) {
  QStringList out;
  QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QFileInfo fi = it.fileInfo();
    out << QStringLiteral("%1 %2 %3")
               .arg(fi.filePath())
               .arg(fi.size())
               .arg(fi.lastModified().toMSecsSinceEpoch());
  }
  out.sort();
  return out;
}

// The environment of a program started in a test: offscreen, with its lock, data and home
// under root.
QProcessEnvironment ProgramEnvironment(const QTemporaryDir& root) {
  QDir().mkpath(root.filePath("run"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", root.filePath("run"));
  env.insert("XDG_DATA_HOME", root.filePath("data"));
  env.insert("HOME", root.filePath("home"));
  return env;
}

// The built program copied into root/dir, beside a folder of creation scripts.
QString CopyProgram(const QTemporaryDir& root, const QString& dir, const QString& name = "zarn") {
  const QString path = root.filePath(dir);
  QDir().mkpath(path + "/create");
  EXPECT_TRUE(QFile::copy(BinDir() + "/zarn", path + "/" + name));
  return path;
}

}  // namespace

TEST(RunAndWaitWindows, ApplicationMinimisedWhileRunningAndRestoredAfterEveryEnd) {
  InstallFormEventFilter();
  InstallRunAndWaitWindowHooks();
  QWidget main;
  main.setObjectName("FormRunMain");
  main.show();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

  QTemporaryDir dir;
  const struct {
    const char* name;
    QByteArray body;
    bool expected;
  } cases[] = {
      {"ok.sh", "exit 0", true},
      {"fails.sh", "exit 1", false},
      {"missing.sh", "", false},  // not created
      {"killed.sh", "kill -KILL $$", false},
  };
  for (const auto& c : cases) {
    const QString path =
        c.body.isEmpty() ? dir.filePath(c.name) : WriteScript(dir.path(), c.name, c.body);
    EXPECT_EQ(RunAndWait(path), c.expected) << c.name;
    EXPECT_TRUE(main.isVisible()) << c.name;
    EXPECT_FALSE(main.isMinimized()) << c.name;
  }

  RecordingRunner runner;
  bool minimisedWhileRunning = false;
  runner.WhileRunning = [&](const RecordingRunner::Run&) {
    // Under a window manager the report of the restore before can still come first.
    minimisedWhileRunning = QTest::qWaitFor([&] { return main.isMinimized(); }, 2000);
  };
  EXPECT_TRUE(RunAndWait("renderer"));
  EXPECT_TRUE(minimisedWhileRunning);
  EXPECT_FALSE(main.isMinimized());
  SetRunAndWaitHooks({});
}

TEST(ProgramStart, SecondCopyEndsWithoutTouchingFilesACopyUnderAnotherNameRuns) {
  QTemporaryDir root;
  const QString appDir = CopyProgram(root, "app");
  CopyProgram(root, "app", "zarn2");
  const QProcessEnvironment env = ProgramEnvironment(root);
  auto start = [&](const QString& name, QProcess& p) {
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(appDir);
    p.start(appDir + "/" + name, {});
    return p.waitForStarted();
  };
  // Up once it made its list directory.
  auto waitUntilUp = [&] {
    for (int i = 0; i < 3000; ++i) {
      if (QDir(appDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() > 1) return true;
      QThread::msleep(10);
    }
    return false;
  };

  QProcess first;
  ASSERT_TRUE(start("zarn", first));
  ASSERT_TRUE(waitUntilUp());
  QThread::msleep(200);
  const QStringList before = snapshot(root.path());

  QProcess second;
  ASSERT_TRUE(start("zarn", second));
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(snapshot(root.path()), before);
  EXPECT_EQ(first.state(), QProcess::Running);

  QProcess renamed;
  ASSERT_TRUE(start("zarn2", renamed));
  EXPECT_FALSE(renamed.waitForFinished(1500));
  EXPECT_EQ(renamed.state(), QProcess::Running);

  for (QProcess* p : {&first, &renamed}) {
    p->terminate();
    if (!p->waitForFinished(5000)) {
      p->kill();
      p->waitForFinished();
    }
  }
}

// Started from a path with "patch" in it, the program asks where the installed copy is and
// does nothing of the ordinary start meanwhile (which would write its ZARN.INI at once).
TEST(ProgramStart, PatchPathRunsTheSelfCopyOnly) {
  QTemporaryDir root;
  const QString dir = CopyProgram(root, "patch");
  const QProcessEnvironment env = ProgramEnvironment(root);
  QProcess patch;
  patch.setProcessEnvironment(env);
  patch.setWorkingDirectory(dir);
  patch.start(dir + "/zarn", {});
  ASSERT_TRUE(patch.waitForStarted());
  EXPECT_FALSE(patch.waitForFinished(1500)) << "ended without asking";
  EXPECT_FALSE(QFile::exists(dir + "/ZARN.INI"));
  patch.kill();
  patch.waitForFinished();

  // The same program under an ordinary path starts as usual.
  const QString plain = CopyProgram(root, "prog");
  QProcess ordinary;
  ordinary.setProcessEnvironment(env);
  ordinary.setWorkingDirectory(plain);
  ordinary.start(plain + "/zarn", {});
  ASSERT_TRUE(ordinary.waitForStarted());
  for (int i = 0; i < 3000 && !QFile::exists(plain + "/ZARN.INI"); ++i) QThread::msleep(10);
  EXPECT_TRUE(QFile::exists(plain + "/ZARN.INI"));
  ordinary.kill();
  ordinary.waitForFinished();
}

namespace {

TEST(QtTranslation, StockButtonsSpeakHungarian) {
  QTranslator translator;
  ASSERT_TRUE(LoadQtTranslation(translator)) << "qtbase_hu.qm is not installed";
  QCoreApplication::installTranslator(&translator);
  QtUiServices ui;
  QStringList captions;
  OnNextModal([&captions](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons()) captions << b->text();
    box->reject();
  });
  ui.MessageBox(QStringLiteral("Folytatja?"), QStringLiteral("Kérdés"), MsgType::Confirmation,
                mbYes | mbNo | mbCancel, mbNo);
  QCoreApplication::removeTranslator(&translator);
  captions.sort();
  EXPECT_EQ(captions, (QStringList{QStringLiteral("&Igen"), QStringLiteral("&Nem"),
                                   QStringLiteral("Mégse")}));
}

}  // namespace

namespace {

// A window whose key handler fails the way a handler of the program may.
class FailingWindow : public QWidget {
 protected:
  void keyPressEvent(QKeyEvent*) override { throw std::runtime_error("bad_alloc"); }
};

}  // namespace

// The message loop's guard: a timer slot or a window's handler that raises is told under
// "HIBA!", the hourglass it left goes, and the event counts as not handled.
TEST(GuardedApplication, AnErrorEscapingAHandlerIsToldAndTheLoopGoesOn) {
  ScriptedUi ui;
  QTimer timer;
  int fired = 0;
  QObject::connect(&timer, &QTimer::timeout, [&fired] {
    ++fired;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    throw EDatabaseError("MySQL Error Unknown database 'ZARN'");
  });
  timer.start(60000);
  QTimerEvent tick(timer.timerId());
  EXPECT_FALSE(GuardedApplication::NotifyGuarded(&timer, &tick));
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  FailingWindow window;
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_FALSE(GuardedApplication::NotifyGuarded(&window, &key));
  ASSERT_EQ(ui.Calls().size(), 2);
  EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
  EXPECT_EQ(ui.Calls()[0].text(), "MySQL Error Unknown database 'ZARN'");
  EXPECT_EQ(ui.Calls()[1].caption, "HIBA!");
  EXPECT_EQ(ui.Calls()[1].text(), "bad_alloc");

  // What does not fail is delivered as before.
  QLineEdit edit;
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_TRUE(GuardedApplication::NotifyGuarded(&edit, &typed));
  EXPECT_EQ(edit.text(), "a");
  EXPECT_EQ(ui.Calls().size(), 2);
}
