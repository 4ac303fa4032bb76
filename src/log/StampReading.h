// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/StampLayout.h"

// Reading a log stamp's date and time back, with the regional layout that wrote them.
namespace lumeno::log {

// Seconds on the local wall clock, counted from 1 January 1970 as if no clock was ever set or
// shifted: only differences mean anything, and a clock set back makes them negative.
using WallSeconds = std::int64_t;

[[nodiscard]] WallSeconds wallSeconds(int year, int month, int day, int hour, int minute, int second);

// The moment a stamp's date and time texts stand for; nothing when they do not follow the
// layout or name no real date and time.
[[nodiscard]] std::optional<WallSeconds> readStamp(const platform::StampLayout& layout, std::string_view date,
                                                   std::string_view time);

// A length of time as people read it: "2 h 5 min 30 s", "30 s", "1 d 3 h"; parts that are zero
// left out ("2 h"), "0 s" for nothing.
[[nodiscard]] std::string lengthText(std::int64_t seconds);

}  // namespace lumeno::log
