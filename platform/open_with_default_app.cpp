#include "open_with_default_app.h"

#include <QDesktopServices>
#include <QUrl>

void OpenWithDefaultApp(const QString& fileName) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}
