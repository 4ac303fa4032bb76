// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace lumeno::app {

// What a menu item of the main window or of the tray asks the main presenter to do.
enum class MenuCommand {
  None,  // a separator, or a submenu's own item
  Email,
  Copy,
  CopyIPv6,
  RefreshLocalIp,
  RefreshNetIp,
  GetHostName,
  IpBackground,
  IpForeground,
  ResetColor,
  Exit,      // File > Exit: asks first
  TrayExit,  // tray > Exit: no question
  Show,
  OpenIpTools,
  OpenOptions,
  OpenLogMonitor,
  OpenHistory,
  OpenAbout,
  TextEditor,
  CheckForUpdates,
  SystemInfo,
  Help,
};

// One item of a menu: its control name, its caption ("-": a separator) and what it does; a
// submenu has items of its own. Both windowing faces build their menus from these trees.
struct MenuEntry {
  const char* name;
  const char* caption;
  MenuCommand command = MenuCommand::None;
  std::vector<MenuEntry> items{};

  [[nodiscard]] bool isSeparator() const { return std::string_view(caption) == "-"; }
  [[nodiscard]] bool isSubmenu() const { return !items.empty(); }
};

// The main window's menu bar, "File", "Tools" and "Info", each a submenu.
const std::vector<MenuEntry>& mainMenuBar();
// The tray icon's pop-up menu, "SystrayOptions": a submenu never shown in the menu bar.
const MenuEntry& trayMenu();

}  // namespace lumeno::app
