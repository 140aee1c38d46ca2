#include "zip_base.h"

#include <QDir>
#include <QTemporaryFile>

#include "ui_services.h"
#include "zip_utils.h"

TZipBase::TZipBase(QObject* sender, TZipEvents* events) : m_sender(sender), m_events(events) {}

void TZipBase::ShowZipMessage(int id, const QString& extra) {
  QString text = ZipLoadStr(id);
  if (text.isEmpty())
    text = ZipFormat(
        "the message table is probably not linked to the executable\nMissing "
        "String ID is: %d ",
        {id});
  text += extra;
  m_message = text;
  m_errCode = id;
  if (!Props.Unattended && Props.ErrorBoxes)
    Ui().MessageBox(text, QString(), MsgType::Information, mbOK, mbOK);
  if (m_events->OnMessage) m_events->OnMessage(m_sender, id, text);
}

void TZipBase::ShowExceptionError(const EZipArchiver& e, int generalId) {
  const int id = e.ResId() != 0 ? e.ResId() : generalId;
  m_message = e.Message();
  m_errCode = id;
  if (e.DisplayMsg() && !Props.Unattended && Props.ErrorBoxes)
    Ui().MessageBox(e.Message(), QString(), MsgType::Information, mbOK, mbOK);
  if (m_events->OnMessage) m_events->OnMessage(m_sender, id, e.Message());
}

void TZipBase::ReportMessage(int code, const QString& text) {
  if (code != 0) {
    m_errCode = code;
    m_message = text;
  }
  if (m_events->OnMessage) m_events->OnMessage(m_sender, code, text);
}

void TZipBase::ReportProgress(TProgressType kind, const QString& name, int64_t size) {
  TZipEvents& ev = *m_events;
  m_details.Advance(kind, size, name);
  if (ev.OnProgress) ev.OnProgress(m_sender, kind, name, size);
  switch (kind) {
    case NewFile:
      if (ev.OnProgressDetails) ev.OnProgressDetails(m_sender, m_details);
      if (ev.OnItemProgress) ev.OnItemProgress(m_sender, name, size, 0);
      break;
    case ProgressUpdate:
      if (ev.OnProgressDetails) ev.OnProgressDetails(m_sender, m_details);
      if (ev.OnItemProgress)
        ev.OnItemProgress(m_sender, m_details.ItemName(), m_details.ItemSize(),
                          m_details.ItemPerCent());
      if (ev.OnTotalProgress)
        ev.OnTotalProgress(m_sender, m_details.TotalSize(), m_details.TotalPerCent());
      break;
    case EndOfBatch:
      if (ev.OnItemProgress) ev.OnItemProgress(m_sender, name, 0, 101);
      if (ev.OnTotalProgress) ev.OnTotalProgress(m_sender, m_details.TotalSize(), 101);
      break;
    default:
      if (ev.OnProgressDetails) ev.OnProgressDetails(m_sender, m_details);
      break;
  }
}

void TZipBase::StartWaitCursor() {
  if (m_cursorCount++ == 0) Ui().BusyCursor(true);
}

void TZipBase::StopWaitCursor() {
  if (m_cursorCount > 0 && --m_cursorCount == 0) Ui().BusyCursor(false);
}

QString TZipBase::MakeTempFileName(const QString& prefix, const QString& extension) {
  QString dir = Props.TempDir.isEmpty() ? QDir::tempPath() : ZipLocalPath(Props.TempDir);
  QTemporaryFile file(dir + "/" + prefix + "XXXXXX" + extension);
  file.setAutoRemove(false);
  if (!file.open()) return {};
  return file.fileName();
}
