#include "help_viewer.h"

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
