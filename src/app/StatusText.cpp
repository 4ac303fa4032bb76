// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StatusText.h"

#include "common/Version.h"

namespace lumeno::app {

std::string versionLabelText() {
  return std::string(" V") + version::text;
}

std::string trayTip(TipAddressPrefix prefix, std::string_view addressText, std::string_view statusText) {
  std::string tip(prefix == TipAddressPrefix::Ip ? "IP : " : "LIP : ");
  tip.append(addressText)
      .append("\r\nStatus : ")
      .append(statusText)
      .append("\r\nVersion : ")
      .append(version::text);
  return tip;
}

}  // namespace lumeno::app
