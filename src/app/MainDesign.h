// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "app/InfoLabelRing.h"
#include "common/Twips.h"

// How the main window "frmIP" looks as designed: a strip holding the address box, the status lamp
// and the four info labels stacked in one place. Every face builds it from here.
namespace lumeno::app::design {

inline constexpr std::string_view kWindowName = "frmIP";
inline constexpr std::string_view kCaption = "Lumeno";
inline constexpr int kClientWidth = 2175;
inline constexpr int kClientHeight = 615;

using ControlDesign = PlacedControl;

inline constexpr ControlDesign kAddressBox{"Text1", {0, 0, 2175, 360}, "Your IP is...", ""};
inline constexpr ControlDesign kLamp{"lblled", {0, 360, 255, 255}, "", "Connection status..."};

struct InfoLabelDesign {
  InfoLabel label;
  ControlDesign design;
};
// In the order of the ring; only the first is in front at start.
inline constexpr std::array<InfoLabelDesign, 4> kInfoLabels{{
    {InfoLabel::Status, {"Labelonline", {240, 360, 1935, 255}, " Zz..", "Internet Connection"}},
    {InfoLabel::Version, {"Label1", {240, 360, 1935, 255}, " Version", "Version (click for more)"}},
    {InfoLabel::Time, {"lbltime", {240, 360, 1935, 255}, " lbltime", "Local Time"}},
    {InfoLabel::Date, {"lbldate", {240, 360, 1935, 255}, " Zz...", "Today's date"}},
}};

}  // namespace lumeno::app::design
