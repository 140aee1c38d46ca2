#pragma once

#include <QObject>
#include <memory>

#include "z_archiver.h"
#include "zip_events.h"
#include "zip_types.h"

// The zip component the backup and restore forms use: its settings and events are public
// members; each Add or Extract copies the settings into the engine, runs it and copies the
// file lists back (both empty afterwards).
class TZipArchiver : public QObject, public TZipProperties, public TZipEvents {
  Q_OBJECT
 public:
  explicit TZipArchiver(QObject* owner = nullptr);
  ~TZipArchiver() override;

  bool Active() const { return m_engine->Active(); }
  void SetActive(bool active);
  QString ZipFileName() const { return m_engine->ZipFileName(); }
  void SetZipFileName(const QString& name);
  QString VersionInfo() const { return QStringLiteral("1.77"); }
  void SetVersionInfo(const QString&) {}

  int Count() const { return m_engine->Count(); }
  int SuccessCnt() const { return m_engine->SuccessCnt(); }
  int ErrCode() const;

  // The operation's error code (0: none); -255 without doing anything while not active or busy.
  int Add();
  int Extract();

  TZArchiver& Engine() { return *m_engine; }

 private:
  template <typename Op>
  int Run(Op op);

  std::unique_ptr<TZArchiver> m_engine;
  bool m_busy = false;
};
