#pragma once

#include <cstdint>

namespace lumeno::iptools {

// A double-click on a tool's button starts the tool with its first click; its second click
// reaches the same button, which by then reads "Stop". That second click must not end the run
// it has just started, so a Stop click within the desktop's double-click interval after the
// start is ignored. Times are monotonic milliseconds, given in by the caller.
class StopClickGuard {
 public:
  void started(std::int64_t nowMs) { startedMs_ = nowMs; }
  // Whether a Stop click at `nowMs` is meant as one.
  [[nodiscard]] bool acceptsStopAt(std::int64_t nowMs, std::int64_t doubleClickIntervalMs) const;

 private:
  std::int64_t startedMs_ = 0;
};

}  // namespace lumeno::iptools
