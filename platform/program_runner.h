#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

// A program started by the frame and waited for without a time limit.
class RunningProgram {
 public:
  virtual ~RunningProgram() = default;
  virtual void WaitForEnd() = 0;
  // Only a normal exit with code 0 is a success; a signal or a crash is a failure.
  virtual bool Succeeded() const = 0;
};

// How the program starts other programs: a program and its argument list, never a shell. A
// program name without a directory is looked up in the search path. The child runs in the
// current directory, reads nothing from us, and its output is discarded (errors are passed on).
class ProgramRunner {
 public:
  virtual ~ProgramRunner() = default;
  // nullptr when the program cannot be started (missing, not executable). A non-empty
  // inputFile becomes the child's standard input.
  virtual std::unique_ptr<RunningProgram> Start(const QString& program,
                                                const QStringList& arguments,
                                                const QString& inputFile = {}) = 0;
  // Starts without waiting, in workingDirectory when one is given (else the current one); the
  // child outlives us. False when it cannot be started.
  virtual bool StartDetached(const QString& program, const QStringList& arguments,
                             const QString& workingDirectory = {}) = 0;
};

// The installed runner: QProcess unless a test installed its own.
ProgramRunner& Runner();
// Installs runner (not owned); nullptr restores the real one. Returns the previous one.
ProgramRunner* SetRunner(ProgramRunner* runner);

// A ProgramRunner for tests: records every start and answers from a script. An unscripted run
// succeeds. WhileRunning is called while a waited-for program "runs".
class RecordingRunner : public ProgramRunner {
 public:
  enum class Outcome { Success, Failure, Missing };
  struct Run {
    QString program;
    QStringList arguments;
    bool detached = false;
    QString inputFile;
    QString workingDirectory;  // of a detached start; empty: the current one
  };

  RecordingRunner();            // installs itself
  ~RecordingRunner() override;  // restores the previous runner

  RecordingRunner& Then(Outcome outcome);
  std::function<void(const Run&)> WhileRunning;
  const QList<Run>& Runs() const { return m_runs; }

  std::unique_ptr<RunningProgram> Start(const QString& program, const QStringList& arguments,
                                        const QString& inputFile = {}) override;
  bool StartDetached(const QString& program, const QStringList& arguments,
                     const QString& workingDirectory = {}) override;

 private:
  Outcome next();

  std::deque<Outcome> m_outcomes;
  QList<Run> m_runs;
  ProgramRunner* m_previous = nullptr;
};

// Starts program with arguments and waits for it without a time limit, the application
// minimised meanwhile and restored afterwards. True exactly when the program ran and ended
// normally with exit code 0; a program that cannot be started, ends by a signal or with
// another code gives false. A program that cannot be started leaves the windows alone.
bool RunAndWait(const QString& program, const QStringList& arguments = {});
// The same with inputFile as the program's standard input.
bool RunAndWaitWithInput(const QString& program, const QStringList& arguments,
                         const QString& inputFile);

// What RunAndWait does to the application's windows; the windowed program installs these
// (without them nothing is minimised, as in headless runs). Returns the previous pair.
struct RunAndWaitHooks {
  std::function<void()> minimise;  // before the wait
  std::function<void()> restore;   // after it, also when the wait ends badly
};
RunAndWaitHooks SetRunAndWaitHooks(RunAndWaitHooks hooks);
