#pragma once

#include <chrono>

#include "platform/Clock.h"

namespace lumeno::platform {

// A clock that shows whatever the test sets.
class FakeClock : public Clock {
 public:
  [[nodiscard]] DateTimeText now() const override { return value; }
  [[nodiscard]] std::chrono::milliseconds steadyNow() const override { return steady; }
  DateTimeText value{"05/12/2026", "11:26:06"};
  std::chrono::milliseconds steady{1'000'000};
};

}  // namespace lumeno::platform
