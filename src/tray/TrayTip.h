// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace lumeno::tray {

// The most bytes of UTF-8 a tray tip shows: its field holds 64, the terminating NUL included.
inline constexpr std::size_t kTipMaxBytes = 63;

// The longest start of `text` that fits the tip: at most 63 bytes, never ending inside a UTF-8
// character, and never ending on the CR of a CR LF line break.
[[nodiscard]] std::string_view cutTip(std::string_view text);

}  // namespace lumeno::tray
