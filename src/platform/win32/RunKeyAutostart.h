// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "platform/Autostart.h"

namespace lumeno::platform {

// Start at log-in through the value "Lumeno.exe" of the registry's "Run" key. The program asks
// for the machine-wide key, which an ordinary user cannot write; the current user's own "Run" key
// is written instead, so the user's tick works and starts the program for that user.
class RunKeyAutostart : public Autostart {
 public:
  explicit RunKeyAutostart(std::filesystem::path executable,
                           std::wstring keyPath = L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN");

  bool enable() override;
  bool disable() override;
  [[nodiscard]] bool isEnabled() const override;

 private:
  std::filesystem::path executable_;
  std::wstring keyPath_;
};

// The value's data: the program's folder, a backslash unless the folder already ends with one,
// and the installed name ("C:\Tools" -> "C:\Tools\Lumeno.exe", "C:\" -> "C:\Lumeno.exe").
[[nodiscard]] std::wstring runValueData(const std::filesystem::path& executable);

}  // namespace lumeno::platform
