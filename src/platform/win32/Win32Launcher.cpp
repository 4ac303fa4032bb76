// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32Launcher.h"

#include <array>

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/Text.h"

namespace lumeno::platform {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const int high = at + 2 < text.size() && text[at] == '%' ? hexValue(text[at + 1]) : -1;
    const int low = high >= 0 ? hexValue(text[at + 2]) : -1;
    if (low < 0) {
      bytes += text[at];
      continue;
    }
    bytes += static_cast<char>(high * 16 + low);
    at += 2;
  }
  return bytes;
}

}  // namespace

std::wstring shellTargetOf(std::string_view url) {
  constexpr std::string_view kScheme = "file:";
  if (!url.starts_with(kScheme)) return toWide(url);
  std::string_view rest = url.substr(kScheme.size());
  rest = rest.substr(0, rest.find('#'));
  // file:///C:/... is a drive path, file://host/share/... a network share.
  if (rest.starts_with("///")) {
    rest.remove_prefix(3);
  } else if (!rest.starts_with("//")) {
    return toWide(url);
  }
  std::wstring path = toWide(percentDecoded(rest));
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

std::wstring quotedArgument(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    return std::wstring(argument);
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as escapes only before a quote: double them there.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  // Before the closing quote too.
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

void Win32Launcher::openUrl(const std::string& url) {
  // The shell's result is not examined.
  ::ShellExecuteW(nullptr, L"open", shellTargetOf(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Win32Launcher::startDetached(const std::string& program, const std::vector<std::string>& arguments) {
  std::wstring parameters;
  for (const std::string& argument : arguments) {
    if (!parameters.empty()) parameters += L' ';
    parameters += quotedArgument(toWide(argument));
  }
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", toWide(program).c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;  // values up to 32 are the shell's error codes
}

std::optional<std::filesystem::path> Win32Launcher::findProgram(const std::string& name) const {
  std::array<wchar_t, MAX_PATH> found{};
  const DWORD length = ::SearchPathW(nullptr, toWide(name).c_str(), L".exe", static_cast<DWORD>(found.size()),
                                     found.data(), nullptr);
  if (length == 0 || length >= found.size()) return std::nullopt;
  return std::filesystem::path(std::wstring(found.data(), length));
}

}  // namespace lumeno::platform
