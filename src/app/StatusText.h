// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The texts the main window shows and hands to the tray.
namespace lumeno::app {

inline constexpr std::string_view kOnline = " Online";
inline constexpr std::string_view kOffline = " Offline!";
inline constexpr std::string_view kAsleep = " Zz..";

// The label's text for the version: " V1.0.27".
std::string versionLabelText();

// The three-line tray tip: "IP : <address>", "Status : <status>", "Version : 1.0.27", joined by
// CR LF. After "Refresh Local IP" the first line starts "LIP : " instead.
enum class TipAddressPrefix { Ip, RefreshedIp };
std::string trayTip(TipAddressPrefix prefix, std::string_view addressText, std::string_view statusText);

}  // namespace lumeno::app
