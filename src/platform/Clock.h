#pragma once

#include <chrono>
#include <string>

namespace lumeno::platform {

// The local date and time as the desktop's regional settings write them.
struct DateTimeText {
  std::string shortDate;  // e.g. "05/12/2026"
  std::string longTime;   // e.g. "11:26:06", never with a time-zone name
};

class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual DateTimeText now() const = 0;
  // A steady reading for measuring how long something lasted: it never jumps when the wall
  // clock is set or the time zone changes. Only differences between two readings mean anything.
  [[nodiscard]] virtual std::chrono::milliseconds steadyNow() const = 0;
};

}  // namespace lumeno::platform
