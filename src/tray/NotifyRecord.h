// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumeno::tray {

// The icon's notification record: one icon, its callback message and its tip, in the 88-byte
// layout with an 8-bit tip field. The tip field holds UTF-8 text followed by a NUL.
struct NotifyRecord {
  static constexpr std::size_t kTipField = 64;                // bytes, the NUL included
  static constexpr std::size_t kTipMaxBytes = kTipField - 1;  // 63

  std::uint32_t cbSize = 88;
  std::uint32_t hWnd = 0;  // notifications arrive as Qt signals here, so no window receives them
  std::uint32_t uID = 1;
  std::uint32_t uFlags = 7;  // message (1) + icon (2) + tip (4)
  std::uint32_t uCallbackMessage = 512;
  std::uint32_t hIcon = 0;  // the current icon picture's handle; 0 until the first icon is set
  std::array<char, kTipField> szTip{};

  // Fills the tip field with the text cut by cutTip, followed by NULs.
  void setTip(std::string_view text);
  // The tip as it stands in the field: up to the first NUL.
  [[nodiscard]] std::string tip() const;
};

static_assert(sizeof(NotifyRecord) == 88, "the record keeps its platform size");

// The longest start of `text` that fits the tip field with its NUL: at most 63 bytes, never
// ending inside a UTF-8 character, and never ending on the CR of a CR LF line break.
[[nodiscard]] std::string_view cutTip(std::string_view text);

}  // namespace lumeno::tray
