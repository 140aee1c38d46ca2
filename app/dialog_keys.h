#pragma once

#include <functional>

class QDialog;

// The keys the small dialogs share: F9 confirms; Enter moves to the next control when
// CrTabMode is 1 and confirms when it is 2; Esc closes (as every QDialog does). Install after
// the dialog's controls exist.
void InstallDialogKeys(QDialog* dialog, std::function<void()> confirm);
