#pragma once

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringDecoder>
#include <QTimer>

#include <functional>

#include "iptools/ToolCommands.h"

namespace lumeno::iptools {

// Runs one console tool at a time without blocking the event loop. The tool is started directly
// with its argument list (never through a shell), in the program's folder, with nothing on its
// standard input; its standard output and standard error go, as they arrive, into the tool's
// result file and out through outputArrived().
class ToolRunner : public QObject {
  Q_OBJECT

 public:
  // Full path of the program of that name, or an empty text when it is not installed.
  using ProgramFinder = std::function<QString(const QString& name)>;

  explicit ToolRunner(QObject* parent = nullptr);
  ToolRunner(const ToolRunner&) = delete;
  ToolRunner& operator=(const ToolRunner&) = delete;
  ~ToolRunner() override;

  // The search path, then the system folders that an ordinary user's search path may lack.
  static QString findInstalledProgram(const QString& name);
  void setProgramFinder(ProgramFinder finder);

  // Starts the tool for the request; its result file in `folder` is emptied first. finished()
  // always follows, also when the tool is missing or cannot be started (the result file then
  // holds one line that says why). Ignored while a tool runs.
  void start(const ToolRequest& request, const QString& folder);

  [[nodiscard]] bool isRunning() const { return running_; }
  // The running tool's process id, 0 when no process runs.
  [[nodiscard]] qint64 processId() const;

  // Ends the running tool; finished() follows once it has gone.
  void stop();
  // Ends the running tool and waits for it to go, without reporting anything (the owner is
  // going away).
  void abandon();

 Q_SIGNALS:
  void outputArrived(const QString& text);
  // The tool has ended and its result file is closed. `resultWritten` is false when the result
  // file could not be opened for writing; the tool was then not started.
  void finished(bool resultWritten);

 private:
  void readOutput();
  void processEnded();
  void finishLater(bool resultWritten);
  void finishPending();
  void finishNow(bool resultWritten);

  ProgramFinder finder_;
  QPointer<QProcess> process_;
  QFile result_;
  QStringDecoder decoder_{QStringDecoder::Utf8};
  bool running_ = false;
  QTimer pendingFinish_;  // reports a run that ended without a process
  bool pendingResultWritten_ = true;
};

}  // namespace lumeno::iptools
