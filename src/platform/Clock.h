// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
};

}  // namespace lumeno::platform
