// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads an autostart entry back the way a desktop's launcher does.
namespace lumeno::test {

// The value of `key` in a desktop entry, with its string escapes undone.
inline std::optional<std::string> entryValue(const std::string& entry, const std::string& key) {
  const std::size_t at = entry.find("\n" + key + "=");
  if (at == std::string::npos) return std::nullopt;
  std::string value;
  for (std::size_t i = at + key.size() + 2; i < entry.size() && entry[i] != '\n'; ++i) {
    if (entry[i] != '\\') {
      value += entry[i];
    } else if (const std::size_t escape = std::string_view("s\\ntr").find(entry[++i]); escape != value.npos) {
      value += " \\\n\t\r"[escape];
    } else {
      return std::nullopt;
    }
  }
  return value;
}

// An Exec value split into words as a launcher does: at spaces outside double quotes, inside
// which \", \`, \$ and \\ stand for the character; then "%%" is a literal "%".
inline std::optional<std::vector<std::string>> parseExec(std::string_view value) {
  std::vector<std::string> argv;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (!inWord && (quoted || c != ' ')) argv.emplace_back();
    inWord = quoted || c != ' ';
    if (c == '\\' &&
        (!quoted || ++i == value.size() || std::string_view("\"`$\\").find(value[i]) == value.npos)) {
      return std::nullopt;
    }
    if (c == '%' && (++i == value.size() || value[i] != '%')) return std::nullopt;
    quoted = quoted != (c == '"');
    if (inWord && c != '"') argv.back() += value[i];
  }
  return quoted ? std::nullopt : std::optional(argv);
}

}  // namespace lumeno::test
