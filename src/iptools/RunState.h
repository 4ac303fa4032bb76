// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "iptools/ResultCap.h"
#include "iptools/ToolRunner.h"
#include "platform/RegularFile.h"

namespace lumeno::iptools {

// What a run asks of the face that runs it: its tool's process and its event loop. The face does
// the rest by calling the run state's members as its process and loop have news, so that each
// face is only an adaptor and the rules of a run are written once, here.
class RunHost {
 public:
  virtual ~RunHost() = default;
  [[nodiscard]] virtual bool toolRunning() const = 0;
  // Asks the tool to end as Ctrl+C would; false where that cannot reach it.
  virtual bool interruptTool() = 0;
  // Ends the tool outright; its end is still to come through onToolEnded().
  virtual void endToolNow() = 0;
  // Has the event loop call onFinishPosted() once the caller has returned.
  virtual void postFinish() = 0;
  // Has the event loop call onKillTimer() once `grace` has passed, unless cancelled first.
  virtual void armKillTimer(std::chrono::milliseconds grace) = 0;
  virtual void cancelKillTimer() = 0;
};

// The result file as a run writes it; the program's is a platform::RegularFileWriter.
class ResultFile {
 public:
  virtual ~ResultFile() = default;
  virtual platform::FileAccess open(const std::filesystem::path& file) = 0;
  virtual bool write(std::string_view bytes) = 0;
  virtual bool close() = 0;
  [[nodiscard]] virtual bool isOpen() const = 0;
};

// One run of a tool at a time: its result file and cap, its stop, and how it ended.
class RunState {
 public:
  // How long a tool asked to stop may take to end before it is ended outright.
  static constexpr std::chrono::milliseconds kStopGrace{1000};

  // Without a file of its own, the run writes a regular file of the platform.
  explicit RunState(RunHost& host, std::unique_ptr<ResultFile> file = nullptr);

  void setHandlers(ToolRunner::Handlers handlers) { handlers_ = std::move(handlers); }
  void setStopGrace(std::chrono::milliseconds grace) { stopGrace_ = grace; }
  void setResultFileLimit(std::uint64_t bytes) { resultLimit_ = bytes; }
  [[nodiscard]] bool running() const { return running_; }
  // A run's end waits for the event loop (see onFinishPosted).
  [[nodiscard]] bool finishPending() const { return running_ && pendingEnd_.has_value(); }

  // Begins a run of the tool; true when the face is to start the tool now. False while a tool
  // runs, or when the result file cannot be written: that end is then reported from the loop.
  bool begin(Tool tool, const std::filesystem::path& folder);
  // The tool could not be started: the note is its result file, and the end follows from the loop.
  void notStarted(std::string_view note);
  // The process reported that it failed to start: the note is written, shown, and the end reported.
  void failedToStart(std::string_view note);

  void onOutput(std::string_view bytes);
  // The tool's process has gone, all its output read.
  void onToolEnded();
  void onFinishPosted();
  void onKillTimer();

  // Asks the tool to end, and ends it if it is still there after the grace.
  void stop();
  // The face has killed the tool: the run is over and nothing is reported.
  void abandon();

 private:
  void store(std::string_view bytes);
  void closeResult();
  void endTool();
  void finishLater(RunEnd end);
  void finishNow(RunEnd end);
  void cancelKillTimer();

  RunHost& host_;
  std::unique_ptr<ResultFile> result_;
  ToolRunner::Handlers handlers_;
  std::chrono::milliseconds stopGrace_ = kStopGrace;
  std::uint64_t resultLimit_ = kResultFileLimit;
  ResultCap cap_;
  bool running_ = false;
  bool stopping_ = false;
  bool stored_ = true;  // every byte of the output so far is in the result file
  bool killTimerArmed_ = false;
  std::optional<RunEnd> pendingEnd_;
};

}  // namespace lumeno::iptools
