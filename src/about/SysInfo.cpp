// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfo.h"

#include <exception>
#include <optional>
#include <string>

#include "common/MessageBoxes.h"
#include "platform/Launcher.h"

namespace lumeno::about {

void startSysInfo(const AppContext& context, const platform::SystemInfoTool& tool) {
  try {
    const std::optional<std::string> program = tool.find();
    if (program && context.launcher->startDetached(*program, {})) return;
  } catch (const std::exception&) {
    // Any failure on the way ends in the message below.
  }
  context.boxes->show({std::string(kSysInfoUnavailable), "Lumeno", BoxIcon::None, BoxButtons::Ok});
}

}  // namespace lumeno::about
