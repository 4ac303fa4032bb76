// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The program keeps text as UTF-8; Windows speaks UTF-16.
namespace lumeno::platform {

[[nodiscard]] std::wstring toWide(std::string_view utf8);
[[nodiscard]] std::string toUtf8(std::wstring_view wide);

}  // namespace lumeno::platform
