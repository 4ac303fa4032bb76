#include "platform/posix/NetTables.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstddef>

namespace lumeno::platform::net {
namespace {

// Route flags as the kernel prints them (linux/route.h).
constexpr std::uint32_t kRouteUp = 0x0001;
constexpr std::uint32_t kRouteGateway = 0x0002;
constexpr std::uint32_t kRouteReject = 0x0200;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Splits one line at runs of blanks.
std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

// Calls f on every line of text.
template <typename F>
void forEachLine(std::string_view text, F f) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    f(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

template <typename T>
std::optional<T> parseNumber(std::string_view s, int base) {
  T value{};
  const auto* const first = s.data();
  const auto* const last = s.data() + s.size();
  const auto [ptr, ec] = std::from_chars(first, last, value, base);
  if (s.empty() || ec != std::errc{} || ptr != last) return std::nullopt;
  return value;
}

// /proc/net/route prints each address as the hex value of the 32-bit word as it lies in memory,
// which is network byte order; turn it into a host-order address.
std::uint32_t fromKernelWord(std::uint32_t word) {
  if constexpr (std::endian::native == std::endian::little) {
    return ((word & 0xFFU) << 24U) | ((word & 0xFF00U) << 8U) | ((word >> 8U) & 0xFF00U) | (word >> 24U);
  } else {
    return word;
  }
}

bool allZeroHex(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c == '0'; });
}

bool isLoopbackAddress(std::uint32_t address) {
  return (address >> 24U) == 127U;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::vector<Route> parseIPv4Routes(std::string_view text) {
  // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
  std::vector<Route> routes;
  forEachLine(text, [&routes](std::string_view line) {
    const auto f = fields(line);
    if (f.size() < 8) return;
    const auto destination = parseNumber<std::uint32_t>(f[1], 16);
    const auto gateway = parseNumber<std::uint32_t>(f[2], 16);
    const auto flags = parseNumber<std::uint32_t>(f[3], 16);
    const auto metric = parseNumber<std::uint32_t>(f[6], 10);
    const auto mask = parseNumber<std::uint32_t>(f[7], 16);
    if (!destination || !gateway || !flags || !metric || !mask) return;  // the header, or garbage
    Route route;
    route.interface = std::string(f[0]);
    route.isDefault = *destination == 0 && *mask == 0;
    route.usable = (*flags & kRouteUp) != 0 && (*flags & kRouteReject) == 0 && f[0] != "*" && f[0] != "lo";
    route.metric = *metric;
    if ((*flags & kRouteGateway) != 0) route.gatewayV4 = fromKernelWord(*gateway);
    routes.push_back(std::move(route));
  });
  return routes;
}

std::vector<Route> parseIPv6Routes(std::string_view text) {
  // destination plen source plen next-hop metric refcnt use flags device
  std::vector<Route> routes;
  forEachLine(text, [&routes](std::string_view line) {
    const auto f = fields(line);
    if (f.size() < 10 || f[0].size() != 32 || f[4].size() != 32) return;
    const auto prefixLength = parseNumber<std::uint32_t>(f[1], 16);
    const auto metric = parseNumber<std::uint32_t>(f[5], 16);
    const auto flags = parseNumber<std::uint32_t>(f[8], 16);
    if (!prefixLength || !metric || !flags || !parseNumber<std::uint64_t>(f[0].substr(0, 16), 16) ||
        !parseNumber<std::uint64_t>(f[0].substr(16), 16)) {
      return;
    }
    Route route;
    route.interface = std::string(f[9]);
    route.isDefault = *prefixLength == 0 && allZeroHex(f[0]);
    route.usable = (*flags & kRouteUp) != 0 && (*flags & kRouteReject) == 0 && f[9] != "lo";
    route.metric = *metric;
    routes.push_back(std::move(route));
  });
  return routes;
}

std::vector<std::string> defaultRouteInterfaces(const std::vector<Route>& routes) {
  std::vector<const Route*> defaults;
  for (const auto& route : routes) {
    if (route.isDefault && route.usable) defaults.push_back(&route);
  }
  std::stable_sort(defaults.begin(), defaults.end(),
                   [](const Route* a, const Route* b) { return a->metric < b->metric; });
  std::vector<std::string> names;
  for (const auto* route : defaults) {
    if (std::find(names.begin(), names.end(), route->interface) == names.end()) {
      names.push_back(route->interface);
    }
  }
  return names;
}

bool hasCarryingDefaultRoute(const std::vector<Route>& routes,
                             const std::map<std::string, LinkState>& links) {
  for (const auto& name : defaultRouteInterfaces(routes)) {
    const auto it = links.find(name);
    if (it != links.end() && it->second.up && it->second.carrier) return true;
  }
  return false;
}

std::string interfaceOfLabel(std::string_view label) {
  return std::string(label.substr(0, label.find(':')));
}

bool isVirtualInterfaceName(std::string_view name) {
  // Bridges, container and VM links, tunnels and VPN clients.
  static constexpr std::array<std::string_view, 30> kPrefixes = {
      "docker", "br",  "virbr",   "veth",   "tun",    "tap",       "wg",     "vpn",      "ipsec",   "vti",
      "ip_vti", "ip6", "gre",     "erspan", "sit",    "tailscale", "zt",     "nordlynx", "utun",    "lxcbr",
      "lxdbr",  "cni", "flannel", "cali",   "cilium", "vxlan",     "podman", "vmnet",    "vboxnet", "dummy"};
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  if (lower.find("vpn") != std::string::npos) return true;
  return std::any_of(kPrefixes.begin(), kPrefixes.end(),
                     [&lower](std::string_view prefix) { return startsWith(lower, prefix); });
}

std::string formatIPv4(std::uint32_t address) {
  return std::to_string(address >> 24U) + '.' + std::to_string((address >> 16U) & 0xFFU) + '.' +
         std::to_string((address >> 8U) & 0xFFU) + '.' + std::to_string(address & 0xFFU);
}

std::string chooseLocalIPv4(const std::vector<Route>& ipv4Routes,
                            const std::vector<InterfaceAddress>& addresses) {
  const auto showable = [](const InterfaceAddress& a) {
    return a.up && !a.loopback && !isLoopbackAddress(a.address);
  };
  const auto defaults = defaultRouteInterfaces(ipv4Routes);
  // A route whose link has carrier wins over one whose cable is out.
  for (const bool needCarrier : {true, false}) {
    for (const auto& name : defaults) {
      std::vector<const InterfaceAddress*> candidates;
      for (const auto& a : addresses) {
        if (a.interface == name && showable(a) && (a.carrier || !needCarrier)) candidates.push_back(&a);
      }
      if (candidates.empty()) continue;
      for (const auto& route : ipv4Routes) {
        if (!route.isDefault || !route.usable || route.interface != name || !route.gatewayV4) continue;
        for (const auto* c : candidates) {
          if ((*route.gatewayV4 & c->netmask) == (c->address & c->netmask)) return formatIPv4(c->address);
        }
      }
      return formatIPv4(candidates.front()->address);
    }
  }
  for (const bool needCarrier : {true, false}) {
    for (const auto& a : addresses) {
      if (showable(a) && (a.carrier || !needCarrier) && !isVirtualInterfaceName(a.interface)) {
        return formatIPv4(a.address);
      }
    }
  }
  return "127.0.0.1";
}

bool connectedGiven(bool usableDefaultRoute, SystemReachability service) {
  if (!usableDefaultRoute) return false;
  return service != SystemReachability::Local && service != SystemReachability::Site;
}

}  // namespace lumeno::platform::net
