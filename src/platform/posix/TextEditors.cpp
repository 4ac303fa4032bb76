// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextEditors.h"

#include <array>

namespace lumeno::platform {

std::span<const std::string_view> textEditors() {
  static constexpr std::array<std::string_view, 10> kEditors{
      "gnome-text-editor", "gedit",   "kate",  "kwrite", "mousepad", "pluma", "xed",
      "featherpad",        "leafpad", "geany",
  };
  return kEditors;
}

}  // namespace lumeno::platform
