#pragma once

#include "platform/Clock.h"

namespace lumeno::platform {

// Today's date in the user's short date format and the time in the user's long time format, as
// the regional settings write them.
class Win32Clock : public Clock {
 public:
  [[nodiscard]] DateTimeText now() const override;
  [[nodiscard]] std::chrono::milliseconds steadyNow() const override;
};

}  // namespace lumeno::platform
