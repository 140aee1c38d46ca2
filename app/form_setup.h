#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QObject;
class QShowEvent;
class QWidget;

// The setup every form runs when it is created: scaling to the screen and the user's scale
// factors, the form colours, the window placement the form had when it last closed on this
// workstation (a ".WXY" file of ListDir()), fitting to its controls and the screen, F1 and help
// buttons, and minimising and restoring the application's forms together.
//
// A form is a top-level widget; its name is its objectName() (else its class name without the
// leading "T"), and names the placement file. Forms laid out absolutely get their controls'
// geometry scaled; where a layout manages the controls, only the sizes of the form and the fonts
// are scaled.

// Help context numbers of forms, controls and menu items (QAction) are kept in this property.
inline constexpr char kHelpContextProperty[] = "helpContext";
// A button with this property set to true opens the help of its own help context.
inline constexpr char kHelpButtonProperty[] = "helpButton";
// A form's own help file (empty: the application's help).
inline constexpr char kHelpFileProperty[] = "helpFile";

int HelpContextOf(const QObject* object);
void SetHelpContext(QObject* object, int context);
// The form gets context; so do its controls and menu items whose context is 0.
void SetHelpContexts(QWidget* form, int context);

// The directory of the window placement files, ending in "/".
QString ListDir();
// programDir + "lst00/" when programDir holds "vexorxx.exe", else programDir + the computer
// name without ":", "\" and the characters below "0", + "/".
QString ListDirFor(const QString& programDir, const QString& computerName);
// Sets ListDir() for programDir and the computer name, creating the directory.
void InitListDir(const QString& programDir);

void FormSetup(QWidget* form, const QColor& color, const QColor& fontColor);
// FormSetup with the form's own background and text colours; what the forms call.
void FormSetupOwnColors(QWidget* form);
// FormSetup with the style's window colours (AblakSzin, ABetuSzin of Stilus.ini), for the
// dialogs the style paints.
void FormSetupWindowColors(QWidget* form);

// The open forms that went through the setup, in registration order.
QList<QWidget*> RegisteredForms();

// Help of the main menu: with registered forms the help file of the last one, else the
// application's help.
void ShowProgramHelp(int context);

// Minimise every form of the application to the active one, and bring them back in their
// former stacking order, the active one on top. Registered forms call these themselves when
// they are minimised or restored.
void MinimizeAll();
void RestoreAll();

// Whether a form's show event is its activation: a show the program asked for (show, exec).
// The window system shows a form again when it is restored, and so do RestoreAll and the end of
// RunAndWait: such a show must find every control, value, grid and selection as the user left
// them, so a form runs what it does "at activation" only when this is true.
bool IsActivation(const QShowEvent* event);

// Application-wide: every mouse-wheel turn becomes an Up (away from the user) or Down key press
// for the focused control, and the forms' stacking order is followed for RestoreAll. Installed
// once by the program (and by tests); a second call does nothing.
void InstallFormEventFilter();
