// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumeno::platform {

// Hands things to the desktop: web pages, mail composers and other programs.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // The desktop's default action for a URL (http:, file:, mailto:). The result is not examined.
  virtual void openUrl(const std::string& url) = 0;
  // Starts a program without waiting for it; false when it could not be started.
  virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // The full path of a program found on the search path, if any.
  [[nodiscard]] virtual std::optional<std::filesystem::path> findProgram(const std::string& name) const = 0;
};

}  // namespace lumeno::platform
