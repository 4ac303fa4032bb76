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

// What the shell is handed for a URL: a file: URL becomes the file's own path in UTF-16 (the
// shell would read its percent-encoded UTF-8 bytes as one character each, and loses the place
// after '#' anyway); any other URL goes as it is.
[[nodiscard]] std::wstring shellTargetOf(std::string_view url);

// One command-line argument quoted so that the system's own splitting (CommandLineToArgvW and
// the C runtime) reads it back exactly: quotes and the backslashes before them are escaped.
[[nodiscard]] std::wstring quotedArgument(std::wstring_view argument);

}  // namespace lumeno::platform
