#include "form_guard.h"

#include "exceptions.h"
#include "ui_services.h"

void ShowError(const Exception& e) {
  Ui().MessageBox(e.Message(), QStringLiteral("HIBA!"), MsgType::Error);
}

bool RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const Exception& e) {
    ShowError(e);
    return false;
  }
}
