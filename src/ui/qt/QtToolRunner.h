// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <utility>

#include "iptools/RunState.h"
#include "iptools/ToolCommands.h"
#include "iptools/ToolRunner.h"

namespace lumeno::iptools {

// The tool runner of the Linux build: QProcess with the tool's argument list, its standard output
// and standard error merged. The kernel ends the tool if this program dies without ending it.
// The run itself is a RunState; this only drives the process and the event loop.
class QtToolRunner : public QObject, public ToolRunner, private RunHost {
  Q_OBJECT

 public:
  // Full path of the program of that name, or an empty text when it is not installed.
  using ProgramFinder = std::function<QString(const QString& name)>;

  explicit QtToolRunner(QObject* parent = nullptr);
  QtToolRunner(const QtToolRunner&) = delete;
  QtToolRunner& operator=(const QtToolRunner&) = delete;
  ~QtToolRunner() override;

  // The search path, then the system folders that an ordinary user's search path may lack.
  static QString findInstalledProgram(const QString& name);
  void setProgramFinder(ProgramFinder finder) { finder_ = std::move(finder); }
  void setStopGrace(std::chrono::milliseconds grace) { run_.setStopGrace(grace); }
  void setResultFileLimit(std::uint64_t bytes) { run_.setResultFileLimit(bytes); }

  // ToolRunner
  void setHandlers(Handlers handlers) override { run_.setHandlers(std::move(handlers)); }
  void start(const ToolRequest& request, const std::filesystem::path& folder) override;
  void stop() override { run_.stop(); }
  void kill() override;
  [[nodiscard]] std::int64_t processId() const override;

  [[nodiscard]] bool isRunning() const { return run_.running(); }

 private:
  // RunHost
  [[nodiscard]] bool toolRunning() const override;
  bool interruptTool() override;
  void endToolNow() override;
  void postFinish() override { pendingFinish_.start(); }
  void armKillTimer(std::chrono::milliseconds grace) override { killTimer_.start(grace); }
  void cancelKillTimer() override { killTimer_.stop(); }

  void readOutput();
  void processEnded();

  ProgramFinder finder_;
  QPointer<QProcess> process_;
  QTimer killTimer_;      // ends a tool that did not end when asked
  QTimer pendingFinish_;  // reports a run that ended without a process
  RunState run_{*this};
};

}  // namespace lumeno::iptools
