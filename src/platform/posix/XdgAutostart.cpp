// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/XdgAutostart.h"

#include <cerrno>
#include <optional>
#include <string_view>
#include <utility>

#include <unistd.h>

#include "formats/DesktopEntry.h"
#include "platform/Files.h"
#include "platform/UserFolders.h"

namespace lumeno::platform {
namespace {

// The name the entry shows: the value name without a Windows ".exe".
std::string displayName(const std::string& valueName) {
  std::string name = valueName;
  if (name.size() > 4) {
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (tail == ".exe") name.resize(name.size() - 4);
  }
  return name;
}

}  // namespace

XdgAutostart::XdgAutostart(std::filesystem::path autostartFolder) : folder_(std::move(autostartFolder)) {}

XdgAutostart XdgAutostart::fromEnvironment() {
  // XDG base directories must be absolute paths; a relative value is ignored.
  const UserEnvironment user = readUserEnvironment();
  if (!user.xdgConfigHome.empty() && user.xdgConfigHome.front() == '/') {
    return XdgAutostart(std::filesystem::path(user.xdgConfigHome) / "autostart");
  }
  const std::filesystem::path home = user.home.empty() ? std::filesystem::path("/") : user.home;
  return XdgAutostart(home / ".config" / "autostart");
}

std::filesystem::path XdgAutostart::entryFile(const std::string& valueName) const {
  // A file name of safe characters only: the value name can never reach outside the folder.
  std::string id;
  for (const char c : displayName(valueName)) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.';
    id += safe ? c : '_';
  }
  if (id.empty() || id.front() == '.') id = "_" + id;
  return folder_ / (id + ".desktop");
}

bool XdgAutostart::writeValue(Hive /*hive*/, const std::string& /*keyPath*/, const std::string& valueName,
                              const std::string& data) {
  const std::optional<std::string> entry = settings::autostartEntry(displayName(valueName), data);
  if (!entry) return false;
  if (makeFolders(folder_).has_value()) return false;  // start at log-in fails silently
  const std::filesystem::path file = entryFile(valueName);
  if (readFile(file) == entry) return true;  // already starts this program from this folder
  return replaceFileAtomically(file, *entry);
}

bool XdgAutostart::deleteValue(Hive /*hive*/, const std::string& /*keyPath*/, const std::string& valueName) {
  const std::filesystem::path file = entryFile(valueName);
  if (::unlink(file.c_str()) == 0) return true;
  return errno == ENOENT;
}

std::unique_ptr<Autostart> makeAutostart() {
  return std::make_unique<XdgAutostart>(XdgAutostart::fromEnvironment());
}

}  // namespace lumeno::platform
