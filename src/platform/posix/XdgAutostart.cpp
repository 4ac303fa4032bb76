// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/XdgAutostart.h"

#include <cerrno>
#include <optional>
#include <string>
#include <utility>

#include <unistd.h>

#include "common/PathText.h"
#include "formats/DesktopEntry.h"
#include "platform/Files.h"
#include "platform/UserFolders.h"

namespace lumeno::platform {

XdgAutostart::XdgAutostart(std::filesystem::path autostartFolder, std::filesystem::path program)
    : folder_(std::move(autostartFolder)), program_(std::move(program)) {}

XdgAutostart XdgAutostart::fromEnvironment(std::filesystem::path program) {
  // XDG base directories must be absolute paths; a relative value is ignored.
  const UserEnvironment user = readUserEnvironment();
  if (!user.xdgConfigHome.empty() && user.xdgConfigHome.front() == '/') {
    return {std::filesystem::path(user.xdgConfigHome) / "autostart", std::move(program)};
  }
  const std::filesystem::path home = user.home.empty() ? std::filesystem::path("/") : user.home;
  return {home / ".config" / "autostart", std::move(program)};
}

bool XdgAutostart::enable() {
  const std::optional<std::string> entry = settings::autostartEntry("Lumeno", pathText(program_));
  if (!entry) return false;
  if (makeFolders(folder_).has_value()) return false;  // start at log-in fails silently
  const std::filesystem::path file = entryFile();
  if (readFile(file) == entry) return true;  // already starts this program from this folder
  return replaceFileAtomically(file, *entry);
}

bool XdgAutostart::disable() {
  if (::unlink(entryFile().c_str()) == 0) return true;
  return errno == ENOENT;
}

bool XdgAutostart::isEnabled() const {
  const std::optional<std::string> entry = settings::autostartEntry("Lumeno", pathText(program_));
  return entry && readFile(entryFile()) == entry;
}

std::unique_ptr<Autostart> makeAutostart(const std::filesystem::path& executable) {
  return std::make_unique<XdgAutostart>(XdgAutostart::fromEnvironment(executable));
}

}  // namespace lumeno::platform
