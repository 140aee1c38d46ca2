#include "application_frame.h"

#include <QCoreApplication>

#include "app_globals.h"
#include "form_setup.h"
#include "program_runner.h"
#include "style_settings.h"

void InstallRunAndWaitWindowHooks() {
  SetRunAndWaitHooks({[] {
                        MinimizeAll();
                        // The wait blocks the event loop: let the window system see it first.
                        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                      },
                      [] { RestoreAll(); }});
}

ApplicationFrame::ApplicationFrame() : m_help(Globals().ProgramDir + QStringLiteral("help")) {
  InitListDir(Globals().ProgramDir);
  LoadStyleSettings();
  InstallFormEventFilter();
  SetUi(&m_ui);
  SetHelp(&m_help);
  InstallRunAndWaitWindowHooks();
}

ApplicationFrame::~ApplicationFrame() {
  SetRunAndWaitHooks({});
  SetHelp(nullptr);
  SetUi(nullptr);
}
