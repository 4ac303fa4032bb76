// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Launcher.h"

namespace lumeno::platform {

// Hands URLs and programs to the shell (its default action, in a normal window).
class Win32Launcher : public Launcher {
 public:
  void openUrl(const std::string& url) override;
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
  [[nodiscard]] std::optional<std::filesystem::path> findProgram(const std::string& name) const override;
};

// One command-line argument quoted so that the system's own splitting (CommandLineToArgvW and
// the C runtime) reads it back exactly: quotes and the backslashes before them are escaped.
[[nodiscard]] std::wstring quotedArgument(std::wstring_view argument);

}  // namespace lumeno::platform
