// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextEditors.h"

#include <array>

namespace lumeno::platform {

std::span<const std::string_view> textEditors() {
  static constexpr std::array<std::string_view, 1> kEditors{"notepad.exe"};
  return kEditors;
}

}  // namespace lumeno::platform
