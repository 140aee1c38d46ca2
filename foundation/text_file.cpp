#include "text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>

#include "exceptions.h"

namespace {

EInOutError ioError(int code, const QString& fileName) {
  return EInOutError(code, QStringLiteral("I/O error %1: %2").arg(code).arg(fileName));
}

// Opens path (creating it when create is set) and takes the lock, retrying while another
// program holds it. Returns the descriptor or -1 with errno-like code in err.
int lockedOpen(const QString& path, int flags, int lockOp, bool retry, int& err) {
  const QByteArray native = QFile::encodeName(path);
  const int attempts = retry ? kTextOpenAttempts : 1;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (attempt > 0) QThread::msleep(kTextOpenPauseMs);
    int fd = ::open(native.constData(), flags | O_CLOEXEC, 0666);
    if (fd < 0) {
      err = errno;
      if (err == ENOENT || err == ENOTDIR || err == EISDIR) return -1;
      continue;
    }
    if (!retry) return fd;
    if (::flock(fd, lockOp | LOCK_NB) != 0) {
      err = errno;
      ::close(fd);
      continue;
    }
    // A writer may have replaced the file while we waited: lock the file now at the path.
    struct stat held, current;
    if (::fstat(fd, &held) == 0 && ::stat(native.constData(), &current) == 0 &&
        (held.st_ino != current.st_ino || held.st_dev != current.st_dev)) {
      ::close(fd);
      --attempt;
      continue;
    }
    return fd;
  }
  err = EWOULDBLOCK;
  return -1;
}

}  // namespace

bool TextDriverActive() { return !QFileInfo::exists(QStringLiteral("noredeftxtfile.ini")); }

TextFile::TextFile(QString fileName, CodePage cp) : m_fileName(std::move(fileName)), m_cp(cp) {}

TextFile::~TextFile() {
  discardTemp();
  if (m_lockFd >= 0) ::close(m_lockFd);
}

void TextFile::discardTemp() {
  if (m_outFd >= 0 && m_outFd != m_lockFd) ::close(m_outFd);
  m_outFd = -1;
  if (!m_tempName.isEmpty()) QFile::remove(m_tempName);
  m_tempName.clear();
  m_out.clear();
}

void TextFile::Reset() { open(Mode::Reset); }
void TextFile::Rewrite() { open(Mode::Rewrite); }
void TextFile::Append() { open(Mode::Append); }

void TextFile::open(Mode mode) {
  if (m_mode != Mode::Closed) Close();
  const bool driver = TextDriverActive();
  const bool exists = QFileInfo::exists(m_fileName);
  m_data.clear();
  m_pos = 0;
  m_utf8 = m_cp == CodePage::Utf8;
  m_utf8Mark = false;
  m_lineEnd.clear();

  if (mode == Mode::Reset && !exists) {
    if (!driver) throw ioError(2, m_fileName);
    // The driver creates a missing file and opens it for output; reading then fails.
    mode = Mode::Rewrite;
  }

  int err = 0;
  if (mode == Mode::Reset) {
    m_lockFd = lockedOpen(m_fileName, O_RDONLY, LOCK_SH, driver, err);
    if (m_lockFd < 0) throw ioError(err == EWOULDBLOCK ? 32 : 2, m_fileName);
    m_mode = Mode::Reset;
    readAll();
    return;
  }
  const int flags = O_WRONLY | O_CREAT | (mode == Mode::Append ? O_APPEND : 0);
  m_lockFd = lockedOpen(m_fileName, flags, LOCK_EX, driver, err);
  if (m_lockFd < 0) throw ioError(err == EWOULDBLOCK ? 32 : 5, m_fileName);
  if (mode == Mode::Rewrite) {
    // The new content goes to a temporary file beside the old one and replaces it at Close.
    QByteArray tmpl = QFile::encodeName(m_fileName) + ".XXXXXX";
    int tmp = ::mkstemp(tmpl.data());
    if (tmp >= 0) {
      struct stat st;
      if (::fstat(m_lockFd, &st) == 0) ::fchmod(tmp, st.st_mode & 07777);
      m_outFd = tmp;
      m_tempName = QFile::decodeName(tmpl);
    } else if (::ftruncate(m_lockFd, 0) == 0) {
      m_outFd = m_lockFd;  // no temporary file can be made there: write in place
    } else {
      ::close(m_lockFd);
      m_lockFd = -1;
      throw ioError(5, m_fileName);
    }
  } else {
    m_outFd = m_lockFd;
  }
  m_mode = mode;
}

void TextFile::readAll() {
  QFile f;
  if (!f.open(m_lockFd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
    throw ioError(5, m_fileName);
  m_data = f.readAll();
  if (m_data.startsWith("\xEF\xBB\xBF")) {
    m_pos = 3;
    m_utf8 = true;
    m_utf8Mark = true;
  }
}

void TextFile::Close() {
  if (m_mode == Mode::Closed) return;
  bool ok = true;
  if (m_mode != Mode::Reset) {
    try {
      flushOut();
    } catch (const EInOutError&) {
      ok = false;
    }
  }
  if (ok && !m_tempName.isEmpty()) {
    ok = ::fsync(m_outFd) == 0 &&
         ::rename(QFile::encodeName(m_tempName).constData(),
                  QFile::encodeName(m_fileName).constData()) == 0;
    if (ok) m_tempName.clear();
  }
  discardTemp();
  if (m_lockFd >= 0) ::close(m_lockFd);
  m_lockFd = -1;
  m_mode = Mode::Closed;
  m_data.clear();
  if (!ok) throw ioError(101, m_fileName);
}

bool TextFile::Eof() const { return m_mode != Mode::Reset || m_pos >= m_data.size(); }

QString TextFile::ReadLine() {
  const QByteArray line = ReadRawLine();
  return m_utf8 ? QString::fromUtf8(line) : ToUnicode(line, m_cp);
}

QByteArray TextFile::ReadRawLine() {
  if (m_mode != Mode::Reset) throw ioError(104, m_fileName);  // file not open for input
  if (m_pos >= m_data.size()) return {};
  qsizetype end = m_pos;
  while (end < m_data.size() && m_data[end] != '\n' && m_data[end] != '\r') ++end;
  const QByteArray line = m_data.mid(m_pos, end - m_pos);
  // CR LF, LF, CR alone (old Mac editors) and CR CR LF (a CR LF written in text mode once
  // more) each end one line.
  qsizetype next = end;
  if (next < m_data.size() && m_data[next] == '\r') {
    ++next;
    if (next + 1 < m_data.size() && m_data[next] == '\r' && m_data[next + 1] == '\n') ++next;
  }
  if (next < m_data.size() && m_data[next] == '\n') ++next;
  if (m_lineEnd.isEmpty() && next > end) m_lineEnd = m_data.mid(end, next - end);
  m_pos = next;
  return line;
}

void TextFile::writeRaw(const QByteArray& bytes) {
  if (m_mode != Mode::Rewrite && m_mode != Mode::Append)
    throw ioError(105, m_fileName);  // file not open for output
  m_out += bytes;
  // Appended lines reach the file at once; a rewrite is written in larger pieces.
  if (m_mode == Mode::Append || m_out.size() >= 65536) flushOut();
}

void TextFile::flushOut() {
  qsizetype done = 0;
  while (done < m_out.size()) {
    ssize_t n = ::write(m_outFd, m_out.constData() + done, size_t(m_out.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      m_out.clear();
      throw ioError(101, m_fileName);  // disk write error
    }
    done += n;
  }
  m_out.clear();
}

void TextFile::Write(const QString& text) { writeRaw(FromUnicode(text, m_cp)); }

void TextFile::WriteLine(const QString& line) { writeRaw(FromUnicode(line, m_cp) + "\r\n"); }

void TextFile::WriteBytes(const QByteArray& bytes) { writeRaw(bytes); }

void SaveStringsToFile(const QStringList& list, const QString& fileName, CodePage cp) {
  TextFile f(fileName, cp);
  f.Rewrite();
  QByteArray all;
  for (const QString& line : list) all += FromUnicode(line, cp) + "\r\n";
  f.WriteBytes(all);
  f.Close();
}

void LoadStringsFromFile(QStringList& list, const QString& fileName, CodePage cp) {
  list.clear();
  if (!QFileInfo::exists(fileName)) return;
  TextFile f(fileName, cp);
  f.Reset();
  while (!f.Eof()) list << f.ReadLine();
  f.Close();
}
