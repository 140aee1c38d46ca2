#include <gtest/gtest.h>
#include <signal.h>

#include <QAbstractButton>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWidget>

#include "application_frame.h"
#include "form_setup.h"
#include "gui_test_util.h"
#include "program_runner.h"
#include "qt_ui_services.h"
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
    minimisedWhileRunning = main.isMinimized();
  };
  EXPECT_TRUE(RunAndWait("renderer"));
  EXPECT_TRUE(minimisedWhileRunning);
  EXPECT_FALSE(main.isMinimized());
  SetRunAndWaitHooks({});
}

TEST(ProgramStart, SecondCopyEndsWithoutTouchingFilesACopyUnderAnotherNameRuns) {
  QTemporaryDir root;
  const QString appDir = root.filePath("app");
  ASSERT_TRUE(QDir().mkpath(appDir + "/create"));
  ASSERT_TRUE(QFile::copy(BinDir() + "/zarn", appDir + "/zarn"));
  ASSERT_TRUE(QFile::copy(BinDir() + "/zarn", appDir + "/zarn2"));
  QDir().mkpath(root.filePath("run"));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", root.filePath("run"));
  env.insert("XDG_DATA_HOME", root.filePath("data"));
  env.insert("HOME", root.filePath("home"));
  auto start = [&](const QString& name, QProcess& p) {
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(appDir);
    p.start(appDir + "/" + name, {});
    return p.waitForStarted();
  };
  // Up once it made its list directory.
  auto waitUntilUp = [&] {
    for (int i = 0; i < 500; ++i) {
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
