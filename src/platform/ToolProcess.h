// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumeno::platform {

// One console tool started directly with its argument list, never through a shell, with nothing
// on its standard input; its standard output and standard error arrive together, as they come.
class ToolProcess {
 public:
  // Both are called on a reader thread of the process, never on the caller's: `output` with each
  // piece of bytes as it arrives, then `ended` once with the exit code after the last piece.
  using Output = std::function<void(std::string_view bytes)>;
  using Ended = std::function<void(unsigned exitCode)>;

  virtual ~ToolProcess() = default;
  // False (and no callback ever) when the program could not be started; `error` then says why.
  virtual bool start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                     const std::filesystem::path& workingFolder, Output output, Ended ended,
                     std::string& error) = 0;
  // Ends the running tool; `ended` still follows.
  virtual void stop() = 0;
  // Waits until the tool has ended and every callback has returned.
  virtual void wait() = 0;
  [[nodiscard]] virtual bool running() const = 0;
};

}  // namespace lumeno::platform
