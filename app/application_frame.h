#pragma once

#include <QString>
#include <QTranslator>

#include "desktop_help.h"
#include "qt_ui_services.h"

// What the windowed program sets up before its first form, and takes back when it ends: the
// list directory, the style settings of Stilus.ini, the mouse-wheel translation, the real UI
// services, the help folder, what RunAndWait does to the windows and Qt's own texts in Hungarian.
// Globals().ProgramDir must be set first.
class ApplicationFrame {
 public:
  ApplicationFrame();
  ~ApplicationFrame();
  ApplicationFrame(const ApplicationFrame&) = delete;
  ApplicationFrame& operator=(const ApplicationFrame&) = delete;

 private:
  QtUiServices m_ui;
  DesktopHelp m_help;
  QTranslator m_qtTranslation;
};

// The application minimised while an external program runs, restored after (RunAndWait);
// ApplicationFrame installs them, a test may too.
void InstallRunAndWaitWindowHooks();

// Loads Qt's own Hungarian texts ("qtbase_hu" from Qt's translations directory: the stock
// buttons, the print preview, the file and printer dialogs); false when they are not installed.
bool LoadQtTranslation(QTranslator& translator);
