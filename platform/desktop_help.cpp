#include "desktop_help.h"

#include <QDesktopServices>
#include <QUrl>

#include "file_lookup.h"
#include "ui_services.h"

QString DesktopHelp::PagePath(int context) const {
  return m_helpDir +
         (context == 0 ? QStringLiteral("/index.html") : QStringLiteral("/%1.html").arg(context));
}

QString DesktopHelp::PageOf(int context) const {
  return m_helpDir.isEmpty() ? QString() : FindExistingPath(PagePath(context));
}

void DesktopHelp::ShowContext(const QString&, int context) {
  const QString page = PageOf(context);
  if (page.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
    Ui().MessageBox(QStringLiteral("A súgó nem érhető el: ") + PagePath(context),
                    QStringLiteral("FIGYELEM"), MsgType::Warning, mbOK, mbOK);
}
