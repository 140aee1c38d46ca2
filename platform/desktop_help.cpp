#include "desktop_help.h"

#include <QDesktopServices>
#include <QUrl>

#include "file_lookup.h"

QString DesktopHelp::PageOf(int context) const {
  if (m_helpDir.isEmpty()) return QString();
  QString page = FindExistingPath(m_helpDir + QStringLiteral("/%1.html").arg(context));
  if (page.isEmpty()) page = FindExistingPath(m_helpDir + QStringLiteral("/index.html"));
  return page;
}

void DesktopHelp::ShowContext(const QString&, int context) {
  const QString page = PageOf(context);
  if (!page.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}
