#include "ui_services.h"

#include <exception>

namespace {

// Answers like a dialog the user closed; used until something real is installed.
class HeadlessUi : public UiServices {
 public:
  MsgButton MessageBox(const QString&, const QString&, MsgType, int buttons,
                       MsgButton defaultButton) override {
    if (buttons & mbCancel) return mbCancel;
    if (buttons & mbNo) return mbNo;
    return defaultButton;
  }
  void ShowInfoMessage(const QString&, const QString&) override {}
  void ShowMessage2(const QString&, const QString&) override {}
  bool AskYesNo(const QString&, const QString&, const QString&, const QString&) override {
    return false;
  }
  std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
  QString OpenFileName(const QString&, const QString&, const QString&, const QString&) override {
    return {};
  }
  QString SaveFileName(const QString&, const QString&, const QString&, const QString&,
                       const QString&) override {
    return {};
  }
  QString BrowseForFolder(const QString&, const QString&) override { return {}; }
  void Terminate(bool) override {}
  bool TerminateRequested() const override { return false; }
};

HeadlessUi g_headless;
UiServices* g_ui = &g_headless;

}  // namespace

UiServices& Ui() { return *g_ui; }

UiServices* SetUi(UiServices* ui) {
  UiServices* previous = g_ui == &g_headless ? nullptr : g_ui;
  g_ui = ui ? ui : &g_headless;
  return previous;
}

bool BrowseForFolder(const QString& title, const QString& root, QString& path) {
  const QString chosen = Ui().BrowseForFolder(title, root);
  if (chosen.isEmpty()) return false;
  path = chosen;
  return true;
}

bool RunGuarded(const std::function<void()>& work, const std::function<void()>& cleanUp) {
  QString error;
  try {
    work();
    return true;
  } catch (const std::exception& e) {  // the program's Exception family included
    error = QString::fromUtf8(e.what());
  } catch (...) {
    error = QStringLiteral("Ismeretlen hiba.");
  }
  if (cleanUp) cleanUp();
  ShowError(error);
  return false;
}

void ShowError(const QString& text) {
  Ui().MessageBox(text, QStringLiteral("HIBA!"), MsgType::Error, mbOK, mbOK);
}
