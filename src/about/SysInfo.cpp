#include "about/SysInfo.h"

#include <exception>
#include <optional>
#include <string>

#include "about/SysInfoLookup.h"
#include "common/MessageBoxes.h"
#include "platform/Files.h"
#include "platform/Launcher.h"

namespace lumeno::about {
namespace {

std::optional<std::string> desktopTool(const platform::Launcher& launcher) {
  for (const std::string_view name : desktopSysInfoTools()) {
    if (const auto found = launcher.findProgram(std::string(name))) return found->string();
  }
  return std::nullopt;
}

}  // namespace

void StartSysInfo(const AppContext& context, const platform::Registry& registry) {
  try {
    std::optional<std::string> program = sysInfoProgramFromRegistry(
        registry, [](const std::string& path) { return platform::fileExists(path); });
    if (!program) program = desktopTool(*context.launcher);
    if (program && context.launcher->startDetached(*program, {})) return;
  } catch (const std::exception&) {
    // An unreadable registry entry (or any other failure) ends the search: the message below.
  }
  context.boxes->show({std::string(kSysInfoUnavailable), "Lumeno", BoxIcon::None, BoxButtons::Ok});
}

void StartSysInfo(const AppContext& context) {
  StartSysInfo(context, platform::systemRegistry());
}

}  // namespace lumeno::about
