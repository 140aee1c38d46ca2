#pragma once

#include <QString>

#include "help_viewer.h"

// The help of the windowed program: a folder of HTML pages ("help" in the program directory),
// one page per context number ("<context>.html"), the contents ("index.html") for context 0,
// opened in the desktop's browser. The help file a request names only says which help was
// asked for; every request goes to the same folder. A page that is missing or cannot be opened
// is told under "FIGYELEM" with its path.
class DesktopHelp : public HelpViewer {
 public:
  explicit DesktopHelp(QString helpDir) : m_helpDir(std::move(helpDir)) {}
  void ShowContext(const QString& helpFile, int context) override;
  // The page a context opens, as it is named in the folder.
  QString PagePath(int context) const;
  // PagePath as it exists on disk (names compare without regard to case); empty when missing.
  QString PageOf(int context) const;

 private:
  QString m_helpDir;
};
