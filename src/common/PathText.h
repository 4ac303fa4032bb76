// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The program keeps text as UTF-8. A path's string() on Windows converts to the ANSI code page,
// which loses every letter outside it (a folder named "Журнал" or "名前"); these two keep them.
namespace lumeno {

[[nodiscard]] inline std::string pathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

[[nodiscard]] inline std::filesystem::path pathFromText(std::string_view utf8) {
  return {std::u8string(utf8.begin(), utf8.end())};
}

}  // namespace lumeno
