#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Every message box, question, input box and file or folder dialog of the program goes through
// this interface, so engine code never opens a window itself and tests script the answers.
// The program installs the real implementation at start; tests install a ScriptedUi.

enum class MsgType { Information, Warning, Error, Confirmation };

// Buttons of a message box; also the answer given.
enum MsgButton : int {
  mbNone = 0,
  mbOK = 1,
  mbCancel = 2,
  mbYes = 4,
  mbNo = 8,
  mbAbort = 16,
  mbRetry = 32,
  mbIgnore = 64,
};

class UiServices {
 public:
  virtual ~UiServices() = default;

  // A plain message box; returns the button pressed (the default button when closed otherwise
  // is up to the implementation: Esc and the close box answer Cancel or No).
  virtual MsgButton MessageBox(const QString& text, const QString& caption, MsgType type,
                               int buttons = mbOK, MsgButton defaultButton = mbOK) = 0;

  // The shared message dialog of the program.
  virtual void ShowInfoMessage(const QString& text, const QString& caption) = 0;
  virtual void ShowMessage2(const QString& line1, const QString& line2) = 0;
  virtual bool AskYesNo(const QString& line1, const QString& line2, const QString& line3,
                        const QString& caption) = 0;

  // An input box; nullopt when cancelled.
  virtual std::optional<QString> InputBox(const QString& caption, const QString& prompt,
                                          const QString& value) = 0;

  // File and folder choice; an empty text when cancelled. filter uses Qt's "Name (*.ext)" form.
  virtual QString OpenFileName(const QString& caption, const QString& dir, const QString& filter,
                               const QString& defaultExt) = 0;
  virtual QString SaveFileName(const QString& caption, const QString& dir, const QString& fileName,
                               const QString& filter, const QString& defaultExt) = 0;
  virtual QString BrowseForFolder(const QString& title, const QString& root) = 0;

  // A masked password question with the given buttons (the first confirms); returns the index
  // of the button pressed, -1 when closed otherwise. password holds the text entered.
  virtual int PasswordBox(const QString& caption, const QString& prompt, const QStringList& buttons,
                          QString& password) {
    return -1;
  }

  // The hourglass while long work runs on the UI thread; calls nest.
  virtual void BusyCursor(bool on) {}

  // Ends the program: at once (no further events) or through the message loop.
  virtual void Terminate(bool immediately) = 0;
  // Whether the program was asked to end through the message loop: asked before the loop
  // runs, the start looks here, since leaving a loop that has not begun does nothing.
  virtual bool TerminateRequested() const = 0;
};

// The installed implementation; a headless default that answers like a cancelled dialog until
// the program or a test installs its own.
UiServices& Ui();
// Installs ui (not owned); nullptr restores the headless default. Returns the previous one.
UiServices* SetUi(UiServices* ui);

// The folder choice through Ui(): true with path set when a folder was chosen, false (path
// untouched) when cancelled.
bool BrowseForFolder(const QString& title, const QString& root, QString& path);

// An error shown to the user under "HIBA!".
void ShowError(const QString& text);

// Runs work; an error that escapes it is shown under "HIBA!" with its message (after cleanUp,
// which takes down what the work left on the screen) and false is returned. For the handlers
// of the message loop, which no error may leave.
bool RunGuarded(const std::function<void()>& work, const std::function<void()>& cleanUp = {});
