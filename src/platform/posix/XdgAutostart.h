// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "platform/Autostart.h"

namespace lumeno::platform {

// Start at log-in through a per-user XDG autostart entry, "Lumeno.desktop" in the autostart
// folder: its Exec is the program's full path, started from the program's own folder (Path).
class XdgAutostart : public Autostart {
 public:
  XdgAutostart(std::filesystem::path autostartFolder, std::filesystem::path program);

  // The folder "$XDG_CONFIG_HOME/autostart", or "~/.config/autostart" when that is unset, empty
  // or relative.
  static XdgAutostart fromEnvironment(std::filesystem::path program);

  [[nodiscard]] std::filesystem::path entryFile() const { return folder_ / "Lumeno.desktop"; }

  bool enable() override;
  bool disable() override;
  [[nodiscard]] bool isEnabled() const override;

 private:
  std::filesystem::path folder_;
  std::filesystem::path program_;
};

}  // namespace lumeno::platform
