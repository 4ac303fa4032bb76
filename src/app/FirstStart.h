// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AppContext.h"

namespace lumeno::app {

enum class FilesReady { Yes, SettingsMissing, Failed };

// Makes the settings file ready where the context puts it, telling the user what went wrong:
// portable, the file beside the program must exist; installed, the user's file is made at the
// first start from the packaged default, in folders made with the user's own permissions.
// Only when neither the user's file nor the packaged default exists is the settings file
// called missing. Whatever fails, no file that was there is changed.
FilesReady prepareUserFiles(const AppContext& context);

}  // namespace lumeno::app
