#pragma once

#include <functional>

class QDialog;
class QWidget;

// The keys the small dialogs share: F9 confirms; Enter moves to the next control when
// CrTabMode is 1 and confirms when it is 2; Esc closes (as every QDialog does). A dialog whose
// F9 does less than its OK button (it keeps the dialog open) gives the OK button's action as
// enter. Install after the dialog's controls exist.
void InstallDialogKeys(QDialog* dialog, std::function<void()> confirm,
                       std::function<void()> enter = {});

// The keys of a window that is not a dialog (the main form): when CrTabMode is 1, Enter moves
// to the next control and F9 acts as Enter; when it is 2 the keys are left alone. Controls
// added later are covered too.
void InstallFormKeys(QWidget* form);
