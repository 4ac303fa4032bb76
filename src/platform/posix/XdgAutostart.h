// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "platform/Autostart.h"

namespace lumeno::platform {

// Start at log-in through a per-user XDG autostart entry: the value "Lumeno.exe" is the file
// "Lumeno.desktop" in the autostart folder, and its data (the program's full path) becomes the
// entry's Exec, started from the program's own folder (Path). The hive and key path have no
// counterpart here: the entry is always the current user's.
class XdgAutostart : public Autostart {
 public:
  explicit XdgAutostart(std::filesystem::path autostartFolder);

  // "$XDG_CONFIG_HOME/autostart", or "~/.config/autostart" when that is unset, empty or relative.
  static XdgAutostart fromEnvironment();

  [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }
  // The entry file that stands for a value name.
  [[nodiscard]] std::filesystem::path entryFile(const std::string& valueName) const;

  bool writeValue(Hive hive, const std::string& keyPath, const std::string& valueName,
                  const std::string& data) override;
  bool deleteValue(Hive hive, const std::string& keyPath, const std::string& valueName) override;

 private:
  std::filesystem::path folder_;
};

}  // namespace lumeno::platform
