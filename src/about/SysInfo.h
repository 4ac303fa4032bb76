// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "common/AppContext.h"
#include "platform/SystemInfoTool.h"

namespace lumeno::about {

inline constexpr std::string_view kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Starts the system-information tool that `tool` finds, or tells the user it is unavailable when
// there is none or it cannot be started. Nothing waits for the tool. Used by the about box's
// "Sys Info" button and the main window's "System info" command.
void startSysInfo(const AppContext& context, const platform::SystemInfoTool& tool);

}  // namespace lumeno::about
