// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/CommandLine.h"

#include <vector>

#include "common/Version.h"

namespace lumeno::win32ui {
namespace {

std::vector<std::wstring_view> wordsOf(std::wstring_view line) {
  std::vector<std::wstring_view> words;
  std::size_t at = 0;
  while ((at = line.find_first_not_of(L" \t", at)) != std::wstring_view::npos) {
    const std::size_t end = line.find_first_of(L" \t", at);
    words.push_back(line.substr(at, end == std::wstring_view::npos ? end : end - at));
    at = end;
  }
  return words;
}

std::wstring versionText() {
  const std::string_view text = version::text;
  return L"Lumeno " + std::wstring(text.begin(), text.end());
}

}  // namespace

std::optional<std::wstring> commandLineAnswer(std::wstring_view commandLine) {
  bool version = false;
  for (const std::wstring_view word : wordsOf(commandLine)) {
    if (word == L"/?" || word == L"-?" || word == L"--help" || word == L"-h") {
      return L"Usage: Lumeno.exe [/? | --version]\n\n"
             L"Shows the local IPv4 address and whether the computer is connected to the Internet.\n\n"
             L"/?\tShow this help.\n--version\tShow the version.";
    }
    version = version || word == L"--version" || word == L"-v";
  }
  if (version) return versionText();
  return std::nullopt;
}

}  // namespace lumeno::win32ui
