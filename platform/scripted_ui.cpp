#include "scripted_ui.h"

ScriptedUi::ScriptedUi() { m_previous = SetUi(this); }

ScriptedUi::~ScriptedUi() { SetUi(m_previous); }

ScriptedUi& ScriptedUi::Answer(MsgButton button) {
  m_answers.push_back({ScriptAnswer::Button, button, button == mbYes || button == mbOK, {}});
  return *this;
}

ScriptedUi& ScriptedUi::Answer(bool yes) {
  m_answers.push_back({ScriptAnswer::Bool, yes ? mbYes : mbNo, yes, {}});
  return *this;
}

ScriptedUi& ScriptedUi::Answer(const QString& text) {
  m_answers.push_back({ScriptAnswer::Text, mbOK, true, text});
  return *this;
}

ScriptedUi& ScriptedUi::Cancel() {
  m_answers.push_back({ScriptAnswer::Cancelled, mbCancel, false, {}});
  return *this;
}

QStringList ScriptedUi::Texts() const {
  QStringList out;
  for (const Call& c : m_calls) out << c.text();
  return out;
}

void ScriptedUi::Clear() {
  m_calls.clear();
  m_answers.clear();
  m_terminated = false;
}

bool ScriptedUi::next(ScriptAnswer& out) {
  if (m_answers.empty()) return false;
  out = m_answers.front();
  m_answers.pop_front();
  return true;
}

QString ScriptedUi::textAnswer(const QString& fallback) {
  ScriptAnswer a;
  if (!next(a)) return fallback;
  return a.kind == ScriptAnswer::Text ? a.text : QString();
}

MsgButton ScriptedUi::MessageBox(const QString& text, const QString& caption, MsgType type,
                                 int buttons, MsgButton defaultButton) {
  m_calls.append({Kind::MessageBox, caption, {text}, type, buttons, defaultButton});
  ScriptAnswer a;
  // Plain information boxes with one button need no script entry.
  if (buttons == mbOK || !next(a)) return defaultButton;
  return a.button;
}

void ScriptedUi::ShowInfoMessage(const QString& text, const QString& caption) {
  m_calls.append({Kind::InfoMessage, caption, {text}});
}

void ScriptedUi::ShowMessage2(const QString& line1, const QString& line2) {
  m_calls.append({Kind::Message2, QStringLiteral("Üzenet"), {line1, line2}});
}

bool ScriptedUi::AskYesNo(const QString& line1, const QString& line2, const QString& line3,
                          const QString& caption) {
  m_calls.append({Kind::AskYesNo, caption, {line1, line2, line3}, MsgType::Confirmation,
                  mbYes | mbNo, mbNo});
  ScriptAnswer a;
  if (!next(a)) return false;
  return a.yes;
}

std::optional<QString> ScriptedUi::InputBox(const QString& caption, const QString& prompt,
                                            const QString& value) {
  m_calls.append({Kind::InputBox, caption, {prompt}});
  ScriptAnswer a;
  if (!next(a) || a.kind == ScriptAnswer::Cancelled) return std::nullopt;
  return a.kind == ScriptAnswer::Text ? a.text : value;
}

QString ScriptedUi::OpenFileName(const QString& caption, const QString& dir,
                                 const QString& filter, const QString&) {
  m_calls.append({Kind::OpenFile, caption, {dir, filter}});
  return textAnswer({});
}

QString ScriptedUi::SaveFileName(const QString& caption, const QString& dir,
                                 const QString& fileName, const QString& filter, const QString&) {
  m_calls.append({Kind::SaveFile, caption, {dir, fileName, filter}});
  return textAnswer({});
}

QString ScriptedUi::BrowseForFolder(const QString& title, const QString& root) {
  m_calls.append({Kind::Folder, title, {root}});
  return textAnswer({});
}

void ScriptedUi::Terminate(bool immediately) {
  m_calls.append({Kind::Terminate, {}, {immediately ? "immediately" : "loop"}});
  m_terminated = true;
}

ScriptedUi& ScriptedUi::AnswerButton(int index) {
  ScriptAnswer a{ScriptAnswer::Index, mbNone, false, {}};
  a.index = index;
  m_answers.push_back(a);
  return *this;
}

int ScriptedUi::PasswordBox(const QString& caption, const QString& prompt,
                            const QStringList& buttons, QString& password) {
  m_calls.append({Kind::Password, caption, QStringList{prompt} + buttons});
  ScriptAnswer a;
  if (!next(a)) return buttons.size() > 1 ? 1 : -1;
  switch (a.kind) {
    case ScriptAnswer::Text:
      password = a.text;
      return 0;
    case ScriptAnswer::Index:
      return a.index;
    default:
      return buttons.size() > 1 ? 1 : -1;
  }
}
