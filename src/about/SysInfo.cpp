// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfo.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "about/SysInfoLookup.h"
#include "common/MessageBoxes.h"
#include "common/PathText.h"
#include "platform/Launcher.h"

namespace lumeno::about {
namespace {

std::optional<std::string> desktopTool(const platform::Launcher& launcher) {
  for (const std::string_view name : desktopSysInfoTools()) {
    if (const auto found = launcher.findProgram(std::string(name))) return pathText(*found);
  }
  return std::nullopt;
}

}  // namespace

bool isRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(pathFromText(path), error);
}

void StartSysInfo(const AppContext& context, const platform::Registry& registry, const FileTest& isFile) {
  try {
    std::optional<std::string> program = sysInfoProgramFromRegistry(registry, isFile);
    if (!program) program = desktopTool(*context.launcher);
    if (program && context.launcher->startDetached(*program, {})) return;
  } catch (const std::exception&) {
    // An unreadable registry entry (or any other failure) ends the search: the message below.
  }
  context.boxes->show({std::string(kSysInfoUnavailable), "Lumeno", BoxIcon::None, BoxButtons::Ok});
}

}  // namespace lumeno::about
