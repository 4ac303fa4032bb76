// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "common/AppContext.h"
#include "platform/Registry.h"

namespace lumeno::about {

// Whether a path names a normal file (not a folder) that exists.
using FileTest = std::function<bool(const std::string& path)>;

// The file test of this computer's file system.
bool isRegularFile(const std::string& path);

// Starts the system-information tool, or tells the user it is unavailable ("System Information
// Is Unavailable At This Time"). The tool is the one the registry names; on a system whose
// registry names none, the first well-known desktop tool found on the search path. Nothing
// waits for the tool. Used by the about box's "Sys Info" button and the main window's
// "System info" command.
void StartSysInfo(const AppContext& context, const platform::Registry& registry,
                  const FileTest& isFile = isRegularFile);

}  // namespace lumeno::about
