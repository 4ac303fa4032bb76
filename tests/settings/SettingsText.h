// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/MessageBoxes.h"

// A settings file the settings tests start from, line by line.
namespace lumeno::settings {

inline const std::vector<std::string> kAllOff{
    "; Lumeno options", "[Options]", "alertifoffline=0", "hostnameintext1.text =0",
    "uselog=0",         "",          "[Automation]",     "trayatstartup=0",
    "autostartup=0",    ""};

inline const BoxRequest kApiError{"An error has occurred while calling the API function", "Lumeno",
                                  BoxIcon::Exclamation, BoxButtons::Ok};

// The file with every option off, with one line changed to `to`.
inline std::string allOff(std::size_t changed = 0, const std::string& to = kAllOff[0]) {
  std::string text;
  for (std::size_t i = 0; i < kAllOff.size(); ++i)
    text += (i == 0 ? "" : "\r\n") + (i == changed ? to : kAllOff[i]);
  return text;
}

}  // namespace lumeno::settings
