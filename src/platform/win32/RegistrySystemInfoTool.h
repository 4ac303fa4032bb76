// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include <windows.h>

#include "platform/SystemInfoTool.h"

namespace lumeno::platform {

// The tool the registry names under `root` (the local-machine root unless a test gives another):
// the "PATH" value of "SOFTWARE\Microsoft\Shared Tools\MSINFO" as it stands, not checked on disk;
// otherwise MSINFO32.EXE in the folder that "SOFTWARE\Microsoft\Shared Tools Location" names
// ("MSINFO"), when that file is there. A "PATH" value of no bytes ends the search with nothing.
class RegistrySystemInfoTool : public SystemInfoTool {
 public:
  explicit RegistrySystemInfoTool(HKEY root = HKEY_LOCAL_MACHINE) : root_(root) {}
  [[nodiscard]] std::optional<std::string> find() const override;

 private:
  HKEY root_;
};

// A value that reports a size of 0 bytes: an error, not an empty text.
class RegistryValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Value `valueName` of key `keyName` under `root`, the key opened for reading only, as text: a
// string's text (with or without a stored terminating NUL), a 32-bit number's decimal digits, and
// the empty text for any other type. Nothing when the key or the value is missing or the value
// is longer than 1024 bytes. Throws RegistryValueError for a value of size 0.
std::optional<std::string> readRegistryText(HKEY root, const std::string& keyName,
                                            const std::string& valueName);

}  // namespace lumeno::platform
