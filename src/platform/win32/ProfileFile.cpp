// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <optional>
#include <string>

#include <windows.h>

#include "formats/ProfileText.h"
#include "platform/Files.h"

namespace lumeno::platform {

ProfileRead readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultText, std::size_t size) {
  const std::optional<std::string> bytes = readFile(file);
  settings::ProfileString read = settings::readProfileText(
      bytes ? std::string_view(*bytes) : std::string_view(), section, key, defaultText, size);
  return {read.count, std::move(read.text)};
}

// No lock between copies here yet: the wait is unused, and the last of two writers wins.
bool writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value, std::chrono::milliseconds /*lockWait*/) {
  std::string old;
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    std::optional<std::string> bytes = readFile(file);
    if (!bytes) return false;  // never replace a file we could not read with a near-empty one
    old = std::move(*bytes);
  }
  const std::optional<std::string> updated = settings::writeProfileText(old, section, key, value);
  if (!updated) return false;
  if (exists && *updated == old) return true;  // it already says so: nothing to replace
  return replaceFileAtomically(file, *updated);
}

}  // namespace lumeno::platform
