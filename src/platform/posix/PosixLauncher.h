// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Launcher.h"

namespace lumeno::platform {

// Hands URLs to xdg-open and starts programs detached from this one.
class PosixLauncher : public Launcher {
 public:
  void openUrl(const std::string& url) override;
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
  [[nodiscard]] std::optional<std::filesystem::path> findProgram(const std::string& name) const override;
};

}  // namespace lumeno::platform
