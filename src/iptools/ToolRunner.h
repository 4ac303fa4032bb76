// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "iptools/ToolCommands.h"

namespace lumeno::iptools {

// How a run ended.
enum class RunEnd {
  Ran,               // the tool ran to its end
  Stopped,           // stop() ended it
  Cut,               // its result file became full, so it was ended
  ResultUnwritable,  // the result file could not be opened for writing; nothing was started
  ResultNotRegular,  // a named pipe, a device or a folder is in the result file's place
  NotStarted,        // the tool is missing or could not be started; the result file says why
  NotStored,         // the tool ran (to its end or not), but its output could not all be stored
                     // in the result file (a full disk): only the output shown has it all
};

// Whether the run started the tool's process.
[[nodiscard]] bool startedTheTool(RunEnd end);

// Runs one console tool at a time without blocking the window. Each platform turns the request
// into its own command (an argument list here, a command line on Windows), never through a
// shell, with the results' folder as working folder and nothing on the tool's input. The tool's
// output goes, as it arrives, into the result file (at most kResultFileLimit of it) and out
// through the output handler.
class ToolRunner {
 public:
  struct Handlers {
    // Bytes of the tool's output, exactly as they went into the result file.
    std::function<void(std::string_view bytes)> output;
    // The tool has ended and its result file is closed. Always reported from the event loop,
    // after start() has returned, also when nothing could be started.
    std::function<void(RunEnd end)> finished;
  };

  virtual ~ToolRunner() = default;

  virtual void setHandlers(Handlers handlers) = 0;
  // Starts the tool for the request, emptying its result file in `folder` first. Ignored while a
  // tool runs.
  virtual void start(const ToolRequest& request, const std::filesystem::path& folder) = 0;
  // Asks the running tool to end as Ctrl+C would, so that it can still print its summary, and
  // kills it if it is still there a second later. finished follows once it has gone.
  virtual void stop() = 0;
  // Kills the running tool and waits for it to go, reporting nothing (its window is closing).
  virtual void kill() = 0;
  // The running tool's process id, 0 when no process runs.
  [[nodiscard]] virtual std::int64_t processId() const = 0;
};

}  // namespace lumeno::iptools
