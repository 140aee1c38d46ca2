#include "self_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "ui_services.h"

namespace {

void Tell(const QString& text) {
  Ui().MessageBox(text, QStringLiteral("Mirad program javitás"), MsgType::Information, mbOK, mbOK);
}

}  // namespace

bool ReplaceFile(const QString& source, const QString& target) {
  const QString temp = target + QStringLiteral(".new");
  QFile::remove(temp);
  if (!QFile::copy(source, temp)) return false;
  QFile::setPermissions(temp, QFile::permissions(source));
  if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
    QFile::remove(temp);
    return false;
  }
  return true;
}

bool RunSelfCopyMode(const QString& programFile) {
  if (!programFile.contains(QLatin1String("patch"))) return false;
  const auto place = Ui().InputBox(QStringLiteral("Mirad program javitás"), QStringLiteral("Hely:"),
                                   QString::fromLatin1(kSelfCopyDefaultPlace));
  if (!place) return true;
  QString dir = *place;
  dir.replace('\\', '/');
  const QString target = QDir(dir).filePath(QStringLiteral("zarn"));
  if (!QFileInfo(target).isFile()) {
    Tell(QStringLiteral("HIBA! A megadott helyen nem található ZARN.EXE fájl."));
    return true;
  }
  Tell(ReplaceFile(programFile, target) ? QStringLiteral("Javitás sikeressen végrehajtva.")
                                        : QStringLiteral("HIBA! Javitás sikertelen."));
  return true;
}
