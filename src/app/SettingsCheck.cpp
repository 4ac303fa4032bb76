// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsCheck.h"

#include <string>

#include "common/MessageBoxes.h"
#include "platform/Files.h"

namespace lumeno::app {

bool settingsFilePresent(const AppContext& context) {
  if (platform::fileExists(context.file("Lumeno.ini"))) return true;
  context.boxes->show({std::string(kSettingsMissingMessage), "Lumeno", BoxIcon::None, BoxButtons::Ok});
  return false;
}

}  // namespace lumeno::app
