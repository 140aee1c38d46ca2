#include "program_runner.h"

#include <QProcess>

namespace {

class ProcessProgram : public RunningProgram {
 public:
  explicit ProcessProgram(std::unique_ptr<QProcess> process) : m_process(std::move(process)) {}
  void WaitForEnd() override { m_process->waitForFinished(-1); }
  bool Succeeded() const override {
    return m_process->state() == QProcess::NotRunning &&
           m_process->exitStatus() == QProcess::NormalExit && m_process->exitCode() == 0;
  }

 private:
  std::unique_ptr<QProcess> m_process;
};

class ProcessRunner : public ProgramRunner {
 public:
  std::unique_ptr<RunningProgram> Start(const QString& program, const QStringList& arguments,
                                        const QString& inputFile) override {
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(inputFile.isEmpty() ? QProcess::nullDevice() : inputFile);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start();
    if (!process->waitForStarted(-1)) return nullptr;
    return std::make_unique<ProcessProgram>(std::move(process));
  }

  bool StartDetached(const QString& program, const QStringList& arguments,
                     const QString& workingDirectory) override {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!workingDirectory.isEmpty()) process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    return process.startDetached();
  }
};

ProcessRunner g_processRunner;
ProgramRunner* g_runner = &g_processRunner;
RunAndWaitHooks g_hooks;

class RecordedProgram : public RunningProgram {
 public:
  RecordedProgram(bool ok, std::function<void()> whileRunning)
      : m_ok(ok), m_whileRunning(std::move(whileRunning)) {}
  void WaitForEnd() override {
    if (m_whileRunning) m_whileRunning();
  }
  bool Succeeded() const override { return m_ok; }

 private:
  bool m_ok;
  std::function<void()> m_whileRunning;
};

}  // namespace

ProgramRunner& Runner() { return *g_runner; }

ProgramRunner* SetRunner(ProgramRunner* runner) {
  ProgramRunner* previous = g_runner == &g_processRunner ? nullptr : g_runner;
  g_runner = runner ? runner : &g_processRunner;
  return previous;
}

RecordingRunner::RecordingRunner() { m_previous = SetRunner(this); }

RecordingRunner::~RecordingRunner() { SetRunner(m_previous); }

RecordingRunner& RecordingRunner::Then(Outcome outcome) {
  m_outcomes.push_back(outcome);
  return *this;
}

RecordingRunner::Outcome RecordingRunner::next() {
  if (m_outcomes.empty()) return Outcome::Success;
  const Outcome o = m_outcomes.front();
  m_outcomes.pop_front();
  return o;
}

std::unique_ptr<RunningProgram> RecordingRunner::Start(const QString& program,
                                                       const QStringList& arguments,
                                                       const QString& inputFile) {
  m_runs.append({program, arguments, false, inputFile, {}});
  const Outcome o = next();
  if (o == Outcome::Missing) return nullptr;
  const Run run = m_runs.last();
  std::function<void()> whileRunning;
  if (WhileRunning) whileRunning = [this, run] { WhileRunning(run); };
  return std::make_unique<RecordedProgram>(o == Outcome::Success, std::move(whileRunning));
}

bool RecordingRunner::StartDetached(const QString& program, const QStringList& arguments,
                                    const QString& workingDirectory) {
  m_runs.append({program, arguments, true, {}, workingDirectory});
  return next() != Outcome::Missing;
}

RunAndWaitHooks SetRunAndWaitHooks(RunAndWaitHooks hooks) {
  RunAndWaitHooks previous = std::move(g_hooks);
  g_hooks = std::move(hooks);
  return previous;
}

bool RunAndWait(const QString& program, const QStringList& arguments) {
  return RunAndWaitWithInput(program, arguments, QString());
}

bool RunAndWaitWithInput(const QString& program, const QStringList& arguments,
                         const QString& inputFile) {
  std::unique_ptr<RunningProgram> running = Runner().Start(program, arguments, inputFile);
  if (!running) return false;
  if (g_hooks.minimise) g_hooks.minimise();
  struct Restore {
    ~Restore() {
      if (g_hooks.restore) g_hooks.restore();
    }
  } restore;
  running->WaitForEnd();
  return running->Succeeded();
}
