// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/Clock.h"
#include "platform/StampLayout.h"

namespace lumeno::test {

// A day of the log, read at noon: the program watched from midnight and lost the connection
// from six to eight.
inline const platform::DateTimeText kHistoryNoon{"05/12/2026", "12:00:00"};
inline constexpr const char* kHistoryLog =
    "[Lumeno Loaded] , Date : 05/12/2026 , Time : 00:00:00\r\n"
    "[Went Offline] , Date : 05/12/2026 , Time : 06:00:00\r\n"
    "[Back Online] , Date : 05/12/2026 , Time : 08:00:00 , Offline for : 02:00:00\r\n";

// Stamps as day/month/year and a 24-hour time.
inline platform::StampLayout dayMonthYearLayout() {
  using enum platform::StampPart;
  const auto parts = [](platform::StampPart a, platform::StampPart b, platform::StampPart c,
                        const char* between) {
    return std::vector<platform::StampField>{{a, {}}, {Text, between}, {b, {}}, {Text, between}, {c, {}}};
  };
  return {parts(Day, Month, Year, "/"), parts(Hour24, Minute, Second, ":"), {}, {}, {}};
}

}  // namespace lumeno::test
