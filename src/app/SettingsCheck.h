// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "common/AppContext.h"

namespace lumeno::app {

inline constexpr std::string_view kSettingsMissingMessage =
    "Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno";

// Whether Lumeno.ini lies in the program's folder. When it does not, the user is told (an OK box
// without an icon, titled "Lumeno") and the program is to end; nothing is logged.
bool settingsFilePresent(const AppContext& context);

}  // namespace lumeno::app
