#pragma once

#include <QString>

#include "desktop_help.h"
#include "qt_ui_services.h"

// What the windowed program sets up before its first form, and takes back when it ends: the
// list directory, the style settings of Stilus.ini, the mouse-wheel translation, the real UI
// services, the help folder and what RunAndWait does to the windows. Globals().ProgramDir must
// be set first.
class ApplicationFrame {
 public:
  ApplicationFrame();
  ~ApplicationFrame();
  ApplicationFrame(const ApplicationFrame&) = delete;
  ApplicationFrame& operator=(const ApplicationFrame&) = delete;

 private:
  QtUiServices m_ui;
  DesktopHelp m_help;
};

// The application minimised while an external program runs, restored after (RunAndWait);
// ApplicationFrame installs them, a test may too.
void InstallRunAndWaitWindowHooks();
