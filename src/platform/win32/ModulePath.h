// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace lumeno::platform {

// The running program's file, read as UTF-16 from the system, however long and in whatever script
// its folder is named; its parent is the program's folder.
[[nodiscard]] std::filesystem::path modulePath();

}  // namespace lumeno::platform
