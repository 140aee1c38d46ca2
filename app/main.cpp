#include <memory>

#include "app_globals.h"
#include "application_frame.h"
#include "exceptions.h"
#include "guarded_application.h"
#include "main_form.h"
#include "program_dir.h"
#include "self_copy.h"
#include "start_settings.h"
#include "system_info.h"
#include "ui_services.h"
#include "x_one_instance.h"
#include "zip_sfx.h"

int main(int argc, char* argv[]) {
  // A second copy ends before it reads or writes anything.
  const QString programFile = ProgramFilePath();
  TXOneInstance oneInstance(programFile);
  if (oneInstance.AlreadyExist()) return 0;

  GuardedApplication app(argc, argv);
  app.setApplicationName(QString::fromUtf8(kApplicationTitle));
  Globals().ProgramDir = ResolveProgramDir(programFile);
  ApplicationFrame frame;
  // Started as a patch, the program only copies itself over the installed one.
  if (RunSelfCopyMode(programFile)) return 0;
  // The stub languages are listed once, before any form exists.
  SFXLanguageList();

  std::unique_ptr<TMainForm> mainForm;
  try {
    mainForm = std::make_unique<TMainForm>(app.arguments());
  } catch (const Exception& e) {
    Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error, mbOK, mbOK);
    return 1;
  }
  // A settings file that could not be written asked for the end before the loop began.
  if (Ui().TerminateRequested()) return 0;
  mainForm->show();
  return app.exec();
}
