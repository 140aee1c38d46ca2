#include "password_dlg.h"

#include <QList>

#include "ui_services.h"
#include "zip_messages.h"

TPasswordDlg::Answer TPasswordDlg::ShowPasswordDialog(const QString& title, const QString& prompt,
                                                      int buttonFlags, QString& password) {
  QStringList captions{ZipLoadStr(10152)};
  QList<Answer> answers{pwOk};
  if (buttonFlags & 2) {
    captions << ZipLoadStr(10153);
    answers << pwCancel;
  }
  if (buttonFlags & 4) {
    captions << ZipLoadStr(10157);
    answers << pwCancelAll;
  }
  if (buttonFlags & 8) {
    captions << ZipLoadStr(10158);
    answers << pwOther;
  }
  QString text;
  int pressed = Ui().PasswordBox(title, prompt, captions, text);
  Answer answer = pressed >= 0 && pressed < answers.size() ? answers[pressed] : pwOther;
  password = answer == pwOk ? text.left(80) : QString();
  return answer;
}
