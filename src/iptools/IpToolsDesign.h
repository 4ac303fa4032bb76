// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "common/Twips.h"
#include "iptools/IpToolsView.h"

// How the IP tools window "frmMain" looks as designed: its controls with their names, places in
// twips, captions, tips and limits, its menus and its tab order. Every face builds it from here.
namespace lumeno::iptools::design {

inline constexpr std::string_view kWindowName = "frmMain";
inline constexpr std::string_view kCaption = "IP Tools";
// A web host name the host box holds when the window is loaded.
inline constexpr std::string_view kDefaultHost = "www.debian.org";

// The client area, and the layout rule: the outer size never below the minimum, the output box
// as wide as the client area and this much less high.
inline constexpr int kClientWidth = 5655;
inline constexpr int kClientHeight = 4830;
inline constexpr int kMinimumOuterWidth = 5000;
inline constexpr int kMinimumOuterHeight = 3000;
inline constexpr int kRowsBelowOutput = 2400;

// Labels, buttons, check boxes and most boxes use Verdana at this size; the octet boxes and the
// option buttons use the window's default font.
inline constexpr std::string_view kFontName = "Verdana";
inline constexpr double kFontPoints = 8.25;

enum class Kind {
  OutputBox,     // multi-line, scrollable, white
  LineBox,       // one line of text
  Label,         // text only
  FramedLabel,   // a label with a single border
  Separator,     // a label drawn as a line
  OptionButton,  // as narrow as its button, so a caption is cut off
  Button,        // a push button, never the default one
  CheckBox,      // unticked
};

using Twips = lumeno::Twips;

struct ControlDesign {
  std::string_view name;  // the objectName
  Kind kind = Kind::Label;
  Twips place;
  std::string_view text;  // caption or initial text
  std::string_view tip;
  int maxLength = 0;  // characters a box takes; 0 for no limit
  bool verdana = true;
  std::optional<Control> control;  // what the presenter calls it, if it ever does
  std::optional<Mode> mode;        // the mode an option button chooses
  int index = -1;                  // the element of a control array
};

inline constexpr std::string_view kOctetTip =
    "Enter the IP to do a trace route on. Class type will be displayed in status.";

// clang-format off
inline constexpr std::array<ControlDesign, 29> kControls{{
    {"txtOutPut", Kind::OutputBox, {0, 0, 5655, 2415}, "", "", 0, true, Control::OutputBox, {}, -1},
    {"pingopt", Kind::OptionButton, {120, 2580, 255, 255}, "Option1", "", 0, false, {}, Mode::Ping, -1},
    {"txtIP", Kind::LineBox, {480, 2565, 1935, 285}, kDefaultHost, "Insert Ip or Domain address here to test...", 128, true, Control::HostBox, {}, -1},
    {"Label5", Kind::Label, {2520, 2580, 615, 255}, "pings:", "Amount of true pings", 0, true, {}, {}, -1},
    {"amountping", Kind::Label, {3120, 2580, 255, 255}, "0", "Amount of true pings", 0, true, Control::Counter, {}, -1},
    {"lblMain", Kind::Label, {3480, 2580, 735, 255}, "Value :", "How many times to ping IP/Domain", 0, true, {}, {}, -1},
    {"txtNumber", Kind::LineBox, {4200, 2580, 375, 255}, "4", "Amount of times to ping.", 2, true, Control::CountBox, {}, -1},
    {"cmdPing", Kind::Button, {4680, 2520, 855, 375}, "Ping", "Start ping", 0, true, Control::PingButton, {}, -1},
    {"Label6", Kind::Separator, {120, 3000, 5415, 15}, "", "", 0, true, {}, {}, 0},
    {"ipopt", Kind::OptionButton, {120, 3120, 255, 255}, "", "", 0, false, {}, Mode::AddressTrace, -1},
    {"iptxt1", Kind::LineBox, {480, 3105, 495, 285}, "", kOctetTip, 3, false, Control::Octet1, {}, -1},
    {"iptxt2", Kind::LineBox, {960, 3105, 495, 285}, "", kOctetTip, 3, false, Control::Octet2, {}, -1},
    {"iptxt3", Kind::LineBox, {1440, 3105, 495, 285}, "", kOctetTip, 3, false, Control::Octet3, {}, -1},
    {"iptxt4", Kind::LineBox, {1920, 3105, 495, 285}, "", kOctetTip, 3, false, Control::Octet4, {}, -1},
    {"Label1", Kind::Label, {2520, 3120, 615, 255}, "Hops :", "", 0, true, {}, {}, -1},
    {"hops", Kind::LineBox, {3120, 3150, 375, 195}, "30", "Limit the amount of hops.", 3, true, Control::HopsBox, {}, -1},
    {"Label2", Kind::Label, {3600, 3120, 975, 255}, "Time out :", "", 0, true, {}, {}, -1},
    {"timeout", Kind::LineBox, {4560, 3150, 615, 195}, "3000", "Time in 'ms' before trace route gives up.", 6, true, Control::TimeoutBox, {}, -1},
    {"Label3", Kind::Label, {5280, 3120, 255, 255}, "ms", "", 0, true, {}, {}, -1},
    {"urlopt", Kind::OptionButton, {120, 3540, 255, 255}, "", "", 0, false, {}, Mode::DomainTrace, -1},
    {"urltxt", Kind::LineBox, {480, 3525, 1935, 285}, "www.", "Enter your domain address to do a trace route on.", 0, true, Control::DomainBox, {}, -1},
    {"chkgethostnames", Kind::CheckBox, {2520, 3480, 1695, 375}, "Get host names", "Display detail on server names if able to..", 0, true, Control::HostNamesTick, {}, -1},
    {"tracmd", Kind::Button, {4680, 3480, 855, 375}, "Trace", "Start trace route", 0, true, Control::TraceButton, {}, -1},
    {"Label6", Kind::Separator, {120, 3960, 5415, 15}, "", "", 0, true, {}, {}, 1},
    {"netstatopt", Kind::OptionButton, {120, 4140, 255, 255}, "Option1", "", 0, false, {}, Mode::Netstat, -1},
    {"chknetstatall", Kind::CheckBox, {480, 4140, 1095, 255}, "Show all", "Displays all connections and listening ports.", 0, true, Control::ShowAllTick, {}, -1},
    {"netstatbutton", Kind::Button, {4680, 4080, 855, 375}, "Netstat", "Get status on connections to and from this computer.", 0, true, Control::NetstatButton, {}, -1},
    {"classlbl", Kind::FramedLabel, {0, 4560, 1575, 255}, "", "status", 0, true, Control::StatusLabel, {}, -1},
    {"Label4", Kind::FramedLabel, {1560, 4560, 4095, 255}, "", "", 0, true, {}, {}, -1},
}};
// clang-format on

// The designed text of a control the presenter knows.
constexpr std::string_view initialText(Control control) {
  for (const ControlDesign& design : kControls) {
    if (design.control == control) return design.text;
  }
  return {};
}

// The menus: a name whose parent is empty sits in the menu bar; an entry with children is a menu.
struct MenuDesign {
  std::string_view name;
  std::string_view caption;
  std::string_view parent;
  std::optional<Control> control;
};

inline constexpr std::array<MenuDesign, 8> kMenus{{
    {"mnufile", "File", "", {}},
    {"mnuexit", "Exit", "mnufile", {}},
    {"mnuoptions", "Options", "", {}},
    {"mnuview", "View", "mnuoptions", {}},
    {"mnulastping", "Last ping", "mnuview", Control::LastPingItem},
    {"mnulasttrace", "Last trace route", "mnuview", Control::LastTraceItem},
    {"mnunetstat", "Last netstat", "mnuview", Control::LastNetstatItem},
    {"mnuclearall", "Clear all", "mnuoptions", Control::ClearAllItem},
}};

// What a screen reader calls the controls whose caption is empty or does not say what they are.
struct SpokenName {
  std::string_view name;
  std::string_view spoken;
};
inline constexpr std::array<SpokenName, 14> kSpokenNames{{
    {"txtOutPut", "Output"},
    {"pingopt", "Ping"},
    {"txtIP", "Host to ping"},
    {"txtNumber", "Number of pings"},
    {"ipopt", "Trace route to an address"},
    {"iptxt1", "Address, first number"},
    {"iptxt2", "Address, second number"},
    {"iptxt3", "Address, third number"},
    {"iptxt4", "Address, fourth number"},
    {"hops", "Hops"},
    {"timeout", "Time out in ms"},
    {"urlopt", "Trace route to a domain"},
    {"urltxt", "Domain to trace"},
    {"netstatopt", "Netstat"},
}};

// The order the Tab key follows; the host box is first and has the focus when the window opens.
inline constexpr std::array<std::string_view, 19> kTabOrder{
    "txtIP",      "txtNumber",     "cmdPing",   "ipopt",   "iptxt1",       "iptxt2",          "iptxt3",
    "iptxt4",     "hops",          "timeout",   "urlopt",  "urltxt",       "chkgethostnames", "tracmd",
    "netstatopt", "netstatbutton", "txtOutPut", "pingopt", "chknetstatall"};

}  // namespace lumeno::iptools::design
