#include "x_one_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

TXOneInstance::TXOneInstance(const QString& programFile, const QString& lockDir) {
  const QString dir = lockDir.isEmpty() ? DefaultLockDir() : lockDir;
  const QString name = QFileInfo(programFile).fileName();
  if (dir.isEmpty() || name.isEmpty()) return;
  const QByteArray path = QFile::encodeName(QDir(dir).filePath(name + QStringLiteral(".lock")));
  // Close-on-exec: a program we start must not keep our lock after we end.
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return;
  }
  m_fd = fd;
}

TXOneInstance::~TXOneInstance() {
  if (m_fd >= 0) ::close(m_fd);
}

QString TXOneInstance::DefaultLockDir() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
  const QByteArray dir =
      QFile::encodeName(QDir::tempPath() + QStringLiteral("/zarn-%1").arg(::getuid()));
  ::mkdir(dir.constData(), 0700);
  struct stat st {};
  // Someone else's directory of that name is not ours to lock in.
  if (::lstat(dir.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
    return QString();
  return QFile::decodeName(dir);
}
