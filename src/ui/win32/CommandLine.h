// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumeno::win32ui {

// What Lumeno.exe answers, in a message box, to /? (or --help) and to --version; nothing when
// the command line asks for neither and the program runs as always.
std::optional<std::wstring> commandLineAnswer(std::wstring_view commandLine);

}  // namespace lumeno::win32ui
