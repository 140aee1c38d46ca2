#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "progress_details.h"
#include "zip_events.h"
#include "zip_messages.h"
#include "zip_types.h"

// The state and the reporting of the zip engine: settings copied from the component, the
// error code and success count of the last operation, the open archive's directory.
class TZipBase {
 public:
  TZipBase(QObject* sender, TZipEvents* events);
  virtual ~TZipBase() = default;

  TZipProperties Props;  // copied from the component at the start of each operation

  // The text of id (or the fallback naming it) with extra appended: becomes the last message
  // and the error code, a box unless Unattended (or without ErrorBoxes), then OnMessage.
  void ShowZipMessage(int id, const QString& extra = {});
  // A caught error, the same way; the box only when its display flag is set. An error raised
  // with a plain text carries no id: generalId stands in for it, so it still counts as one.
  void ShowExceptionError(const EZipArchiver& e, int generalId = 0);
  // A message with code 0 (progress, "Loaded ").
  void ReportMessage(int code, const QString& text);
  void ReportProgress(TProgressType kind, const QString& name, int64_t size);

  void StartWaitCursor();
  void StopWaitCursor();

  // A new temporary file in TempDir or the system's directory.
  QString MakeTempFileName(const QString& prefix = QStringLiteral("zip"),
                           const QString& extension = QStringLiteral(".zip"));

  int ErrCode() const { return m_errCode; }
  int SuccessCnt() const { return m_successCnt; }
  const QString& Message() const { return m_message; }
  bool Cancel() const { return m_cancel; }
  const TProgressDetails& ProgressDetails() const { return m_details; }
  QObject* Sender() const { return m_sender; }
  TZipEvents& Events() { return *m_events; }

 protected:
  QObject* m_sender;
  TZipEvents* m_events;
  bool m_busy = false;
  bool m_reentry = false;
  int m_errCode = 0;
  int m_successCnt = 0;
  QString m_message;
  bool m_cancel = false;
  int m_cursorCount = 0;
  TProgressDetails m_details;
};
