// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AppContext.h"
#include "platform/SingleInstance.h"

namespace lumeno::app {

// The checks made before the main window exists.
enum class StartCheck { Go, AlreadyRunning, SettingsMissing, FilesFailed };

// Another copy running: end silently. No Lumeno.ini (nor, installed, a packaged default to make
// the user's from): tell the user, then end; nothing is logged. The user's folders that cannot
// be made: tell the user, then end.
StartCheck checkBeforeStart(const AppContext& context, const platform::SingleInstance& instance);

}  // namespace lumeno::app
