// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <utility>

#include <windows.h>

#include "common/MessageBoxes.h"
#include "iptools/RunState.h"
#include "iptools/ToolRunner.h"
#include "platform/win32/Win32ToolProcess.h"

namespace lumeno::win32ui {

// The tool runner of the Windows build: ping.exe, tracert.exe and netstat.exe from the system
// folder through CreateProcessW, each typed text one argument, no shell. A thread reads the
// tool's output; the bytes reach the window's thread through its message queue, so the window
// never waits for a tool and never runs a loop of its own for one. The run itself is a RunState;
// this only drives the process and the message loop.
class Win32ToolRunner final : public iptools::ToolRunner, private iptools::RunHost {
 public:
  // The full path of the program of that name, or an empty path when there is none.
  using ProgramFinder = std::function<std::filesystem::path(const std::string& name)>;

  // How much output may wait for the window before the reader waits in turn (and so the tool).
  static constexpr std::size_t kWaitingOutputLimit = std::size_t{1} << 20;

  // A refused request is explained in a message box through `boxes` (none when it is null).
  explicit Win32ToolRunner(MessageBoxes* boxes = nullptr);
  Win32ToolRunner(const Win32ToolRunner&) = delete;
  Win32ToolRunner& operator=(const Win32ToolRunner&) = delete;
  ~Win32ToolRunner() override;

  // The program in the Windows system folder, where the three tools live; never the search path
  // or the program's own folder, where a file of the same name could stand in for them.
  static std::filesystem::path systemProgram(const std::string& name);
  void setProgramFinder(ProgramFinder finder) { finder_ = std::move(finder); }
  void setStopGrace(std::chrono::milliseconds grace) { run_.setStopGrace(grace); }
  void setResultFileLimit(std::uint64_t bytes) { run_.setResultFileLimit(bytes); }

  // ToolRunner
  void setHandlers(Handlers handlers) override { run_.setHandlers(std::move(handlers)); }
  void start(const iptools::ToolRequest& request, const std::filesystem::path& folder) override;
  void stop() override { run_.stop(); }
  void kill() override;
  [[nodiscard]] std::int64_t processId() const override;

  [[nodiscard]] bool isRunning() const { return run_.running(); }

 private:
  // RunHost
  [[nodiscard]] bool toolRunning() const override { return process_.running(); }
  bool interruptTool() override { return process_.interrupt(); }
  void endToolNow() override { process_.stop(); }
  void postFinish() override;
  void armKillTimer(std::chrono::milliseconds grace) override;
  void cancelKillTimer() override;

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void startProcess(const iptools::ToolRequest& request, const std::filesystem::path& folder);
  // The reader thread's side.
  void queueOutput(std::string_view bytes);
  void queueEnd();
  void wakeWindow();
  // The window's side.
  void takeQueued();

  MessageBoxes* boxes_;
  HWND window_ = nullptr;  // a message-only window of this runner
  ProgramFinder finder_;
  platform::Win32ToolProcess process_;
  iptools::RunState run_{*this};
  std::string refusal_;  // the message box of a refused request, shown before its end is reported

  // What the reader thread hands over.
  std::mutex queueLock_;
  std::condition_variable roomInQueue_;
  std::string queued_;
  bool toolEnded_ = false;
  bool woken_ = false;      // a wake-up message is on its way
  bool abandoned_ = false;  // the window has given up the run: the reader drops what comes
};

}  // namespace lumeno::win32ui
