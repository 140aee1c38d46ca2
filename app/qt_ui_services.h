#pragma once

#include "ui_services.h"

// The UI services of the windowed program: Qt message boxes, the shared message dialog
// (TFormUzeno), Qt's input box and file and folder dialogs. ApplicationFrame installs it.
class QtUiServices : public UiServices {
 public:
  MsgButton MessageBox(const QString& text, const QString& caption, MsgType type, int buttons,
                       MsgButton defaultButton) override;
  void ShowInfoMessage(const QString& text, const QString& caption) override;
  void ShowMessage2(const QString& line1, const QString& line2) override;
  bool AskYesNo(const QString& line1, const QString& line2, const QString& line3,
                const QString& caption) override;
  std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                  const QString& value) override;
  QString OpenFileName(const QString& caption, const QString& dir, const QString& filter,
                       const QString& defaultExt) override;
  QString SaveFileName(const QString& caption, const QString& dir, const QString& fileName,
                       const QString& filter, const QString& defaultExt) override;
  QString BrowseForFolder(const QString& title, const QString& root) override;
  int PasswordBox(const QString& caption, const QString& prompt, const QStringList& buttons,
                  QString& password) override;
  void BusyCursor(bool on) override;
  // At once: the process ends without further events; else every event loop ends.
  void Terminate(bool immediately) override;
  bool TerminateRequested() const override { return m_terminateRequested; }

 private:
  bool m_terminateRequested = false;
};
