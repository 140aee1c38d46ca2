#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class QAction;
class QWidget;

// Runs act on the next modal dialog as soon as it is shown and active (checked from the event
// loop), so a test can press its keys or buttons while the code under test waits in exec().
// Fails the test when none appears within timeoutMs.
void OnNextModal(std::function<void(QWidget*)> act, int timeoutMs = 5000);

// Triggers action (a menu item, as clicked) and runs act on the modal dialog it opens; false
// (and the test failed) when none opened.
bool TriggerAndAct(QAction* action, const std::function<void(QWidget*)>& act);

// Sends a key press and release to w (the focused widget of w's window when w is a window).
void PressKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Types text as a keyboard does, one character at a time (key press and release with the key
// code and text a real keyboard gives: Shift for capitals, accented letters included), into w,
// or into the focused widget of w's window when w is a window (looked up again for every
// character, so the keys follow the focus as it moves).
void TypeText(QWidget* w, const QString& text);

// Answers the next modal dialog, a print dialog, as a person does where no printer is
// installed: the printer left on "Print to File (PDF)", the file's name typed over the one
// offered, then Enter. offered receives the name the dialog proposed.
void PrintToFileInNextDialog(const QString& pdf, QString* offered = nullptr);

// The controls of window whose text does not fit them at their present size, one line each
// ("Form/Control: 'text' needs N, has M"): labels, buttons, check and radio boxes, group box
// titles, every item of a combo box, and the text of an edit that has an input mask (dates) or
// holds a short text (numbers, codes, amounts) - a longer typed text may scroll. Only what is
// visible counts.
QStringList CutTexts(QWidget* window);

// Records the files the desktop is asked to open while it is installed as the "file" handler.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  UrlRecorder();
  ~UrlRecorder() override;
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.append(url); }
};
