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
