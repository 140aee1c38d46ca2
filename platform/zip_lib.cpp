#include "zip_lib.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <atomic>
#include <cstring>
#include <vector>

#include "zip_directory.h"

namespace {

std::atomic<bool> g_zipAbort{false}, g_unzAbort{false};
std::atomic<bool> g_zipBusy{false}, g_unzBusy{false};

QString FromC(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

// Sends callbacks; remembers when the caller asked to cancel.
class Reporter {
 public:
  Reporter(ZipCallbackFunc cb, void* handle, void* caller, int32_t version, bool zip,
           std::atomic<bool>& abort)
      : m_cb(cb), m_abort(abort) {
    std::memset(&m_rec, 0, sizeof m_rec);
    m_rec.Handle = handle;
    m_rec.Caller = caller;
    m_rec.Version = version;
    m_rec.IsOperationZip = zip ? -1 : 0;
  }

  ZipCallbackStruct& Send(int32_t action, int32_t code, int64_t size, const QByteArray& text,
                          int32_t count = 0) {
    m_rec.ActionCode = action;
    m_rec.ErrorCode = code;
    m_rec.FileSize = size;
    m_rec.Count = count;
    std::memset(m_rec.FileNameOrMsg, 0, sizeof m_rec.FileNameOrMsg);
    m_text = text;
    if (text.size() < qsizetype(sizeof m_rec.FileNameOrMsg) && text.size() >= 4) {
      std::memcpy(m_rec.FileNameOrMsg, text.constData(), text.size());
      m_rec.MsgPtr = nullptr;
    } else {
      m_rec.MsgPtr = m_text.constData();
    }
    if (m_cb && m_cb(&m_rec) != 0) m_cancelled = true;
    return m_rec;
  }
  void Message(int32_t code, const QString& text) { Send(zacMessage, code, 0, text.toUtf8()); }
  // An error whose text is the message id's text, a blank and the name.
  void Error(int32_t id, const QString& lead, const QString& name) {
    QByteArray text = (lead + name + ".").toUtf8();
    int pos = lead.toUtf8().size() + 1;
    Send(zacMessage | (qMin(pos, 255) << 8) | (id << 16), id, 0, text);
  }
  bool Cancelled() const { return m_cancelled || m_abort; }

 private:
  ZipCallbackFunc m_cb;
  std::atomic<bool>& m_abort;
  ZipCallbackStruct m_rec;
  QByteArray m_text;
  bool m_cancelled = false;
};

QRegularExpression Wildcard(const QString& pattern) {
  return QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                pattern, QRegularExpression::UnanchoredWildcardConversion)
                                .prepend("^")
                                .append("$"),
                            QRegularExpression::CaseInsensitiveOption);
}

bool MatchesAny(const QList<QRegularExpression>& patterns, const QString& text) {
  for (const QRegularExpression& re : patterns)
    if (re.match(text).hasMatch()) return true;
  return false;
}

QDateTime DosToDateTime(uint16_t date, uint16_t time) {
  QDate d((date >> 9) + 1980, (date >> 5) & 15, date & 31);
  QTime t(time >> 11, (time >> 5) & 63, (time & 31) * 2);
  if (!d.isValid()) d = QDate(1980, 1, 1);
  if (!t.isValid()) t = QTime(0, 0);
  return QDateTime(d, t);
}

// ---------------------------------------------------------------- compressor

struct Source {
  QString path;
  QString name;  // stored name, "/" separators
  bool dir = false;
  QByteArray password;
  QDateTime mtime;
};

// A DOS 8.3 upper-case name, per path component.
QString DosName(const QString& name) {
  QStringList parts = name.split('/');
  for (QString& part : parts) {
    if (part.isEmpty()) continue;
    qsizetype dot = part.lastIndexOf('.');
    QString base = dot > 0 ? part.left(dot) : part;
    QString ext = dot > 0 ? part.mid(dot + 1) : QString();
    base.remove('.');
    part = base.left(8).toUpper() + (ext.isEmpty() ? QString() : "." + ext.left(3).toUpper());
  }
  return parts.join('/');
}

}  // namespace

void DeleteMovedSources(const QStringList& sources, bool toTrash) {
  for (const QString& path : sources) {
    if (path.endsWith('/')) {
      QDir().rmdir(path.chopped(1));
    } else if (toTrash ? !QFile::moveToTrash(path) : !QFile::remove(path)) {
      QFile::remove(path);
    }
  }
}

namespace {

class ZipJob {
 public:
  ZipJob(ZipLibParams* p, Reporter& r) : m_p(p), m_r(r) {}

  int32_t Run() {
    QString zipName = FromC(m_p->PZipFN);
    if (zipName.isEmpty()) {
      m_r.Error(10102, "", "");
      return 0;
    }
    m_root = FromC(m_p->PRootDir);
    if (m_root.isEmpty()) m_root = QDir::currentPath();
    m_root = QDir::cleanPath(QString(m_root).replace('\\', '/'));
    for (const QString& s : FromC(m_p->PSuffix).split(':', Qt::SkipEmptyParts))
      m_storeSuffixes << s.trimmed().toLower();
    for (int i = 0; i < m_p->TotExFileSpecs && m_p->ExFiles; ++i)
      m_exclusions << Wildcard(FromC(m_p->ExFiles[i]).replace('\\', '/'));
    if (m_p->fDate) {
      QByteArray d(m_p->Date, 8);
      m_fromDate = QDate::fromString(QString::fromLatin1(d), "MM dd yy");
      if (m_fromDate.isValid() && m_fromDate.year() < 1980) m_fromDate = m_fromDate.addYears(100);
    }
    m_password = m_p->PZipPassword ? QByteArray(m_p->PZipPassword) : QByteArray();
    if (m_p->fEncrypt && m_password.isEmpty()) {
      ZipCallbackStruct& answer = m_r.Send(zacPassword, 0, 0, zipName.toUtf8(), 1);
      if (answer.ErrorCode == 1)
        m_password = QByteArray(answer.FileNameOrMsg, qstrnlen(answer.FileNameOrMsg, 80));
    }
    for (int i = 0; i < m_p->Argc && m_p->FDs; ++i) Collect(m_p->FDs[i]);
    if (m_r.Cancelled()) return -4;

    if (m_p->fTraceEnabled) m_r.Message(0, "trace: adding to " + zipName);
    int err = 0;
    zip_t* za = zip_open(QFile::encodeName(zipName).constData(), ZIP_CREATE, &err);
    if (!za) {
      m_r.Error(kZipLibErrorOpen, "Cannot open ", zipName);
      return 0;
    }
    zip_register_cancel_callback_with_state(
        za, [](zip_t*, void* ud) -> int { return static_cast<Reporter*>(ud)->Cancelled() ? 1 : 0; },
        nullptr, &m_r);
    zip_register_progress_callback_with_state(
        za, 0.01,
        [](zip_t*, double, void* ud) { static_cast<Reporter*>(ud)->Send(zacTick, 0, 0, {}); },
        nullptr, &m_r);

    bool oem = m_p->fCodePage == 2;
    int32_t added = 0;
    QList<Source> done;
    for (const Source& s : m_sources) {
      if (m_r.Cancelled()) break;
      QByteArray name = ZipEncodeName(s.name, oem);
      zip_flags_t enc = oem ? ZIP_FL_ENC_CP437 : ZIP_FL_ENC_UTF_8;
      zip_int64_t existing = zip_name_locate(za, name.constData(), ZIP_FL_ENC_RAW);
      if ((m_p->fFreshen || m_p->fUpdate) && existing >= 0) {
        zip_stat_t st;
        if (zip_stat_index(za, existing, 0, &st) == 0 && (st.valid & ZIP_STAT_MTIME) &&
            s.mtime.toSecsSinceEpoch() <= qint64(st.mtime) + 1)
          continue;  // the stored one is as new: nothing to do, no error
      } else if (m_p->fFreshen && existing < 0) {
        continue;
      }
      m_r.Send(zacItem, 0, s.dir ? 0 : QFileInfo(s.path).size(), s.name.toUtf8(), added + 1);
      zip_int64_t idx;
      if (s.dir) {
        idx = existing >= 0 ? existing : zip_dir_add(za, name.constData(), enc);
      } else {
        zip_source_t* src = zip_source_file(za, QFile::encodeName(s.path).constData(), 0, -1);
        idx = src ? zip_file_add(za, name.constData(), src, ZIP_FL_OVERWRITE | enc) : -1;
        if (src && idx < 0) zip_source_free(src);
      }
      if (idx < 0) {
        m_r.Error(kZipLibErrorInput, "Cannot add ", s.name);
        continue;
      }
      if (!s.dir) {
        QString suffix = "." + QFileInfo(s.name).suffix().toLower();
        bool store = m_p->fLevel <= 0 || m_storeSuffixes.contains(suffix);
        zip_set_file_compression(za, idx, store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                 store ? 0 : qBound(1, m_p->fLevel, 9));
        if (!s.password.isEmpty())
          zip_file_set_encryption(za, idx, ZIP_EM_TRAD_PKWARE, s.password.constData());
      }
      zip_file_set_mtime(za, idx, time_t(s.mtime.toSecsSinceEpoch()), 0);
      // OEM names are marked as coming from a FAT host, so readers convert them back.
      if (oem) zip_file_set_external_attributes(za, idx, 0, ZIP_OPSYS_DOS, s.dir ? 0x10 : 0x20);
      m_r.Message(0, "  adding: " + s.name);
      if (!s.dir) ++added;
      done << s;
    }
    if (m_r.Cancelled()) {
      zip_discard(za);
      return -4;
    }
    if (zip_close(za) != 0) {
      bool cancelled = zip_error_code_zip(zip_get_error(za)) == ZIP_ER_CANCELLED;
      QString why = QString::fromUtf8(zip_strerror(za));
      zip_discard(za);
      if (cancelled || m_r.Cancelled()) return -4;
      m_r.Error(kZipLibErrorWrite, "Cannot write " + zipName + ": " + why + " ", "");
      return 0;
    }
    if (m_p->fLatestTime) {
      QDateTime latest;
      for (const Source& s : done)
        if (!latest.isValid() || s.mtime > latest) latest = s.mtime;
      QFile f(zipName);
      if (latest.isValid() && f.open(QIODevice::ReadWrite))
        f.setFileTime(latest, QFileDevice::FileModificationTime);
    }
    // The sources go only once the archive stands written.
    if (m_p->fMove) {
      QStringList moved;
      for (const Source& s : done)
        if (!s.dir) moved << s.path;
      for (auto it = done.crbegin(); it != done.crend(); ++it)
        if (it->dir) moved << it->path + "/";
      if (m_p->PMovedSources)
        *static_cast<QStringList*>(m_p->PMovedSources) = moved;
      else
        DeleteMovedSources(moved, m_p->fHowToDelete == -1);
    }
    m_r.Send(zacEndOfBatch, 0, 0, {});
    return added;
  }

 private:
  void Collect(const ZipFileData& fd) {
    QString given = FromC(fd.FileSpec).trimmed().replace('\\', '/');
    if (given.isEmpty()) return;
    QByteArray password = fd.FileSpecPassword ? QByteArray(fd.FileSpecPassword)
                          : m_p->fEncrypt     ? m_password
                                              : QByteArray();
    if (!fd.Encrypt && !fd.FileSpecPassword) password.clear();
    bool recurse = fd.Recurse != 0;
    QString full = QDir::isAbsolutePath(given) ? given : m_root + "/" + given;
    QFileInfo fi(full);
    QString pattern;
    QString dir;
    if (fi.fileName().contains('*') || fi.fileName().contains('?')) {
      dir = fi.path();
      pattern = fi.fileName();
    } else if (fi.isDir()) {
      dir = fi.filePath();
      pattern = "*";
    } else if (fi.isFile()) {
      Add(fi, password, false);
      return;
    } else {
      m_r.Send(zacSkipped, zsrNotFound, 0, given.toUtf8());
      return;
    }
    int before = m_sources.size();
    Walk(QDir::cleanPath(dir), Wildcard(pattern), recurse, password);
    if (m_sources.size() == before) m_r.Send(zacSkipped, zsrNotFound, 0, given.toUtf8());
  }

  void Walk(const QString& dir, const QRegularExpression& pattern, bool recurse,
            const QByteArray& password) {
    QDir::Filters filters = QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks;
    if (m_p->fSystem) filters |= QDir::Hidden | QDir::System;
    const QFileInfoList list = QDir(dir).entryInfoList(filters, QDir::Name);
    for (const QFileInfo& fi : list) {
      if (m_r.Cancelled()) return;
      if (fi.isDir()) {
        if (!recurse) continue;
        if (!m_p->fJunkDir && !m_p->fNoDirEntries) Add(fi, {}, true);
        Walk(fi.filePath(), pattern, recurse, password);
      } else if (pattern.match(fi.fileName()).hasMatch()) {
        Add(fi, password, false);
      }
    }
  }

  void Add(const QFileInfo& fi, const QByteArray& password, bool dir) {
    QString path = QDir::cleanPath(fi.absoluteFilePath());
    QString name;
    if (m_p->fJunkDir) {
      name = fi.fileName();
    } else if (path.startsWith(m_root + "/")) {
      name = path.mid(m_root.size() + 1);
    } else {
      name = path;
      while (name.startsWith('/')) name.remove(0, 1);
    }
    if (m_p->fForce) name = DosName(name);
    if (dir) name += "/";
    if (MatchesAny(m_exclusions, name) || MatchesAny(m_exclusions, fi.fileName())) return;
    QDateTime mtime = fi.lastModified();
    if (!dir && m_fromDate.isValid() && mtime.date() < m_fromDate) return;
    for (const Source& s : m_sources)
      if (s.name == name) return;
    m_sources.append({path, name, dir, password, mtime});
  }

  ZipLibParams* m_p;
  Reporter& m_r;
  QString m_root;
  QStringList m_storeSuffixes;
  QList<QRegularExpression> m_exclusions;
  QDate m_fromDate;
  QByteArray m_password;
  QList<Source> m_sources;
};

// ---------------------------------------------------------------- extractor

// The relative path an entry may be written to, or empty when it leads outside the target:
// absolute names, drive letters and ".." components, with either separator.
QString SafeRelativePath(const QString& name) {
  QString n = QString(name).replace('\\', '/');
  if (n.startsWith('/') || (n.size() >= 2 && n[1] == ':')) return {};
  QStringList out;
  for (const QString& part : n.split('/', Qt::SkipEmptyParts)) {
    if (part == "..") return {};
    if (part != ".") out << part;
  }
  return out.join('/');
}

bool IsSpecialEntry(const ZipCentralEntry& e) {
  if ((e.VersionMadeBy >> 8) != ZIP_OPSYS_UNIX) return false;
  uint32_t type = (e.ExtFileAttrib >> 16) & S_IFMT;
  return type != 0 && type != S_IFREG && type != S_IFDIR;
}

// Creates the directories of rel below base without following a symbolic link; false when a
// component is a link or not a directory.
bool MakeDirsNoFollow(const QString& base, const QStringList& parts) {
  QString path = base;
  for (const QString& part : parts) {
    path += "/" + part;
    struct stat st;
    QByteArray p = QFile::encodeName(path);
    if (lstat(p.constData(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return false;
    } else if (mkdir(p.constData(), 0777) != 0) {
      return false;
    }
  }
  return true;
}

class UnzJob {
 public:
  UnzJob(UnzLibParams* p, Reporter& r) : m_p(p), m_r(r) {}

  int32_t Run() {
    QString zipName = FromC(m_p->PZipFN);
    if (m_p->fTraceEnabled) m_r.Message(0, "trace: reading " + zipName);
    ZipDirectory dir;
    int rc = ReadZipDirectory(zipName, dir);
    if (rc) {
      m_r.Error(rc, "", zipName);
      return 0;
    }
    int err = 0;
    zip_t* za = zip_open(QFile::encodeName(zipName).constData(), ZIP_RDONLY, &err);
    if (!za) {
      m_r.Error(kZipLibErrorOpen, "Cannot open ", zipName);
      return 0;
    }
    int32_t result = Entries(za, dir);
    zip_discard(za);
    return result;
  }

 private:
  int32_t Entries(zip_t* za, const ZipDirectory& dir) {
    if (zip_get_num_entries(za, 0) != dir.Entries.size()) {
      m_r.Error(10203, "", FromC(m_p->PZipFN));
      return 0;
    }
    QList<QRegularExpression> specs;
    for (int i = 0; i < m_p->Argc && m_p->FDs; ++i)
      specs << Wildcard(FromC(m_p->FDs[i].FileSpec).replace('\\', '/'));
    m_base = FromC(m_p->PExtractDir);
    if (m_base.isEmpty()) m_base = QDir::currentPath();
    m_base = QDir::cleanPath(QString(m_base).replace('\\', '/'));
    m_password = m_p->PZipPassword ? QByteArray(m_p->PZipPassword) : QByteArray();
    m_prompts = qBound(0, m_p->fPwdReqCount, 15);

    int64_t total = 0;
    for (const ZipCentralEntry& e : dir.Entries) total += e.UncomprSize;
    m_r.Send(zacCount, dir.Entries.size(), 0, {});
    m_r.Send(zacSize, 0, total, {});
    int32_t ok = 0, errors = 0;
    for (int i = 0; i < dir.Entries.size(); ++i) {
      if (m_r.Cancelled()) return -4;
      const ZipCentralEntry& e = dir.Entries[i];
      QByteArray raw = zip_get_name(za, i, ZIP_FL_ENC_RAW);
      if (raw != e.FileName) {
        m_r.Error(10203, "", FromC(m_p->PZipFN));
        return 0;
      }
      QString name =
          ZipDecodeText(e.FileName, e.Flag & 0x800, ZipNameIsOem(e.VersionMadeBy, false, true));
      QString unixName = QString(name).replace('\\', '/');
      if (!specs.isEmpty() && !MatchesAny(specs, unixName)) continue;
      m_r.Send(zacItem, 0, e.UncomprSize, name.toUtf8(), i + 1);
      int r = m_p->fTest ? Test(za, i, e, name) : Extract(za, i, e, name);
      if (r > 0) ++ok;
      if (r <= 0) ++errors;  // skipped entries count against a clean test too
      if (r == -4) return -4;
    }
    m_r.Send(zacEndOfBatch, 0, 0, {});
    if (m_p->fTest && errors == 0) m_r.Message(0, "No Errors");
    return ok;
  }

  // Opens entry i, asking for passwords while prompts remain. nullptr with the entry skipped
  // or its error reported.
  zip_file_t* Open(zip_t* za, int i, const ZipCentralEntry& e, const QString& name, int& result) {
    result = -1;
    if (!(e.Flag & 1)) {
      zip_file_t* f = zip_fopen_index(za, i, 0);
      if (!f) ReportOpenError(za, name, result);
      return f;
    }
    for (;;) {
      if (!m_password.isEmpty()) {
        zip_file_t* f = zip_fopen_index_encrypted(za, i, 0, m_password.constData());
        if (f) return f;
        int code = zip_error_code_zip(zip_get_error(za));
        if (code != ZIP_ER_WRONGPASSWD && code != ZIP_ER_NOPASSWD) {
          ReportOpenError(za, name, result);
          return nullptr;
        }
      }
      if (m_prompts <= 0) break;
      --m_prompts;
      ZipCallbackStruct& answer = m_r.Send(zacPassword, 0, 0, name.toUtf8(), m_prompts);
      if (m_r.Cancelled()) {
        result = -4;
        return nullptr;
      }
      if (answer.ErrorCode != 1) break;
      m_password = QByteArray(answer.FileNameOrMsg, qstrnlen(answer.FileNameOrMsg, 80));
      m_prompts = qBound(0, answer.Count, 15);
      if (m_password.isEmpty()) break;
    }
    m_r.Send(zacSkipped, zsrPassword, 0, name.toUtf8());
    result = 0;
    return nullptr;
  }

  void ReportOpenError(zip_t* za, const QString& name, int& result) {
    int code = zip_error_code_zip(zip_get_error(za));
    if (code == ZIP_ER_COMPNOTSUPP || code == ZIP_ER_ENCRNOTSUPP)
      m_r.Error(10206, "Unsupported method: ", name);
    else
      m_r.Error(kZipLibErrorRead, QString::fromUtf8(zip_strerror(za)) + ": ", name);
    result = -1;
  }

  // Reads the entry to its end through sink; libzip checks the sizes and the CRC.
  template <typename Sink>
  int Pump(zip_t* za, int i, const ZipCentralEntry& e, const QString& name, Sink sink) {
    int result = 0;
    zip_file_t* f = Open(za, i, e, name, result);
    if (!f) return result;
    std::vector<char> buf(1 << 16);
    int64_t done = 0;
    for (;;) {
      zip_int64_t n = zip_fread(f, buf.data(), buf.size());
      if (n < 0) {
        QString why = QString::fromUtf8(zip_file_strerror(f));
        zip_fclose(f);
        m_r.Error(kZipLibErrorRead, why + ": ", name);
        return -1;
      }
      if (n == 0) break;
      done += n;
      // An entry that gives more than its directory declares stops here: what was checked
      // against the free space is all that is ever written.
      if (done > int64_t(e.UncomprSize)) {
        zip_fclose(f);
        m_r.Error(kZipLibErrorRead, "Larger than declared: ", name);
        return -1;
      }
      if (!sink(buf.data(), n)) {
        zip_fclose(f);
        m_r.Error(kZipLibErrorWrite, "", name);
        return -1;
      }
      m_r.Send(zacProgress, 0, n, {}, i + 1);
      if (m_r.Cancelled()) {
        zip_fclose(f);
        return -4;
      }
    }
    zip_fclose(f);
    return 1;
  }

  int Test(zip_t* za, int i, const ZipCentralEntry& e, const QString& name) {
    if (name.endsWith('/') || name.endsWith('\\')) {
      m_r.Message(0, "Tested file " + name);
      return 1;
    }
    int r = Pump(za, i, e, name, [](const char*, qint64) { return true; });
    if (r > 0) m_r.Message(0, "Tested file " + name);
    return r;
  }

  int Extract(zip_t* za, int i, const ZipCentralEntry& e, const QString& name) {
    ZipCallbackStruct& ext = m_r.Send(zacExtName, 0, 0, name.toUtf8());
    QString target = name;
    if (ext.ErrorCode == 1)
      target = QString::fromUtf8(ext.FileNameOrMsg, qstrnlen(ext.FileNameOrMsg, 511));
    QString rel = SafeRelativePath(target);
    if (rel.isEmpty() || IsSpecialEntry(e)) {
      m_r.Send(zacSkipped, rel.isEmpty() ? zsrUnsafePath : zsrSpecial, 0, name.toUtf8());
      return 0;
    }
    bool isDir = target.endsWith('/') || target.endsWith('\\');
    QStringList parts = rel.split('/');
    if (!m_p->fDirectories) {
      if (isDir) return 1;  // nothing to write without directories
      parts = QStringList{parts.last()};
    }
    QStringList dirs = isDir ? parts : parts.mid(0, parts.size() - 1);
    if (!MakeDirsNoFollow(m_base, dirs)) {
      m_r.Send(zacSkipped, zsrUnsafePath, 0, name.toUtf8());
      return 0;
    }
    if (isDir) return 1;
    QString path = m_base + "/" + parts.join('/');
    QByteArray p = QFile::encodeName(path);
    struct stat st;
    bool exists = lstat(p.constData(), &st) == 0;
    QDateTime entryTime = DosToDateTime(e.ModifDate, e.ModifTime);
    if (exists && S_ISDIR(st.st_mode)) {
      m_r.Send(zacSkipped, zsrExists, 0, name.toUtf8());
      return 0;
    }
    if (exists && (m_p->fUpdate || m_p->fFreshen)) {
      if (entryTime.toSecsSinceEpoch() <= qint64(st.st_mtime) + 1) return 0;
    } else if (exists && !m_p->fOverwrite) {
      m_r.Send(zacSkipped, zsrExists, 0, name.toUtf8());
      return 0;
    } else if (!exists && m_p->fFreshen && !m_p->fUpdate) {
      return 0;
    }
    // A new file beside the target, renamed over it: a link in its place is replaced, not
    // followed, and a failed extraction leaves the old file.
    QSaveFile out(path);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly)) {
      m_r.Error(kZipLibErrorCreate, "", name);
      return -1;
    }
    int r = Pump(za, i, e, name,
                 [&out](const char* data, qint64 n) { return out.write(data, n) == n; });
    if (r <= 0) {
      out.cancelWriting();
      return r;
    }
    if (!out.commit()) {
      m_r.Error(kZipLibErrorWrite, "", name);
      return -1;
    }
    QFile done(path);
    if (done.open(QIODevice::ReadWrite))
      done.setFileTime(entryTime, QFileDevice::FileModificationTime);
    m_r.Message(0, "Unzipped " + name);
    return 1;
  }

  UnzLibParams* m_p;
  Reporter& m_r;
  QString m_base;
  QByteArray m_password;
  int m_prompts = 0;
};

// Runs one operation: a null record asks the running one to abort; a second call while one
// runs is refused.
template <typename Params, typename Job>
int32_t Exec(Params* p, std::atomic<bool>& busy, std::atomic<bool>& abort, bool zip) {
  if (!p) {
    if (busy) abort = true;
    return 0;
  }
  if (p->fCheck != kZipRecordCheck || !p->Callback) return -6;
  if (busy.exchange(true)) return -3;
  abort = false;
  Reporter r(p->Callback, p->Handle, p->Caller, kZipLibVersion, zip, abort);
  int32_t result;
  try {
    Job job(p, r);
    result = job.Run();
  } catch (const std::bad_alloc&) {
    result = -5;
  } catch (...) {
    result = -8;
  }
  if (result >= 0 && abort) result = -2;
  busy = false;
  return result;
}

}  // namespace

extern "C" {

int32_t ZipLibExec(ZipLibParams* params) {
  return Exec<ZipLibParams, ZipJob>(params, g_zipBusy, g_zipAbort, true);
}
int32_t GetZipLibVersion() { return kZipLibVersion; }
int32_t GetZipLibPrivVersion() { return kZipLibPrivVersion; }

int32_t UnzLibExec(UnzLibParams* params) {
  return Exec<UnzLibParams, UnzJob>(params, g_unzBusy, g_unzAbort, false);
}
int32_t GetUnzLibVersion() { return kZipLibVersion; }
int32_t GetUnzLibPrivVersion() { return kZipLibPrivVersion; }
}
