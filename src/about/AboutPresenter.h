// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "about/AboutView.h"
#include "about/SysInfo.h"
#include "common/AppContext.h"

namespace lumeno::about {

// The texts of the about box, as the window shows them.
namespace text {
inline constexpr std::string_view kApplicationTitle = "Lumeno";
inline constexpr std::string_view kVersionPrefix = "Version ";
// What the two labels hold before the box is loaded.
inline constexpr std::string_view kTitleDesign = "app";
inline constexpr std::string_view kVersionDesign = "Ver";
inline constexpr std::string_view kLink = "WebSite";
inline constexpr std::string_view kLinkTip = "Visit us!";
inline constexpr std::string_view kSysInfoButton = "&Sys Info";
inline constexpr std::string_view kDoneButton = "Done";
}  // namespace text

// Everything the about box "frmAbout" decides: what its labels say when it is loaded, what
// "Sys Info" and the link do, and that "Done", Enter, Esc and the title bar's close unload it
// and do nothing else.
class AboutPresenter {
 public:
  AboutPresenter(AboutView& view, const AppContext& context, const platform::SystemInfoTool& sysInfoTool);

  // The box was loaded: the version and the title, each time afresh.
  void onLoaded();
  // "Sys Info": starts the system-information tool; the box stays open.
  void onSysInfoClicked();
  // The "WebSite" label: the product's web page in the desktop's browser.
  void onLinkClicked();
  // "Done", or Enter.
  void onDoneClicked();
  // Esc, or closing the window by its title bar or system menu.
  void onCloseRequested();

 private:
  AboutView& view_;
  const AppContext& context_;
  const platform::SystemInfoTool& sysInfoTool_;
};

}  // namespace lumeno::about
