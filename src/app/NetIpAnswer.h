// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumeno::app {

// The echo service answers with the address as plain text. Anything but one dotted IPv4
// address (surrounding white space aside) is not an answer we show as an address.
std::optional<std::string> parseNetIpAnswer(std::string_view body);

// The texts of the "Refresh Net IP" message.
std::string netIpFoundText(std::string_view address);
std::string netIpFailedText(std::string_view reason);

}  // namespace lumeno::app
