#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>

#include "ui_services.h"

// A UiServices for tests: records every call and answers from a script. An unscripted call
// answers as a cancelled dialog would (the default button, false, nullopt, empty text).
class ScriptedUi : public UiServices {
 public:
  enum class Kind { MessageBox, InfoMessage, Message2, AskYesNo, InputBox, OpenFile, SaveFile,
                    Folder, Terminate, Password };
  struct Call {
    Kind kind;
    QString caption;
    QStringList lines;  // the text, or the lines of the shared dialog
    MsgType type = MsgType::Information;
    int buttons = 0;
    MsgButton defaultButton = mbNone;
    QString text() const { return lines.join('\n'); }
  };

  ScriptedUi();  // installs itself
  ~ScriptedUi() override;  // restores the previous implementation

  // The script: each answer is used by the next call that asks for one.
  ScriptedUi& Answer(MsgButton button);
  ScriptedUi& Answer(bool yes);
  ScriptedUi& Answer(const QString& text);  // input box, file or folder
  ScriptedUi& Cancel();                     // input box or file dialog cancelled

  const QList<Call>& Calls() const { return m_calls; }
  // Every recorded text (message text or the joined lines of the shared dialog), in order.
  QStringList Texts() const;
  int PendingAnswers() const { return int(m_answers.size()); }
  void Clear();
  bool Terminated() const { return m_terminated; }

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
  void Terminate(bool immediately) override;
  bool TerminateRequested() const override { return m_terminated; }
  // Answered by a text (the first button), Cancel (the second) or a button index.
  int PasswordBox(const QString& caption, const QString& prompt, const QStringList& buttons,
                  QString& password) override;
  ScriptedUi& AnswerButton(int index);

 private:
  struct ScriptAnswer {
    enum { Button, Bool, Text, Cancelled, Index } kind;
    MsgButton button = mbNone;
    bool yes = false;
    QString text;
    int index = -1;
  };
  bool next(ScriptAnswer& out);
  QString textAnswer(const QString& fallback);

  std::deque<ScriptAnswer> m_answers;
  QList<Call> m_calls;
  UiServices* m_previous = nullptr;
  bool m_terminated = false;
};
