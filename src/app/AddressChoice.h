// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/NetworkInfo.h"

// Which addresses the main window shows when the user has chosen an interface.
namespace lumeno::app {

// The IPv6 address to give out: a global one (2000::/3) if there is one, else a unique-local one
// (fc00::/7); of each, a stable one before a temporary one. Never a deprecated, tentative,
// link-local or other address. The first of a kind wins.
std::optional<std::string> chooseIPv6(const std::vector<platform::IPv6Address>& addresses);

// Whether a local IPv4 address is one the computer has on a network: not the loopback address
// that stands in while it has none.
bool isRealAddress(const std::string& address);

// The IPv4 address for the chosen interface (empty: automatic, the default route's). An
// interface that has gone, or has no IPv4 address any more, reads as automatic.
std::string ipv4For(const platform::NetworkInfo& network, const std::string& chosen);

// The global IPv6 address for the chosen interface (automatic: that of the IPv6 default route,
// else of the IPv4 one); an interface that has gone reads as automatic.
std::optional<std::string> ipv6For(const platform::NetworkInfo& network, const std::string& chosen);

}  // namespace lumeno::app
