// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/StampLayout.h"

namespace lumeno::platform {

// Today's date in the locale's short date format (D_FMT) and the time in its time format (T_FMT),
// as the C library formats them for LC_TIME; a stamp never carries a time zone.
class PosixClock : public Clock {
 public:
  [[nodiscard]] DateTimeText now() const override;
  [[nodiscard]] std::chrono::milliseconds steadyNow() const override;
};

// The strftime format with every time-zone conversion (%Z, %z and their flagged forms) taken out,
// along with the blanks or empty brackets it leaves: "%H:%M:%S %Z" becomes "%H:%M:%S".
[[nodiscard]] std::string withoutTimeZone(std::string_view format);

// Formats a broken-down time with the given date and time formats, zones taken out. A format that
// is empty (or nothing but a zone) falls back to the C locale's "%m/%d/%y" and "%H:%M:%S".
[[nodiscard]] DateTimeText formatDateTime(std::string_view dateFormat, std::string_view timeFormat,
                                          const std::tm& when);

// The layout of stamps written with these strftime formats (zones taken out, the same fallbacks);
// %r stands for `ampmFormat`. Day halves and names are the current LC_TIME locale's.
[[nodiscard]] StampLayout stampLayoutOf(std::string_view dateFormat, std::string_view timeFormat,
                                        std::string_view ampmFormat);

}  // namespace lumeno::platform
