// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

#include "iptools/ResultCap.h"
#include "iptools/ToolCommands.h"
#include "platform/RegularFile.h"

namespace lumeno::iptools {

// How a run ended.
enum class RunEnd {
  Ran,               // the tool ran to its end
  Stopped,           // stop() ended it
  Cut,               // its result file became full, so it was ended
  ResultUnwritable,  // the result file could not be opened for writing; nothing was started
  ResultNotRegular,  // a named pipe, a device or a folder is in the result file's place
  NotStarted,        // the tool is missing or could not be started; the result file says why
};

// Whether the run started the tool's process.
[[nodiscard]] bool startedTheTool(RunEnd end);

// Runs one console tool at a time without blocking the event loop. The tool is started directly
// with its argument list (never through a shell), in the program's folder, with nothing on its
// standard input; its standard output and standard error go, as they arrive, into the tool's
// result file (at most kResultFileLimit of them) and out through outputArrived(). The kernel
// ends the tool if this program dies without ending it.
class ToolRunner : public QObject {
  Q_OBJECT

 public:
  // Full path of the program of that name, or an empty text when it is not installed.
  using ProgramFinder = std::function<QString(const QString& name)>;

  // How long a tool asked to stop may take to end before it is killed.
  static constexpr std::chrono::milliseconds kStopGrace{1000};

  explicit ToolRunner(QObject* parent = nullptr);
  ToolRunner(const ToolRunner&) = delete;
  ToolRunner& operator=(const ToolRunner&) = delete;
  ~ToolRunner() override;

  // The search path, then the system folders that an ordinary user's search path may lack.
  static QString findInstalledProgram(const QString& name);
  void setProgramFinder(ProgramFinder finder);
  void setStopGrace(std::chrono::milliseconds grace);
  void setResultFileLimit(std::uint64_t bytes);

  // Starts the tool for the request; its result file in `folder` is emptied first. finished()
  // always follows, also when nothing could be started. Ignored while a tool runs.
  void start(const ToolRequest& request, const QString& folder);

  [[nodiscard]] bool isRunning() const { return running_; }
  // The running tool's process id, 0 when no process runs.
  [[nodiscard]] qint64 processId() const;

  // Asks the running tool to end as Ctrl+C in a terminal would, so that it can still print its
  // summary; kills it if it is still there kStopGrace later. finished() follows once it has gone.
  void stop();
  // Kills the running tool and waits for it to go, without reporting anything (the owner is
  // going away).
  void abandon();

 Q_SIGNALS:
  // Bytes of the tool's output, exactly as they went into the result file.
  void outputArrived(const QByteArray& bytes);
  // The tool has ended and its result file is closed.
  void finished(lumeno::iptools::RunEnd end);

 private:
  void readOutput();
  void processEnded();
  void endTool();
  void finishLater(RunEnd end);
  void finishNow(RunEnd end);

  ProgramFinder finder_;
  std::chrono::milliseconds stopGrace_ = kStopGrace;
  std::uint64_t resultLimit_ = kResultFileLimit;
  QPointer<QProcess> process_;
  platform::RegularFileWriter result_;
  ResultCap cap_;
  bool running_ = false;
  bool stopping_ = false;
  QTimer killTimer_;      // ends a tool that did not end when asked
  QTimer pendingFinish_;  // reports a run that ended without a process
  RunEnd pendingEnd_ = RunEnd::Ran;
};

}  // namespace lumeno::iptools
