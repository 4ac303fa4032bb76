#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads the Exec value of a desktop entry (as it stands in the file) into the argument vector a
// launcher would run, following the Desktop Entry Specification: string escapes first, then
// quoting, then "%%". Nothing when the value breaks the rules.
namespace lumeno::test {

inline std::optional<std::string> unescapeStringValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

inline std::optional<std::vector<std::string>> parseExec(std::string_view fileValue) {
  const std::optional<std::string> value = unescapeStringValue(fileValue);
  if (!value) return std::nullopt;
  const std::string_view reserved = "\t\n\"'\\><~|&;$*?#()`";
  std::vector<std::string> argv;
  std::optional<std::string> current;
  for (std::size_t i = 0; i < value->size(); ++i) {
    const char c = (*value)[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (current) argv.push_back(*current);
      current.reset();
      continue;
    }
    if (!current) current.emplace();
    if (c == '"') {
      for (++i;; ++i) {
        if (i >= value->size()) return std::nullopt;  // unterminated
        const char q = (*value)[i];
        if (q == '"') break;
        if (q == '\\') {
          if (++i >= value->size()) return std::nullopt;
          const char escaped = (*value)[i];
          if (escaped != '"' && escaped != '`' && escaped != '$' && escaped != '\\') return std::nullopt;
          *current += escaped;
        } else {
          *current += q;
        }
      }
      continue;
    }
    if (reserved.find(c) != std::string_view::npos) return std::nullopt;
    *current += c;
  }
  if (current) argv.push_back(*current);
  // Field codes: this entry has none, only literal percent signs written "%%".
  for (std::string& argument : argv) {
    std::string plain;
    for (std::size_t i = 0; i < argument.size(); ++i) {
      if (argument[i] == '%') {
        if (i + 1 >= argument.size() || argument[i + 1] != '%') return std::nullopt;
        ++i;
      }
      plain += argument[i];
    }
    argument = plain;
  }
  return argv;
}

}  // namespace lumeno::test
