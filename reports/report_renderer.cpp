#include "report_renderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app_globals.h"
#include "program_runner.h"
#include "ui_services.h"

namespace {

const QString kRendererName = QStringLiteral("Gravlen");

TRunAndWait& runAndWait() {
  static TRunAndWait run = &RunAndWait;
  return run;
}

bool runRenderer(const QStringList& arguments) {
  const QString program = RendererProgram();
  const QFileInfo info(program);
  // RunAndWait answers only yes or no; the user is told which of the two went wrong.
  if (!info.isFile() || !info.isExecutable()) {
    Ui().MessageBox(QStringLiteral("A jelentés megjelenítő program nem indítható: ") + program,
                    QStringLiteral("HIBA!"), MsgType::Error);
    return false;
  }
  if (runAndWait()(program, arguments)) return true;
  Ui().MessageBox(QStringLiteral("A jelentés megjelenítő program hibával fejeződött be: ") +
                      program + u' ' + arguments.join(u' '),
                  QStringLiteral("HIBA!"), MsgType::Error);
  return false;
}

}  // namespace

TRunAndWait SetRendererRunAndWait(TRunAndWait run) {
  TRunAndWait previous = runAndWait();
  runAndWait() = run ? std::move(run) : TRunAndWait(&RunAndWait);
  return previous;
}

QString RendererProgram() {
  const QString programDir = Globals().ProgramDir;
  if (!programDir.isEmpty()) {
    const QString inProgramDir = QDir(programDir).filePath(kRendererName);
    if (QFileInfo(inProgramDir).isFile()) return inProgramDir;
  }
  return QDir(QCoreApplication::applicationDirPath()).filePath(kRendererName);
}

bool ShowReport(const QString& userDir, const QString& name) {
  return runRenderer({QDir(userDir).filePath(name + QStringLiteral(".xml")), userDir});
}

bool RendererPrinterSetup(const QString& userDir) {
  return runRenderer({QStringLiteral("PRINTERSETUP"), userDir});
}
