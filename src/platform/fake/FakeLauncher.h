// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Launcher.h"

namespace lumeno::platform {

// Records what would have been handed to the desktop; "installs" programs by name.
class FakeLauncher : public Launcher {
 public:
  struct Start {
    std::string program;
    std::vector<std::string> arguments;
  };

  void openUrl(const std::string& url) override { openedUrls.push_back(url); }
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments) override {
    started.push_back({program, arguments});
    return startSucceeds;
  }
  [[nodiscard]] std::optional<std::filesystem::path> findProgram(const std::string& name) const override {
    const auto it = installed.find(name);
    if (it == installed.end()) return std::nullopt;
    return it->second;
  }

  std::vector<std::string> openedUrls;
  std::vector<Start> started;
  std::map<std::string, std::filesystem::path> installed;
  bool startSucceeds = true;
};

}  // namespace lumeno::platform
