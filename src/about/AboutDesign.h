// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "about/AboutPresenter.h"
#include "common/Twips.h"

// How the about box "frmAbout" looks as designed: a fixed client area with the picture, the two
// labels the presenter fills, the link, a line and two buttons. Every face builds it from here.
namespace lumeno::about::design {

inline constexpr std::string_view kWindowName = "frmAbout";
inline constexpr int kClientWidth = 3615;
inline constexpr int kClientHeight = 1680;
// The link's font.
inline constexpr std::string_view kLinkFontName = "Verdana";
inline constexpr double kLinkFontPoints = 9.75;

using ControlDesign = PlacedControl;

inline constexpr ControlDesign kPicture{"Picture1", {240, 120, 1455, 855}, "", ""};
inline constexpr ControlDesign kTitle{"lblTitle", {1920, 120, 1455, 255}, text::kTitleDesign, ""};
inline constexpr ControlDesign kVersion{"lblVersion", {2100, 360, 1455, 255}, text::kVersionDesign, ""};
inline constexpr ControlDesign kLink{"Label5", {2160, 720, 975, 255}, text::kLink, text::kLinkTip};
inline constexpr ControlDesign kLine{"Line1", {120, 1080, 3360, 15}, "", ""};
inline constexpr ControlDesign kSysInfo{"cmdSysInfo", {1680, 1200, 855, 375}, text::kSysInfoButton, ""};
inline constexpr ControlDesign kDone{"cmdOK", {2640, 1200, 855, 375}, text::kDoneButton, ""};

}  // namespace lumeno::about::design
