#include <QApplication>
#include <QMainWindow>

#include "app_globals.h"
#include "application_frame.h"
#include "form_setup.h"
#include "program_dir.h"
#include "system_info.h"
#include "x_one_instance.h"

int main(int argc, char* argv[]) {
  // A second copy ends before it touches anything.
  const QString programFile = ProgramFilePath();
  TXOneInstance oneInstance(programFile);
  if (oneInstance.AlreadyExist()) return 0;

  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Tárgyi eszk. Immat javak"));
  Globals().ProgramDir = ResolveProgramDir(programFile);
  ApplicationFrame frame;

  QMainWindow window;
  window.setObjectName(QStringLiteral("MainForm"));
  window.setWindowTitle(QStringLiteral("Tárgyi eszk. Immat javak"));
  window.resize(706, 498);
  FormSetupOwnColors(&window);
  window.show();
  return app.exec();
}
