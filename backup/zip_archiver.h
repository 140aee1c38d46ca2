#pragma once

#include <QObject>
#include <memory>

#include "z_archiver.h"
#include "zip_events.h"
#include "zip_sfx.h"
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

  // The self-extractor settings live in the builder the component owns.
  TCustomZipSFX& SFXBuilder() { return m_sfx; }
  QString SFXCaption() const { return m_sfx.SFXCaption; }
  void SetSFXCaption(const QString& v) { m_sfx.SFXCaption = v; }
  QString SFXCommandLine() const { return m_sfx.SFXCommandLine; }
  void SetSFXCommandLine(const QString& v) { m_sfx.SFXCommandLine = v; }
  QString SFXDefaultDir() const { return m_sfx.SFXDefaultDir; }
  void SetSFXDefaultDir(const QString& v) { m_sfx.SFXDefaultDir = v; }
  QString SFXPath() const { return m_sfx.SFXPath; }
  void SetSFXPath(const QString& v) { m_sfx.SFXPath = v; }
  QString SFXMessage() const { return m_sfx.SFXMessage; }
  void SetSFXMessage(const QString& v) { m_sfx.SetMessage(v); }
  const QByteArray& SFXIcon() const { return m_sfx.SFXIcon; }
  void SetSFXIcon(const QByteArray& ico) { m_sfx.SetIcon(ico); }
  SFXOpts SFXOptions() const { return m_sfx.GetOptions(); }
  void SetSFXOptions(const SFXOpts& v) { m_sfx.SetOptions(v); }
  OvrOpts SFXOverWriteMode() const { return m_sfx.GetOverWriteMode(); }
  void SetSFXOverWriteMode(int v) { m_sfx.SetOverWriteMode(v); }

 private:
  template <typename Op>
  int Run(Op op);

  std::unique_ptr<TZArchiver> m_engine;
  TCustomZipSFX m_sfx;
  bool m_busy = false;
};
