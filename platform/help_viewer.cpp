#include "help_viewer.h"

#include <QFileInfo>

namespace {

class SilentHelp : public HelpViewer {
 public:
  void ShowContext(const QString&, int) override {}
};

SilentHelp g_silent;
HelpViewer* g_help = &g_silent;

}  // namespace

HelpViewer& Help() { return *g_help; }

HelpViewer* SetHelp(HelpViewer* viewer) {
  HelpViewer* previous = g_help == &g_silent ? nullptr : g_help;
  g_help = viewer ? viewer : &g_silent;
  return previous;
}

RecordingHelp::RecordingHelp() { m_previous = SetHelp(this); }

RecordingHelp::~RecordingHelp() { SetHelp(m_previous); }

void RecordingHelp::ShowContext(const QString& helpFile, int context) {
  m_calls.append({helpFile, context});
}

HelpFiles& HelpSettings() {
  static HelpFiles files;
  return files;
}

QString CompiledHelpOf(const QString& helpFile) {
  if (helpFile.isEmpty()) return QString();
  QString path = helpFile;
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const int slash = path.lastIndexOf(QLatin1Char('/'));
  const int dot = path.lastIndexOf(QLatin1Char('.'));
  const QString stem = dot > slash ? path.left(dot) : path;
  return stem + QStringLiteral(".chm");
}

void PreferCompiledHelp() {
  HelpFiles& files = HelpSettings();
  if (files.ApplicationHelpFile.isEmpty()) return;
  const QString compiled = CompiledHelpOf(files.ApplicationHelpFile);
  if (!QFileInfo::exists(compiled)) return;
  files.DefaultCompiledHelp = compiled;
  files.ApplicationHelpFile.clear();
}

void ShowHelp(const QString& helpFile, int context) {
  const HelpFiles& files = HelpSettings();
  if (!helpFile.isEmpty()) {
    const QString compiled = CompiledHelpOf(helpFile);
    if (QFileInfo::exists(compiled))
      Help().ShowContext(compiled, context);
    else if (QFileInfo::exists(helpFile))
      Help().ShowContext(helpFile, context);
    else
      Help().ShowContext(files.DefaultCompiledHelp, context);
    return;
  }
  if (!files.DefaultCompiledHelp.isEmpty() && QFileInfo::exists(files.DefaultCompiledHelp))
    Help().ShowContext(files.DefaultCompiledHelp, context);
  else
    Help().ShowContext(files.ApplicationHelpFile, context);
}
