#pragma once

#include <QString>

// The password form of the zip component, asked through the UI services. Button flags:
// "&Ok" always; 2 adds "&Cancel", 4 "Cancel all", 8 "Abort".
class TPasswordDlg {
 public:
  enum Answer { pwOk = 0, pwCancel = 1, pwCancelAll = 2, pwOther = 3 };
  static Answer ShowPasswordDialog(const QString& title, const QString& prompt, int buttonFlags,
                                   QString& password);
};
