#pragma once

// Per-interface address facts as plain data: the IPv4 addresses by interface and the kernel's
// IPv6 address table. Nothing here touches the system, so every rule can be tried on made-up
// tables.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/NetworkInfo.h"
#include "platform/posix/NetTables.h"

namespace lumeno::platform::net {

// One line of /proc/net/if_inet6: an address and the interface that holds it.
struct InterfaceIPv6 {
  std::string interface;
  IPv6Address address;
};

// Parses the text of /proc/net/if_inet6. Lines that do not parse are skipped.
[[nodiscard]] std::vector<InterfaceIPv6> parseIfInet6(std::string_view text);

// The interfaces that hold an IPv4 address other than a loopback one, sorted by name, each once.
[[nodiscard]] std::vector<std::string> ipv4InterfaceNames(const std::vector<InterfaceAddress>& addresses);

// The first IPv4 address of the named interface, loopback addresses aside.
[[nodiscard]] std::optional<std::string> ipv4OfInterface(const std::vector<InterfaceAddress>& addresses,
                                                         std::string_view name);

// The IPv6 addresses of the named interface, in the table's order.
[[nodiscard]] std::vector<IPv6Address> ipv6OfInterface(const std::vector<InterfaceIPv6>& table,
                                                       std::string_view name);

// The interface that carries the IPv6 default route, else the one of the IPv4 default route;
// empty when there is neither.
[[nodiscard]] std::string automaticIPv6Interface(const std::vector<Route>& ipv6Routes,
                                                 const std::vector<Route>& ipv4Routes);

}  // namespace lumeno::platform::net
