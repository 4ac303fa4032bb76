// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainMenus.h"

namespace lumeno::app {

const std::vector<MenuEntry>& mainMenuBar() {
  using enum MenuCommand;
  static const std::vector<MenuEntry> bar{
      {"mnufile",
       "File",
       None,
       {{"mnuemailip", "Email", Email},
        {"mnucopyip", "Copy", Copy},
        {"mnucopyipv6", "Copy IPv6", CopyIPv6},
        {"mnuline5", "-"},
        {"mnuupdateip", "Refresh Local IP", RefreshLocalIp},
        {"mnutraynetip", "Refresh Net IP", RefreshNetIp},
        {"mnuline6", "-"},
        {"mnugetiphostname", "Get hostname", GetHostName},
        {"line99", "-"},
        {"mnuColor",
         "Color",
         None,
         {{"mnuIpBackgroundColor", "Ip Background", IpBackground},
          {"mnuIpForegroundColor", "Ip Foreground", IpForeground},
          {"line90", "-"},
          {"mnuResetColor", "Reset color", ResetColor}}},
        {"line97", "-"},
        {"exitlumeno", "Exit", Exit}}},
      {"tools",
       "Tools",
       None,
       {{"pingtool", "IP tools", OpenIpTools},
        {"sepbar1", "-"},
        {"mnuoptions", "Options", OpenOptions},
        {"sepbar2", "-"},
        {"textedit", "Text editor", TextEditor},
        {"mnuupdatelumeno", "Check for updates", CheckForUpdates},
        {"mnusysinfo", "System info", SystemInfo},
        {"mnuviewlog", "log monitor", OpenLogMonitor},
        {"mnuhistory", "Connection history", OpenHistory}}},
      {"Info", "Info", None, {{"aboutinfo", "About", OpenAbout}, {"mnuhelp", "Help", Help}}}};
  return bar;
}

const MenuEntry& trayMenu() {
  using enum MenuCommand;
  static const MenuEntry tray{"mnusystray",
                              "SystrayOptions",
                              None,
                              {{"mnushowlumeno", "Show Lumeno", Show},
                               {"mnuline7", "-"},
                               {"mnurefreship", "Refresh Local IP", RefreshLocalIp},
                               {"mnunetip", "Refresh Net IP", RefreshNetIp},
                               {"mnuline8", "-"},
                               {"mnucheckforupdate", "Check for updates", CheckForUpdates},
                               {"mnutraycopyip", "Copy", Copy},
                               {"mnutraycopyipv6", "Copy IPv6", CopyIPv6},
                               {"mnutrayhistory", "Connection history", OpenHistory},
                               {"line98", "-"},
                               {"mnusystrayexit", "Exit", TrayExit}}};
  return tray;
}

}  // namespace lumeno::app
