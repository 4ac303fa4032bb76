#pragma once

// The kernel's routing and interface facts as plain data, and the decisions taken on them:
// which local IPv4 address to show and whether the machine counts as connected. Nothing here
// touches the system, so every rule can be tried on made-up tables.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumeno::platform::net {

// One line of /proc/net/route or /proc/net/ipv6_route.
struct Route {
  std::string interface;
  bool isDefault = false;  // destination and prefix length both zero
  bool usable = false;     // up, not unreachable/blackhole/prohibit, not through loopback
  std::uint32_t metric = 0;
  std::optional<std::uint32_t> gatewayV4;  // IPv4 next hop in host order, if the route has one
};

// Parses the text of /proc/net/route. The header line and lines that do not parse are skipped.
[[nodiscard]] std::vector<Route> parseIPv4Routes(std::string_view text);
// Parses the text of /proc/net/ipv6_route. Lines that do not parse are skipped.
[[nodiscard]] std::vector<Route> parseIPv6Routes(std::string_view text);

// The usable default routes' interfaces, lowest metric first, each named once.
[[nodiscard]] std::vector<std::string> defaultRouteInterfaces(const std::vector<Route>& routes);

// What the kernel says about one interface's link.
struct LinkState {
  bool up = false;       // administratively up (IFF_UP)
  bool carrier = false;  // the link has carrier and is not dormant (IFF_LOWER_UP without IFF_DORMANT)
};

// Connected when a usable default route (either family) goes through an interface that is up and has
// carrier. An interface missing from the link map counts as down.
[[nodiscard]] bool hasCarryingDefaultRoute(const std::vector<Route>& routes,
                                           const std::map<std::string, LinkState>& links);

// One IPv4 address of one interface, as the interface list reports it.
struct InterfaceAddress {
  std::string interface;    // without an alias label (":1")
  std::uint32_t address{};  // host order
  std::uint32_t netmask{};  // host order
  bool up = false;
  bool carrier = false;
  bool loopback = false;
};

// Strips an alias label: "eth0:1" is interface "eth0".
[[nodiscard]] std::string interfaceOfLabel(std::string_view label);

// Interfaces that are bridges, containers' ends, tunnels or VPNs rather than the machine's own
// network card, judged by their name.
[[nodiscard]] bool isVirtualInterfaceName(std::string_view name);

// Dotted form of a host-order IPv4 address.
[[nodiscard]] std::string formatIPv4(std::uint32_t address);

// The address to show: the one on the interface of the best default route (the one in the
// gateway's subnet if the interface has several), else the first address of an up physical
// interface (one with carrier before one without), else "127.0.0.1".
[[nodiscard]] std::string chooseLocalIPv4(const std::vector<Route>& ipv4Routes,
                                          const std::vector<InterfaceAddress>& addresses);

// What a system connectivity service reports.
enum class SystemReachability { Unknown, Disconnected, Local, Site, Online };

// Whether the machine counts as connected. The route and carrier check decides; a connectivity
// service may only turn a usable route into "offline", and only by saying that the network it
// manages reaches no further than the local network or the site ("connected, no Internet").
// Its "disconnected" is not taken: a service that does not manage the interface carrying the
// route (one set up by hand or by ifupdown) reports that while the machine is online.
[[nodiscard]] bool connectedGiven(bool usableDefaultRoute, SystemReachability service);

}  // namespace lumeno::platform::net
