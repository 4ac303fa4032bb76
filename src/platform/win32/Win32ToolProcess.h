// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/ToolProcess.h"
#include "platform/win32/Handle.h"

namespace lumeno::platform {

// A console tool through CreateProcessW: no shell, no console window, each argument quoted so
// that the tool reads it back exactly, standard output and error through one pipe read by a
// thread of our own as the bytes come.
class Win32ToolProcess final : public ToolProcess {
 public:
  Win32ToolProcess() = default;
  Win32ToolProcess(const Win32ToolProcess&) = delete;
  Win32ToolProcess& operator=(const Win32ToolProcess&) = delete;
  // A tool still running goes with its owner.
  ~Win32ToolProcess() override;

  bool start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
             const std::filesystem::path& workingFolder, Output output, Ended ended,
             std::string& error) override;
  void stop() override;
  void wait() override;
  [[nodiscard]] bool running() const override { return running_; }

  // Asks the running tool to end as Ctrl+C would, so that it can still print its summary: the
  // program joins the tool's hidden console for a moment and sends the console Ctrl+C, which it
  // ignores itself. False when that could not be done; the tool runs on then.
  bool interrupt();
  // The running tool's process id, 0 when none runs.
  [[nodiscard]] unsigned long processId() const;

 private:
  void readUntilEnd(Handle pipe, const Output& output, const Ended& ended);

  std::mutex processLock_;
  Handle process_;
  unsigned long processId_ = 0;
  std::thread reader_;
  std::atomic<bool> running_{false};
};

// The full command line CreateProcessW gets: the program, then each argument, every one quoted.
[[nodiscard]] std::wstring toolCommandLine(const std::filesystem::path& program,
                                           const std::vector<std::string>& arguments);

}  // namespace lumeno::platform
