#include "z_archiver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <list>
#include <vector>

#include "codepage.h"
#include "password_dlg.h"
#include "zip_directory.h"
#include "zip_sfx.h"
#include "zip_span.h"
#include "zip_utils.h"

namespace {

int32_t EngineCallback(ZipCallbackStruct* rec) {
  auto* engine = static_cast<TZArchiver*>(rec->Caller);
  return engine ? engine->Callback(rec) : 0;
}

const char* const kSuffixes[] = {"gif", "png", "z",   "zip", "zoo", "arc", "lzh",  "arj", "taz",
                                 "tgz", "lha", "rar", "ace", "cab", "gz",  "gzip", "jar", "exe"};

int32_t Flag(bool on) { return on ? -1 : 0; }

// Texts handed to the libraries stay alive for the whole call.
class TextPool {
 public:
  const char* Add(const QByteArray& text) {
    m_texts.push_back(text);
    return m_texts.back().constData();
  }
  const char* AddOrNull(const QString& text) {
    return text.isEmpty() ? nullptr : Add(text.toUtf8());
  }

 private:
  std::list<QByteArray> m_texts;
};

bool IsExe(const QString& name) { return name.endsWith(".exe", Qt::CaseInsensitive); }

// The error code of a failure that brings no message id of its own (a text raised as it is, a
// set operation that failed without one): the compressor's and the extractor's general error, so
// that Add and Extract never answer 0 after a failure.
constexpr int kAddFailed = 10101;
constexpr int kExtractFailed = 10501;

}  // namespace

TZArchiver::TZArchiver(QObject* sender, TZipEvents* events)
    : TZipBase(sender, events), m_zipLib(this), m_unzLib(this) {
  SpanWriter = [this](const QString& in, const QString& out, bool useX) {
    return TZipSpan(*this).WriteSpan(in, out, useX);
  };
  SpanReader = [this](const QString& in, QString& out, bool useX) {
    return TZipSpan(*this).ReadSpan(in, out, useX);
  };
}

TZArchiver::~TZArchiver() {
  m_destroying = true;
  AbortDlls();
  ClearDirectory();
}

void TZArchiver::SetActive(bool active) {
  if (active == m_active) return;
  m_active = active;
  if (!active) return;
  if (!m_zipFileName.isEmpty()) List();
  if (m_commentPending) SetZipComment(m_pendingComment);
}

void TZArchiver::SetZipFileName(const QString& name) {
  m_zipFileName = name;
  if (m_active) List();
}

void TZArchiver::Reentered() {
  m_reentry = true;
  if (Props.Verbose) ReportMessage(0, QStringLiteral("Re-entry"));
}

void TZArchiver::ClearDirectory() {
  while (!m_dir.isEmpty()) m_dir.removeLast();
  m_zipComment.clear();
  m_zipCommentRaw.clear();
  m_eocPosition = -1;
  m_lastDiskNo = 0;
}

QString TZArchiver::ConvertName(const QByteArray& raw, uint16_t flag,
                                uint16_t versionMadeBy) const {
  bool oem = ZipNameIsOem(versionMadeBy, Props.CodePage == cpOEM, Props.CodePage == cpAuto);
  return ZipDecodeText(raw, flag & 0x800, oem);
}

void TZArchiver::ReadExact(QIODevice& file, char* buffer, qint64 size, int id) {
  if (file.read(buffer, size) != size) throw EZipArchiver::CreateResDisp(id, true);
}

bool TZArchiver::List() {
  ClearDirectory();
  if (m_zipFileName.isEmpty()) return false;
  QString path = ZipLocalPath(m_zipFileName);
  // The backup names its archive before making it: a missing file is an empty directory.
  if (!QFileInfo::exists(path)) return false;
  StartWaitCursor();
  bool ok = false;
  try {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw EZipArchiver::CreateResDisp(11002, true);
    ZipDirectory dir;
    int rc = ReadZipEndRecord(file, dir);
    if (rc == 10205 && Props.Verbose)
      ReportMessage(
          0, QStringLiteral("Opening EOC seek/size error %1Mb").arg(dir.FileSize / (1024 * 1024)));
    if (rc) throw EZipArchiver::CreateResDisp(rc, true);
    if (dir.GarbageWarning) ShowZipMessage(10204);
    m_eocPosition = dir.EocPosition;
    m_lastDiskNo = dir.Eoc.ThisDiskNo;
    m_zipCommentRaw = dir.ZipComment;
    m_zipComment = ZipDecodeText(dir.ZipComment, false, Props.CodePage != cpNone);
    if (dir.StructureWarning) ShowZipMessage(10203);
    ReportProgress(NewExtra, ZipExtraStepCaption(9, {}), 0);
    // A spanned set's directory lies on its parts: read when the set is joined.
    rc = m_lastDiskNo != 0 ? 0 : ReadZipCentralDirectory(file, dir);
    for (const ZipCentralEntry& c : dir.Entries) {
      ZipDirEntry e;
      static_cast<ZipCentralHeader&>(e) = c;
      e.FileName = SetSlash(ConvertName(c.FileName, c.Flag, c.VersionMadeBy), false);
      e.FileComment = ConvertName(c.FileComment, c.Flag, c.VersionMadeBy);
      e.Encrypted = c.Flag & 1;
      e.ExtraData = c.ExtraData;
      m_dir.append(e);
      if (m_events->OnNewName) m_events->OnNewName(m_sender, int(m_dir.size()), m_dir.last());
    }
    if (rc) throw EZipArchiver::CreateResDisp(rc, true);
    ok = true;
  } catch (const EZipArchiver& e) {
    ShowExceptionError(e);
  } catch (const std::bad_alloc&) {
    ShowZipMessage(10103);
  }
  StopWaitCursor();
  if (m_events->OnDirUpdate) m_events->OnDirUpdate(m_sender);
  return ok;
}

int TZArchiver::BuildAutoSFX(const QString& zipName, const QString& exeName) {
  if (!SFXBuilder) throw EZipArchiver::CreateResDisp(10804, true);
  SFXBuilder(zipName, exeName);
  return 0;
}

bool TZArchiver::StartOperation(TZipLibLoader& lib) {
  try {
    lib.LoadLib(TZipLibLoader::hoOperation, 177);
  } catch (const EZipArchiver& e) {
    ShowExceptionError(e);
    return false;
  }
  m_busy = true;
  StartWaitCursor();
  return true;
}

void TZArchiver::EndOperation(TZipLibLoader& lib) {
  StopWaitCursor();
  lib.ReleaseLib(TZipLibLoader::hoOperation);
  m_busy = false;
}

int TZArchiver::Add() {
  if (m_busy) {
    Reentered();
    return -255;
  }
  m_reentry = false;
  m_errCode = 0;
  m_message.clear();
  m_cancel = false;
  m_details.Clear();
  int r = DoAdd();
  Props.FSpecArgs.clear();
  Props.FSpecArgsExcl.clear();
  return r;
}

int TZArchiver::DoAdd() {
  m_successCnt = 0;
  const AddOpts& o = Props.AddOptions;
  QStringList specs = Props.FSpecArgs;
  bool freshen = o.Contains(AddFreshen), update = o.Contains(AddUpdate);
  bool span = o.Contains(AddDiskSpan) || o.Contains(AddDiskSpanErase);
  if (specs.isEmpty()) {
    if (!freshen && !update) {
      ShowZipMessage(10301);
      return m_errCode;
    }
    specs << QStringLiteral("*.*");
    freshen = true;
  }
  if (m_zipFileName.isEmpty()) {
    ShowZipMessage(10102);
    return m_errCode;
  }
  if (Props.Unattended && o.Contains(AddEncrypt) && Props.Password.isEmpty()) {
    ShowZipMessage(10302);
    return m_errCode;
  }
  if (span && (freshen || update)) {
    ShowZipMessage(10303);
    return m_errCode;
  }
  if (span && IsExe(m_zipFileName)) {
    ShowZipMessage(11041);
    return m_errCode;
  }
  QString archive = ZipLocalPath(m_zipFileName);
  try {
    if (IsExe(m_zipFileName) && !QFileInfo::exists(archive))
      BuildAutoSFX(m_zipFileName, m_zipFileName);
    if (span && !SpanWriter) throw EZipArchiver::CreateResDisp(11048, true);
  } catch (const EZipArchiver& e) {
    ShowExceptionError(e, kAddFailed);
    return m_errCode;
  }
  // The compressor writes archives from their first byte: a self-extractor's archive is zipped
  // bare and put back behind its stub afterwards.
  std::unique_ptr<TSFXArchiveSplit> sfxSplit;
  if (IsExe(m_zipFileName) && QFileInfo::exists(archive)) {
    try {
      sfxSplit = std::make_unique<TSFXArchiveSplit>(archive, MakeTempFileName());
    } catch (const EZipArchiver& e) {
      ShowExceptionError(e, kAddFailed);
      return m_errCode;
    }
    if (sfxSplit->Empty()) sfxSplit.reset();
  }
  if (!StartOperation(m_zipLib)) return m_errCode;
  TextPool texts;
  QString spanTemp;
  ZipLibParams p;
  std::memset(&p, 0, sizeof p);
  std::vector<ZipFileData> fds;
  std::vector<const char*> excl;
  try {
    p.Handle = nullptr;
    p.Caller = this;
    p.Version = 177;
    p.Callback = &EngineCallback;
    p.fTraceEnabled = Flag(Props.Trace);
    p.PZipPassword = texts.AddOrNull(Props.Password.left(80));
    QString suffixes;
    for (int s = assGIF; s <= assEXE; ++s)
      if (Props.AddStoreSuffixes.Contains(AddStoreSuffixEnum(s)))
        suffixes += "." + QString::fromLatin1(kSuffixes[s]) + ":";
    if (Props.AddStoreSuffixes.Contains(assEXT)) suffixes += Props.ExtAddStoreSuffixes;
    if (suffixes.endsWith(':')) suffixes.chop(1);
    p.PSuffix = texts.AddOrNull(suffixes);
    p.fEncrypt = Flag(o.Contains(AddEncrypt));
    p.fSystem = Flag(o.Contains(AddHiddenFiles));
    p.fVolume = Flag(o.Contains(AddVolume));
    p.fExtra = 0;
    p.fNoDirEntries = o.Contains(AddSeparateDirs) ? 0 : -1;
    p.fDate = Flag(o.Contains(AddFromDate));
    p.fVerboseEnabled = Flag(Props.Verbose || Props.Trace);
    p.fQuiet = -1;
    p.fLevel = Props.AddCompLevel;
    p.fJunkDir = o.Contains(AddDirNames) ? 0 : -1;
    p.fRecurse = o.Contains(AddRecurseDirs) ? 0xFFFF : 0;
    p.fGrow = o.Contains(AddSafe) ? 0 : -1;
    p.fForce = Flag(o.Contains(AddForceDOS));
    p.fMove = Flag(o.Contains(AddMove));
    // The sources of a self-extractor or a spanned set go only once that is written.
    QStringList moved;
    if (p.fMove && (sfxSplit || span)) p.PMovedSources = &moved;
    p.fUpdate = Flag(update);
    p.fFreshen = Flag(freshen && !update);
    p.fLatestTime = Flag(o.Contains(AddZipTime));
    QByteArray from =
        Props.AddFrom.toString(QStringLiteral("MM dd yy")).toLatin1().leftJustified(8, ' ', true);
    std::memcpy(p.Date, from.constData(), 8);
    if (span) {
      spanTemp = MakeTempFileName();
      if (spanTemp.isEmpty()) throw EZipArchiver::CreateResDisp(11027, true);
      QFile::remove(spanTemp);  // the compressor makes a new archive there
      if (Props.Verbose && m_events->OnMessage)
        m_events->OnMessage(m_sender, 0, ZipFmtLoadStr(10111, {SetSlash(spanTemp, false)}));
    }
    p.PZipFN = texts.Add((span ? spanTemp : sfxSplit ? sfxSplit->BareArchive() : archive).toUtf8());
    p.PTempDir =
        Props.TempDir.isEmpty() ? nullptr : texts.Add(ZipLocalPath(Props.TempDir).toUtf8());
    p.fArchiveFilesOnly = o.Contains(AddArchiveOnly) ? 1 : 0;
    p.fResetArchiveBit = o.Contains(AddResetArchive) ? 1 : 0;
    p.fHowToDelete = Props.HowToDelete == htdAllowUndo ? -1 : 0;
    p.fCodePage = Props.CodePage == cpOEM ? 2 : 0;
    p.fVersion = 177;
    p.PRootDir =
        Props.RootDir.isEmpty() ? nullptr : texts.Add(ZipLocalPath(Props.RootDir).toUtf8());
    if (!span && o.Contains(AddForceDest)) ForceDirectory(QFileInfo(archive).path());
    if (!span && !QFileInfo(QFileInfo(archive).path()).isDir())
      throw EZipArchiver::CreateResFmt(10308, {SetSlash(QFileInfo(archive).path(), false)});

    fds.resize(specs.size());
    for (int i = 0; i < specs.size(); ++i) {
      ZipFileData& fd = fds[i];
      std::memset(&fd, 0, sizeof fd);
      QString line = specs[i].trimmed();
      fd.Encrypt = p.fEncrypt;
      fd.Recurse = p.fRecurse;
      if (line.startsWith('>')) {
        fd.Recurse = 0xFFFF;
        line = line.mid(1).trimmed();
      } else if (line.startsWith('|')) {
        fd.Recurse = 0;
        line = line.mid(1).trimmed();
      }
      qsizetype lt = line.indexOf('<');
      if (lt >= 0) {
        QString password = line.mid(lt + 1);
        line = line.left(lt).trimmed();
        if (password.trimmed().isEmpty()) {
          fd.Encrypt = 0;
        } else {
          fd.FileSpecPassword = texts.Add(password.left(80).toUtf8());
          fd.Encrypt = 0xFFFF;
        }
      }
      fd.FileSpec = texts.Add(line.toUtf8());
    }
    p.Argc = int32_t(fds.size());
    p.FDs = fds.data();
    for (const QString& e : Props.FSpecArgsExcl) excl.push_back(texts.Add(e.trimmed().toUtf8()));
    p.TotExFileSpecs = int32_t(excl.size());
    p.ExFiles = excl.data();
    p.fCheck = kZipRecordCheck;
    m_message.clear();
    m_successCnt = m_zipLib.Exec(&p);
    if (sfxSplit) sfxSplit->Join();
    if (span && m_successCnt > 0 && SpanWriter(spanTemp, m_zipFileName, true) != 0) {
      m_successCnt = 0;
      if (m_errCode == 0) m_errCode = kAddFailed;
    }
    if (m_successCnt > 0 && !moved.isEmpty()) DeleteMovedSources(moved, p.fHowToDelete == -1);
  } catch (const EZipArchiver& e) {
    ShowExceptionError(e, kAddFailed);
    m_successCnt = 0;
  } catch (const std::bad_alloc&) {
    ShowZipMessage(10103);
  }
  sfxSplit.reset();
  if (!spanTemp.isEmpty()) QFile::remove(spanTemp);
  EndOperation(m_zipLib);
  List();
  return m_errCode;
}

int TZArchiver::Extract() {
  if (m_busy) {
    Reentered();
    return -255;
  }
  m_reentry = false;
  m_cancel = false;
  m_details.Clear();
  int r = DoExtract();
  Props.FSpecArgs.clear();
  Props.FSpecArgsExcl.clear();
  return r;
}

int TZArchiver::DoExtract() {
  m_successCnt = 0;
  m_errCode = 0;
  m_message.clear();
  if (m_zipFileName.isEmpty()) {
    ShowZipMessage(10102);
    return m_errCode;
  }
  // A spanned set is joined into a temporary archive first, and that is extracted.
  QString joined;
  if (m_lastDiskNo == 0 && m_dir.isEmpty()) List();
  if (m_lastDiskNo != 0) {
    if (!SpanReader) {
      ShowZipMessage(11048);
      return m_errCode;
    }
    joined = AddTrailingBackslash(
        SetSlash(Props.TempDir.isEmpty() ? QDir::tempPath() : ZipLocalPath(Props.TempDir), false));
    if (SpanReader(m_zipFileName, joined, true) != 0) {
      if (m_errCode == 0) m_errCode = kExtractFailed;
      return m_errCode;
    }
    // A wrong disk offered on the way was shown and asked again: the set is whole now.
    m_errCode = 0;
    m_message.clear();
  }
  struct Remove {
    QString& name;
    ~Remove() {
      if (!name.isEmpty()) QFile::remove(name);
    }
  } removeJoined{joined};
  if (m_dir.isEmpty() && joined.isEmpty()) {
    List();
    if (m_dir.isEmpty() && m_errCode == 0) {
      ShowZipMessage(11002);
      return m_errCode;
    }
  }
  if (Props.Unattended && Props.Password.isEmpty() && !m_events->OnPasswordError) {
    Props.PasswordReqCount = 0;
    ShowZipMessage(10502);
  }
  if (!StartOperation(m_unzLib)) return m_errCode;
  TextPool texts;
  UnzLibParams p;
  std::memset(&p, 0, sizeof p);
  std::vector<UnzFileData> fds;
  const ExtrOpts& o = Props.ExtrOptions;
  bool test = o.Contains(ExtrTest);
  try {
    p.Handle = nullptr;
    p.Caller = this;
    p.Version = m_unzLib.Version();
    p.Callback = &EngineCallback;
    p.fTraceEnabled = Flag(Props.Trace);
    p.PZipPassword = texts.AddOrNull(Props.Password.left(80));
    p.fTest = Flag(test);
    p.fQuiet = -1;
    p.fVerboseEnabled = Flag(Props.Verbose || Props.Trace);
    p.fUpdate = Flag(o.Contains(ExtrUpdate));
    p.fFreshen = Flag(o.Contains(ExtrFreshen) && !o.Contains(ExtrUpdate));
    p.fDirectories = Flag(o.Contains(ExtrDirNames));
    p.fOverwrite = Flag(o.Contains(ExtrOverWrite));
    const QStringList& specs = Props.FSpecArgs;
    if (!specs.isEmpty() && specs.first().trimmed() != QStringLiteral("*.*")) {
      fds.resize(specs.size());
      for (int i = 0; i < specs.size(); ++i) {
        std::memset(&fds[i], 0, sizeof fds[i]);
        fds[i].FileSpec = texts.Add(specs[i].trimmed().toUtf8());
      }
    }
    p.Argc = int32_t(fds.size());
    p.PZipFN = texts.Add((joined.isEmpty() ? ZipLocalPath(m_zipFileName) : joined).toUtf8());
    p.FDs = fds.empty() ? nullptr : fds.data();
    p.fPwdReqCount = int32_t(qMin(Props.PasswordReqCount, 15u));
    if (!Props.ExtrBaseDir.isEmpty() && !test) {
      if (o.Contains(ExtrForceDirs)) ForceDirectory(Props.ExtrBaseDir);
      if (!DirExists(Props.ExtrBaseDir))
        throw EZipArchiver::CreateResFmt(10504, {Props.ExtrBaseDir});
      p.PExtractDir = texts.Add(ZipLocalPath(Props.ExtrBaseDir).toUtf8());
    }
    p.fCheck = kZipRecordCheck;
    m_successCnt = m_unzLib.Exec(&p);
  } catch (const EZipArchiver& e) {
    ShowExceptionError(e, kExtractFailed);
    m_successCnt = 0;
  } catch (...) {
    ShowZipMessage(10501);
    m_successCnt = 0;
  }
  EndOperation(m_unzLib);
  return m_errCode;
}

QString TZArchiver::CallbackText(const ZipCallbackStruct& rec) {
  QByteArray raw;
  if (rec.FileNameOrMsg[0] || rec.FileNameOrMsg[1] || rec.FileNameOrMsg[2] || rec.FileNameOrMsg[3])
    raw = QByteArray(rec.FileNameOrMsg, qstrnlen(rec.FileNameOrMsg, sizeof rec.FileNameOrMsg));
  else if (rec.MsgPtr)
    raw = QByteArray(rec.MsgPtr);
  QString text = SetSlash(QString::fromUtf8(raw), false);
  int id = int(uint32_t(rec.ActionCode) >> 16);
  QString idText = id ? ZipLoadStr(id) : QString();
  if (idText.isEmpty()) return text;
  int pos = qMax(1, (rec.ActionCode >> 8) & 0xFF);
  return idText + " " + text.mid(pos - 1, qMax<qsizetype>(0, text.size() - pos));
}

void TZArchiver::AfterCallback() {
  if (m_events->OnAfterCallback) {
    bool abort = false;
    m_events->OnAfterCallback(m_sender, abort);
    if (abort) SetCancel(true);
  } else {
    QCoreApplication::processEvents();
  }
}

int32_t TZArchiver::Callback(ZipCallbackStruct* rec) {
  if (m_destroying || !rec) return 0;
  const int action = rec->ActionCode & 63;
  const int code = rec->ErrorCode;
  const int64_t size = rec->FileSize;
  TZipEvents& ev = *m_events;
  auto writeText = [rec](const QString& text) {
    QByteArray bytes = text.toUtf8().left(int(sizeof rec->FileNameOrMsg) - 1);
    std::memset(rec->FileNameOrMsg, 0, sizeof rec->FileNameOrMsg);
    std::memcpy(rec->FileNameOrMsg, bytes.constData(), bytes.size());
  };
  switch (action) {
    case zacTick:
      if (ev.OnTick) ev.OnTick(m_sender);
      break;
    case zacItem:
      ReportProgress(NewFile, CallbackText(*rec), size);
      break;
    case zacProgress:
      ReportProgress(ProgressUpdate, {}, size);
      break;
    case zacEndOfBatch:
      ReportProgress(EndOfBatch, {}, 0);
      break;
    case zacMessage:
      ReportMessage(code, CallbackText(*rec));
      break;
    case zacCount:
      ReportProgress(TotalFiles2Process, {}, code);
      break;
    case zacSize:
      ReportProgress(TotalSize2Process, {}, size);
      break;
    case zacXItem:
      ReportProgress(NewExtra, ZipExtraStepCaption(code, CallbackText(*rec)), size);
      break;
    case zacXProgress:
      ReportProgress(ExtraUpdate, {}, size);
      break;
    case zacNewName: {
      QString name = CallbackText(*rec);
      bool changed = false;
      if (ev.OnSetNewName) ev.OnSetNewName(m_sender, name, changed);
      if (ev.OnSetAddName) ev.OnSetAddName(m_sender, name, CallbackText(*rec), changed);
      if (changed) writeText(SetSlash(name, true));
      rec->ErrorCode = changed ? 1 : 0;
      break;
    }
    case zacPassword: {
      const bool zip = rec->IsOperationZip != 0;
      QString name = CallbackText(*rec);
      QString password;
      unsigned count = unsigned(qBound(0, rec->Count, 15));
      int answer = TPasswordDlg::pwCancel;
      if (ev.OnPasswordError) {
        int act = 0;
        ev.OnPasswordError(m_sender, zip, password, name, count, act);
        answer = act;
      } else {
        password = zip ? GetAddPassword(answer) : GetExtrPassword(answer);
      }
      if (answer == TPasswordDlg::pwOk && !password.isEmpty()) {
        writeText(password.left(80));
        rec->ErrorCode = 1;
        rec->Count = int32_t(qMin(count, 15u));
      } else {
        std::memset(rec->FileNameOrMsg, 0, sizeof rec->FileNameOrMsg);
        rec->ErrorCode = 0;
        rec->Count = answer == TPasswordDlg::pwCancel ? int32_t(qMin(count, 15u)) : 0;
        if (answer == TPasswordDlg::pwOther) SetCancel(true);
      }
      break;
    }
    case zacCRCError: {
      int doExtract = 2;
      if (ev.OnCRC32Error) ev.OnCRC32Error(m_sender, CallbackText(*rec), doExtract);
      rec->ErrorCode = doExtract;
      break;
    }
    case zacOverwrite:
      if (ev.OnExtractOverwrite) {
        bool overwrite = Props.ExtrOptions.Contains(ExtrOverWrite);
        ev.OnExtractOverwrite(m_sender, CallbackText(*rec), overwrite);
        rec->ErrorCode = overwrite ? 1 : 0;
      }
      break;
    case zacSkipped: {
      QString name = CallbackText(*rec);
      if (ev.OnExtractSkipped) {
        ev.OnExtractSkipped(m_sender, name, code, code);
      } else {
        if (code != 0) m_errCode = code;
        QString text = "Skipped " + name + " " + QString::number(code);
        m_message = text;
        if (ev.OnMessage) ev.OnMessage(m_sender, 10125, text);
      }
      break;
    }
    case zacComment: {
      QString comment = CallbackText(*rec);
      bool changed = false;
      if (ev.OnFileComment) ev.OnFileComment(m_sender, CallbackText(*rec), comment, changed);
      if (changed) writeText(comment.left(511));
      rec->ErrorCode = changed ? 1 : 0;
      break;
    }
    case zacData: {
      QByteArray data;
      bool changed = false;
      if (ev.OnFileExtra) ev.OnFileExtra(m_sender, CallbackText(*rec), data, changed);
      rec->ErrorCode = 0;  // extra data are not passed back by these libraries
      break;
    }
    case zacExtName: {
      QString old = CallbackText(*rec);
      QString name = old;
      bool changed = false;
      if (ev.OnSetExtName) ev.OnSetExtName(m_sender, old, name, changed);
      auto endsWithDelimiter = [](const QString& s) { return s.endsWith('\\') || s.endsWith('/'); };
      if (changed && name != old && endsWithDelimiter(name) == endsWithDelimiter(old)) {
        writeText(SetSlash(name, true));
        rec->ErrorCode = 1;
      } else {
        rec->ErrorCode = 0;
      }
      break;
    }
    default:
      break;
  }
  AfterCallback();
  return m_cancel ? 1 : 0;
}

void TZArchiver::SetCancel(bool cancel) {
  if (cancel != m_cancel) m_cancel = cancel;
}

void TZArchiver::AbortDlls() {
  m_zipLib.Abort();
  m_unzLib.Abort();
  SetCancel(true);
}

QString TZArchiver::GetAddPassword(int& answer) {
  QString first, second;
  answer = TPasswordDlg::ShowPasswordDialog(ZipLoadStr(10154), ZipLoadStr(10155), 2, first);
  if (answer != TPasswordDlg::pwOk || first.isEmpty()) return {};
  answer = TPasswordDlg::ShowPasswordDialog(ZipLoadStr(10154), ZipLoadStr(10156), 2, second);
  if (answer != TPasswordDlg::pwOk) return {};
  if (first != second) {
    ShowZipMessage(10104);
    answer = TPasswordDlg::pwCancel;
    return {};
  }
  return first;
}

QString TZArchiver::GetExtrPassword(int& answer) {
  QString password;
  answer = TPasswordDlg::ShowPasswordDialog(ZipLoadStr(10154), ZipLoadStr(10155), 6, password);
  return answer == TPasswordDlg::pwOk ? password : QString();
}

void TZArchiver::SetZipComment(const QString& comment) {
  if (!m_active) {
    m_pendingComment = comment;
    m_commentPending = true;
    return;
  }
  m_commentPending = false;
  QByteArray raw =
      Props.CodePage == cpNone ? comment.toUtf8() : FromUnicode(comment, CodePage::Cp852);
  raw = raw.left(65535);
  if (m_zipFileName.isEmpty() || m_eocPosition < 0 || raw == m_zipCommentRaw) return;
  bool began = false;
  try {
    QFile file(ZipLocalPath(m_zipFileName));
    if (!file.open(QIODevice::ReadWrite)) throw EZipArchiver::CreateResDisp(11002, true);
    if (!file.seek(m_eocPosition)) throw EZipArchiver::CreateResDisp(11008, true);
    char eoc[22];
    if (file.read(eoc, 22) != 22 || std::memcmp(eoc, "PK\5\6", 4) != 0)
      throw EZipArchiver::CreateResDisp(11011, true);
    eoc[20] = char(raw.size() & 0xFF);
    eoc[21] = char(raw.size() >> 8);
    began = true;
    if (!file.seek(m_eocPosition) || file.write(eoc, 22) != 22)
      throw EZipArchiver::CreateResDisp(11030, true);
    if (file.write(raw) != raw.size()) throw EZipArchiver::CreateResDisp(11010, true);
    if (!file.resize(m_eocPosition + 22 + raw.size()))
      throw EZipArchiver::CreateResDisp(11010, true);
    m_zipCommentRaw = raw;
    m_zipComment = comment;
  } catch (const EZipArchiver& e) {
    ShowExceptionError(e);
    if (began) List();
  } catch (const std::bad_alloc&) {
    ShowZipMessage(10103);
  }
}
