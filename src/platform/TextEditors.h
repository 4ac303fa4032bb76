// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

namespace lumeno::platform {

// This platform's graphical plain-text editors, the most common first.
std::span<const std::string_view> textEditors();

}  // namespace lumeno::platform
