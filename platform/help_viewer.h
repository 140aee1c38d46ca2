#pragma once

#include <QList>
#include <QString>

// Shows a help topic by its context number. helpFile is the help the program asked for (the
// compiled file or the classic one); the context numbers are the ones the forms pass.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual void ShowContext(const QString& helpFile, int context) = 0;
};

// The installed viewer; shows nothing until the program or a test installs one.
HelpViewer& Help();
// Installs viewer (not owned); nullptr restores the silent default. Returns the previous one.
HelpViewer* SetHelp(HelpViewer* viewer);

// A HelpViewer for tests: records each request.
class RecordingHelp : public HelpViewer {
 public:
  struct Call {
    QString helpFile;
    int context = 0;
  };
  RecordingHelp();            // installs itself
  ~RecordingHelp() override;  // restores the previous viewer
  void ShowContext(const QString& helpFile, int context) override;
  const QList<Call>& Calls() const { return m_calls; }

 private:
  QList<Call> m_calls;
  HelpViewer* m_previous = nullptr;
};

// Which help file a context request goes to. The program has a classic help file (the
// application's, "ZARN.HLP" in the program directory) and may have a compiled one beside it
// (".chm"); the compiled one, when it exists, becomes the default and the classic one is
// dropped.
struct HelpFiles {
  QString ApplicationHelpFile;  // the classic help; empty once a compiled file took over
  QString DefaultCompiledHelp;  // empty until a compiled file was found
};
HelpFiles& HelpSettings();

// helpFile with its own suffix replaced by "chm" (dots in the directories do not count).
QString CompiledHelpOf(const QString& helpFile);

// When the application has a help file whose compiled sibling exists, that sibling becomes the
// default compiled help and the application's help file is cleared.
void PreferCompiledHelp();

// Shows context from helpFile: its compiled sibling when that exists, else helpFile itself when
// it exists, else the default compiled help. An empty helpFile: the default compiled help when
// it exists, else the application's help file.
void ShowHelp(const QString& helpFile, int context);
