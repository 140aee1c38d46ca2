#pragma once

#include <QString>

#include "help_viewer.h"

// The help of the windowed program: a folder of HTML pages ("help" in the program directory),
// one page per context number ("<context>.html", else "index.html"), opened in the desktop's
// browser. Without the folder nothing is shown. The help file a request names only says which
// help was asked for; every request goes to the same folder.
class DesktopHelp : public HelpViewer {
 public:
  explicit DesktopHelp(QString helpDir) : m_helpDir(std::move(helpDir)) {}
  void ShowContext(const QString& helpFile, int context) override;
  // The page a context opens; empty when there is none.
  QString PageOf(int context) const;

 private:
  QString m_helpDir;
};
