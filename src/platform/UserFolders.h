// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The facts and the few file-system steps behind deciding where this user's files live.
namespace lumeno::platform {

// What the environment says about the user's folders.
struct UserEnvironment {
  std::filesystem::path home;  // $HOME when absolute, else the account's home folder
  std::string xdgConfigHome;   // as set, empty when unset
  std::string xdgStateHome;
};
UserEnvironment readUserEnvironment();

// Makes the folder and any missing parents, new ones private to the user (0700). Nothing on
// success, otherwise the reason. A file in the way is left as it is.
std::optional<std::string> makeFolders(const std::filesystem::path& folder);

// Copies `from` to `to` unless `to` exists: the copy appears whole or not at all and never
// replaces a file. Nothing on success (also when `to` was already there), otherwise the reason.
std::optional<std::string> copyNewFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace lumeno::platform
