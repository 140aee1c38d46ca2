#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Starting the report renderer, the program "Gravlen" beside zarn, and waiting for it.
//
// A listing's last step, after WriteReportFiles and closing its queries:
//   ShowReport(Globals().UserDir, QStringLiteral("leltliskltsh"));
// The main menu's printer item:
//   RendererPrinterSetup(Globals().UserDir);

// Starts a program with its arguments, waits for it without a time limit and tells whether it
// ended normally with exit code 0; the frame's RunAndWait unless a test installs another.
using TRunAndWait = std::function<bool(const QString& program, const QStringList& arguments)>;
// Installs run (an empty one restores RunAndWait); returns the previous one.
TRunAndWait SetRendererRunAndWait(TRunAndWait run);

// The renderer's path: in ProgramDir, else beside the running program (ProgramDir is the
// per-user data directory when the program's own directory cannot be written).
QString RendererProgram();

// The renderer on userDir + name + ".xml", its ".def" and ".frm" found in userDir; returns
// when the renderer has closed. A renderer that cannot be started or ends with an error is
// reported through the UI services, and the result is false.
bool ShowReport(const QString& userDir, const QString& name);
// The renderer's printer and page setup, kept in userDir for later prints; reported the same.
bool RendererPrinterSetup(const QString& userDir);
