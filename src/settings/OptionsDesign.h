// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "common/Twips.h"
#include "settings/OptionsView.h"

// How the options dialog "frmoptions" looks as designed: four tab pages of frames, boxes and
// buttons, and "Done" below them. Every face builds it from here.
namespace lumeno::settings::design {

inline constexpr std::string_view kWindowName = "frmoptions";
inline constexpr std::string_view kCaption = "Options";
inline constexpr int kClientWidth = 5055;
inline constexpr int kClientHeight = 3510;
inline constexpr std::array<std::string_view, 4> kTabCaptions = {"Automation", "Extras", "Logs",
                                                                 "Connection"};

enum class Kind { Frame, CheckBox, Button, Label, InterfaceList, Tabs };

struct ControlDesign {
  std::string_view name;  // the objectName
  Kind kind = Kind::Label;
  Twips place;
  std::string_view text;  // caption
  std::string_view tip;
  int page = -1;                   // the tab page it is on; -1: on none, it shows on every page
  std::optional<Option> option{};  // the option a box stands for
};

// In the order the controls are made, the tab control last, below the controls of its pages.
inline constexpr std::array<ControlDesign, 18> kControls{{
    {"Frame1", Kind::Frame, {240, 480, 4575, 1815}, "", "", 0},
    {"chkstartup",
     Kind::CheckBox,
     {480, 720, 4095, 300},
     "Start when computer loads",
     "",
     0,
     Option::AutoStartup},
    {"trayatstartup",
     Kind::CheckBox,
     {480, 1080, 4095, 300},
     "Minimize to sys-tray on load",
     "",
     0,
     Option::TrayAtStartup},
    {"Frame2", Kind::Frame, {240, 480, 4575, 1815}, "", "", 1},
    {"chkhostnamepopup",
     Kind::CheckBox,
     {480, 720, 4095, 300},
     "Show hostname in popup on request",
     "",
     1,
     Option::HostNamePopup},
    {"chklog",
     Kind::CheckBox,
     {360, 540, 2400, 300},
     "Use log file",
     "Monitor Lumeno actions",
     2,
     Option::UseLog},
    {"Frame3", Kind::Frame, {240, 900, 4575, 1395}, "", "", 2},
    {"Command2", Kind::Button, {480, 1140, 1215, 375}, "View log", "", 2},
    {"Command1", Kind::Button, {1815, 1140, 1215, 375}, "Clear log", "", 2},
    {"Label1",
     Kind::Label,
     {480, 1620, 4095, 555},
     "Log contains program load/exit, error stat, IP, hostname, time and date stamps.",
     "",
     2},
    {"Frame4", Kind::Frame, {240, 600, 4575, 735}, "", "", 3},
    {"alertifoffline",
     Kind::CheckBox,
     {480, 840, 4095, 300},
     "Alert using popup if i loose my connection",
     "",
     3,
     Option::AlertIfOffline},
    {"chkfollowip",
     Kind::CheckBox,
     {480, 1500, 4095, 300},
     "Follow address changes",
     "",
     3,
     Option::FollowAddress},
    {"chklogoutages",
     Kind::CheckBox,
     {480, 1860, 4095, 300},
     "Log connection changes",
     "",
     3,
     Option::LogConnectionChanges},
    {"lblinterface", Kind::Label, {480, 2280, 1000, 300}, "Interface:", "", 3},
    {"cmbinterface", Kind::InterfaceList, {1560, 2220, 3135, 300}, "", "", 3},
    {"exitoptions", Kind::Button, {3840, 3015, 1095, 375}, "Done", "", -1},
    {"SSTab1", Kind::Tabs, {120, 120, 4815, 2775}, "", "", -1},
}};

// The design of the control of that name; every name asked for is one of the table's.
constexpr const ControlDesign& control(std::string_view name) {
  for (const ControlDesign& design : kControls) {
    if (design.name == name) return design;
  }
  return kControls.back();
}

}  // namespace lumeno::settings::design
