// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <string_view>

#include "platform/SystemInfoTool.h"
#include "platform/posix/PosixLauncher.h"

namespace lumeno::platform {
namespace {

// The first well-known desktop tool found on the search path.
class DesktopSystemInfoTool : public SystemInfoTool {
 public:
  [[nodiscard]] std::optional<std::string> find() const override {
    // Dedicated system-information viewers first, then the desktops' own information centres,
    // then general system monitors that also show the hardware.
    static constexpr std::array<std::string_view, 6> kTools{
        "hardinfo2", "hardinfo", "kinfocenter", "cpu-x", "gnome-system-monitor", "lshw-gtk",
    };
    const PosixLauncher launcher;
    for (const std::string_view name : kTools) {
      if (const auto found = launcher.findProgram(std::string(name))) return found->string();
    }
    return std::nullopt;
  }
};

}  // namespace

const SystemInfoTool& systemInfoTool() {
  static const DesktopSystemInfoTool tool;
  return tool;
}

}  // namespace lumeno::platform
