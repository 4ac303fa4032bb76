// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/DesktopEntry.h"

namespace lumeno::settings {
namespace {

// Control characters other than the three that string values can carry as escapes.
bool hasUnwritableControl(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\n' && c != '\r' && c != '\t') || byte == 0x7F) return true;
  }
  return false;
}

}  // namespace

std::string execArgument(std::string_view argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
    if (c == '%') quoted += '%';
  }
  quoted += '"';
  return escapeStringValue(quoted);
}

std::string escapeStringValue(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case ' ': out += (i == 0) ? "\\s" : " "; break;
      default: out += c;
    }
  }
  return out;
}

bool isUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      codePoint = lead & 0x07u;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      codePoint = (codePoint << 6u) | (next & 0x3Fu);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000) ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string_view folderOf(std::string_view program) {
  const std::size_t slash = program.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return program.substr(0, slash);
}

std::optional<std::string> autostartEntry(std::string_view name, std::string_view program) {
  if (program.empty() || program.front() != '/' || program.back() == '/') return std::nullopt;
  if (!isUtf8(program) || !isUtf8(name) || hasUnwritableControl(program)) return std::nullopt;
  if (name.empty() || name.find_first_of("\r\n\t") != name.npos || hasUnwritableControl(name))
    return std::nullopt;

  std::string entry = "[Desktop Entry]\n";
  entry += "Type=Application\n";
  entry.append("Name=").append(escapeStringValue(name)).append("\n");
  entry.append("Comment=Starts ").append(escapeStringValue(name)).append(" when you log in\n");
  entry.append("Exec=").append(execArgument(program)).append("\n");
  // A program removed since is then not started at log-in (a plain string value, no Exec quoting).
  entry.append("TryExec=").append(escapeStringValue(program)).append("\n");
  entry.append("Path=").append(escapeStringValue(folderOf(program))).append("\n");
  entry += "Terminal=false\n";
  return entry;
}

}  // namespace lumeno::settings
