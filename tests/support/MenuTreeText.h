// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "app/MainMenus.h"

namespace lumeno::test {

// A menu tree as lines: "name:caption" per item ("name:-" a separator); a submenu's items follow
// it, indented. A face whose menus cannot name a submenu leaves its name out there.
inline std::vector<std::string> describeMenuTree(const std::vector<app::MenuEntry>& entries,
                                                 bool nameSubmenus = true, const std::string& indent = "") {
  std::vector<std::string> lines;
  for (const app::MenuEntry& entry : entries) {
    const bool named = nameSubmenus || !entry.isSubmenu();
    lines.push_back(indent + (named ? std::string(entry.name) + ":" : std::string()) + entry.caption);
    for (const std::string& line : describeMenuTree(entry.items, nameSubmenus, indent + "  "))
      lines.push_back(line);
  }
  return lines;
}

}  // namespace lumeno::test
