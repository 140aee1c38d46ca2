#include "application_frame.h"

#include <QCoreApplication>
#include <QLibraryInfo>

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

bool LoadQtTranslation(QTranslator& translator) {
  return translator.load(QStringLiteral("qtbase_hu"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

ApplicationFrame::ApplicationFrame() : m_help(Globals().ProgramDir + QStringLiteral("help")) {
  HelpSettings().ApplicationHelpFile = Globals().ProgramDir + QStringLiteral("ZARN.HLP");
  if (LoadQtTranslation(m_qtTranslation)) QCoreApplication::installTranslator(&m_qtTranslation);
  InitListDir(Globals().ProgramDir);
  LoadStyleSettings();
  InstallFormEventFilter();
  SetUi(&m_ui);
  SetHelp(&m_help);
  InstallRunAndWaitWindowHooks();
}

ApplicationFrame::~ApplicationFrame() {
  QCoreApplication::removeTranslator(&m_qtTranslation);
  SetRunAndWaitHooks({});
  SetHelp(nullptr);
  SetUi(nullptr);
}
