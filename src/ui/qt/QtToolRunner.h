// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

#include "iptools/ResultCap.h"
#include "iptools/ToolCommands.h"
#include "iptools/ToolRunner.h"
#include "platform/RegularFile.h"

namespace lumeno::iptools {

// The tool runner of the Linux build: QProcess with the tool's argument list, its standard output
// and standard error merged. The kernel ends the tool if this program dies without ending it.
class QtToolRunner : public QObject, public ToolRunner {
  Q_OBJECT

 public:
  // Full path of the program of that name, or an empty text when it is not installed.
  using ProgramFinder = std::function<QString(const QString& name)>;

  // How long a tool asked to stop may take to end before it is killed.
  static constexpr std::chrono::milliseconds kStopGrace{1000};

  explicit QtToolRunner(QObject* parent = nullptr);
  QtToolRunner(const QtToolRunner&) = delete;
  QtToolRunner& operator=(const QtToolRunner&) = delete;
  ~QtToolRunner() override;

  // The search path, then the system folders that an ordinary user's search path may lack.
  static QString findInstalledProgram(const QString& name);
  void setProgramFinder(ProgramFinder finder);
  void setStopGrace(std::chrono::milliseconds grace);
  void setResultFileLimit(std::uint64_t bytes);

  // ToolRunner
  void setHandlers(Handlers handlers) override;
  void start(const ToolRequest& request, const std::filesystem::path& folder) override;
  void stop() override;
  void kill() override;
  [[nodiscard]] std::int64_t processId() const override;

  [[nodiscard]] bool isRunning() const { return running_; }

 private:
  void report(std::string_view bytes);
  void store(std::string_view bytes);
  void closeResult();
  void readOutput();
  void processEnded();
  void endTool();
  void finishLater(RunEnd end);
  void finishNow(RunEnd end);

  Handlers handlers_;
  ProgramFinder finder_;
  std::chrono::milliseconds stopGrace_ = kStopGrace;
  std::uint64_t resultLimit_ = kResultFileLimit;
  QPointer<QProcess> process_;
  platform::RegularFileWriter result_;
  ResultCap cap_;
  bool running_ = false;
  bool stopping_ = false;
  bool stored_ = true;    // every byte of the output so far is in the result file
  QTimer killTimer_;      // ends a tool that did not end when asked
  QTimer pendingFinish_;  // reports a run that ended without a process
  RunEnd pendingEnd_ = RunEnd::Ran;
};

}  // namespace lumeno::iptools
