// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Local kernel queries behind the network facts: the routing tables, the interface list and one
// interface's link flags. Each call reads afresh, never blocks and sends nothing on the network.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/NetTables.h"

namespace lumeno::platform::net {

// The text of a /proc file, or nothing when it cannot be read.
[[nodiscard]] std::optional<std::string> readProcFile(const char* path);

// The IPv4 routes of the main table (/proc/net/route); empty when the table cannot be read.
[[nodiscard]] std::vector<Route> readIPv4Routes();
// The IPv6 routes (/proc/net/ipv6_route); empty when the table cannot be read or IPv6 is off.
[[nodiscard]] std::vector<Route> readIPv6Routes();

// The IPv4 addresses of every interface with their flags; empty when the list cannot be read.
[[nodiscard]] std::vector<InterfaceAddress> readInterfaceAddresses();

// The link flags of the named interfaces; an interface that cannot be asked is left out.
[[nodiscard]] std::map<std::string, LinkState> readLinkStates(const std::vector<std::string>& names);

// Whether a default route (IPv4, else IPv6) goes through an interface that is up and has carrier.
// A table or link that cannot be read counts as no route.
[[nodiscard]] bool connectedByRoutes();

// The local IPv4 address to show, chosen from the live tables.
[[nodiscard]] std::string localIPv4FromSystem();

}  // namespace lumeno::platform::net
