// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

// How the log monitor "logfrm" looks as designed: the lines filling the client area, a status bar
// along the bottom, the search row Ctrl+F opens above it, one "File" menu and the reload timer.
// Every face builds it from here.
namespace lumeno::log::design {

inline constexpr std::string_view kWindowName = "logfrm";
inline constexpr std::string_view kCaption = "Log monitor";
inline constexpr std::string_view kFontName = "Verdana";
inline constexpr double kFontPoints = 8.25;

// The client area when the window is loaded, and the smallest outer size (title bar and borders
// included), in twips.
inline constexpr int kClientWidth = 7005;
inline constexpr int kClientHeight = 5355;
inline constexpr int kMinimumOuterWidth = 5000;
inline constexpr int kMinimumOuterHeight = 3000;
// The status bar's height; it spans the width along the bottom edge.
inline constexpr int kStatusBarHeight = 255;

// Timer1 reloads the log while the monitor runs.
inline constexpr std::string_view kReloadTimerName = "Timer1";
inline constexpr int kReloadIntervalMs = 3000;

struct ControlDesign {
  std::string_view name;    // the objectName
  std::string_view text;    // caption, or the hint an empty box shows
  std::string_view spoken;  // what a screen reader calls it, where the text does not say
};

inline constexpr ControlDesign kLines{"RichTextBox1", "", "Log"};
inline constexpr ControlDesign kStatusBar{"StatusBar1", "", ""};
// The search row, hidden until Ctrl+F: the text to find, two buttons and what the search found.
inline constexpr ControlDesign kFindBox{"txtfind", "Find", "Find"};
inline constexpr ControlDesign kFindPrevious{"cmdfindprevious", "Previous", ""};
inline constexpr ControlDesign kFindNext{"cmdfindnext", "Next", ""};
inline constexpr ControlDesign kFindState{"lblfindstate", "", ""};
inline constexpr std::array<ControlDesign, 4> kSearchRow{kFindBox, kFindPrevious, kFindNext, kFindState};

// What an item of the "File" menu asks for.
enum class MenuCommand { ClearLog, PauseScreen, Resume, Exit };

struct MenuItemDesign {
  std::string_view name;
  std::string_view caption;
  MenuCommand command;
};

// The one menu and its items in their order: no separators, no access keys, no shortcut keys.
inline constexpr std::string_view kFileMenuName = "mnufile";
inline constexpr std::string_view kFileMenuCaption = "File";
inline constexpr std::array<MenuItemDesign, 4> kFileMenu{{
    {"mnuclearlog", "Clear log", MenuCommand::ClearLog},
    {"mnupausescreen", "Pause screen", MenuCommand::PauseScreen},
    {"mnuresume", "Resume", MenuCommand::Resume},
    {"mnuexit", "Exit", MenuCommand::Exit},
}};

}  // namespace lumeno::log::design
