#include "program_maintenance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "app_globals.h"
#include "open_with_default_app.h"
#include "program_runner.h"
#include "self_copy.h"
#include "ui_services.h"

namespace {

void ShowCannotStart(const QString& path) {
  Ui().MessageBox(QStringLiteral("A program nem indítható: ") + path, QStringLiteral("HIBA!"),
                  MsgType::Error, mbOK, mbOK);
}

bool StartInProgramDir(const QString& name) {
  const QString dir = Globals().ProgramDir;
  QDir::setCurrent(dir);
  const QString path = dir + name;
  if (Runner().StartDetached(path, {QString::number(QCoreApplication::applicationPid())}, dir))
    return true;
  ShowCannotStart(path);
  return false;
}

}  // namespace

bool StartProgramBackup(QWidget*) { return StartInProgramDir(QStringLiteral("prgment.sh")); }

bool StartProgramRestore(QWidget*) { return StartInProgramDir(QStringLiteral("prgmvissza.sh")); }

bool StartNewVersion(QWidget*) {
  const QString dir = Globals().ProgramDir;
  const QString updater = dir + QStringLiteral("NewVer");
  const QString copy = dir + QStringLiteral("_NewVer");
  if (QFile::exists(copy)) QFile::remove(copy);
  // A failed copy is a missing or unreadable NewVer: that is the path the user must see.
  if (!ReplaceFile(updater, copy)) {
    ShowCannotStart(updater);
    return false;
  }
  return StartInProgramDir(QStringLiteral("_NewVer"));
}

void OpenDocumentation() { OpenWithDefaultApp(Globals().ProgramDir + QStringLiteral("zarn.rtf")); }
