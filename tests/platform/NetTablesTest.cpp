// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/NetTables.h"

#include "platform/posix/InterfaceTables.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace lumeno::platform::net {
namespace {

// Tables as the kernel writes them (addresses in /proc/net/route are little-endian words on x86).
const std::string kIPv4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
// default via 192.168.1.1 dev eth0 metric 100, then 192.168.1.0/24 dev eth0
const std::string kEthDefault = "eth0\t00000000\t0101A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n";
const std::string kEthSubnet = "eth0\t0001A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
// default via 10.0.0.1 dev wlan0 metric 600
const std::string kWlanDefault = "wlan0\t00000000\t0100000A\t0003\t0\t0\t600\t00000000\t0\t0\t0\n";
// The IPv6 null entry every kernel lists through lo (a rejecting default).
const std::string kIPv6Null =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n";
// default via fe80::1 dev wlan0 metric 600, then fe80::/64 dev wlan0
const std::string kIPv6WlanDefault =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "fe800000000000000000000000000001 00000258 00000001 00000000 00450003    wlan0\n"
    "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 00000100 00000001 00000000 00000001    wlan0\n";

std::vector<Route> ipv4(const std::string& body) {
  return parseIPv4Routes(kIPv4Header + body);
}

constexpr std::uint32_t ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  return (a << 24U) | (b << 16U) | (c << 8U) | d;
}

InterfaceAddress address(std::string name, std::uint32_t value, std::uint32_t mask = ip(255, 255, 255, 0),
                         bool carrier = true, bool up = true) {
  const bool loopback = name == "lo";
  return {std::move(name), value, mask, up, carrier, loopback};
}

TEST(RouteTables, ReadTheKernelsTablesSkippingWhatDoesNotParse) {
  const auto v4 = ipv4(kEthDefault + kEthSubnet.substr(0, kEthSubnet.size() - 1));  // no final line break
  ASSERT_EQ(v4.size(), 2U);
  EXPECT_EQ(std::tuple(v4[0].isDefault, v4[0].usable, v4[0].interface, v4[0].metric,
                       formatIPv4(v4[0].gatewayV4.value_or(0))),
            std::tuple(true, true, "eth0", 100U, "192.168.1.1"));
  EXPECT_FALSE(v4[1].isDefault || v4[1].gatewayV4.has_value());
  // A default route that is down, rejects, or goes through loopback leads nowhere.
  for (const auto& [iface, flags] : {std::pair{"eth0", "0002"}, {"eth0", "0203"}, {"lo", "0003"}}) {
    const auto v4route =
        ipv4(std::string(iface) + "\t00000000\t0101A8C0\t" + flags + "\t0\t0\t100\t00000000\n");
    const auto v6route = parseIPv6Routes(std::string(32, '0') + " 00 " + std::string(32, '0') + " 00 " +
                                         "fe800000000000000000000000000001 00000258 00000001 00000000 0000" +
                                         flags + " " + iface + "\n");
    ASSERT_EQ(v4route.size(), 1U);
    ASSERT_EQ(v6route.size(), 1U);
    EXPECT_TRUE(v4route[0].isDefault && v6route[0].isDefault);
    EXPECT_FALSE(v4route[0].usable || v6route[0].usable) << iface << " " << flags;
  }

  const auto v6 = parseIPv6Routes("00000000 00 garbage\n" + kIPv6WlanDefault + kIPv6Null);
  ASSERT_EQ(v6.size(), 3U);
  EXPECT_EQ(std::tuple(v6[0].isDefault, v6[0].usable, v6[0].interface, v6[0].metric, v6[1].isDefault),
            std::tuple(true, true, "wlan0", 600U, false));
  EXPECT_TRUE(v6[2].isDefault && !v6[2].usable);
}

// The line with its field number `field` (counted from 0) replaced.
std::string withField(const std::string& line, std::size_t field, const std::string& value) {
  std::istringstream in(line);
  std::string out;
  std::string word;
  for (std::size_t n = 0; in >> word; ++n) out += (n == 0 ? "" : " ") + (n == field ? value : word);
  return out + "\n";
}

TEST(RouteTables, ALineWithAnyDamagedFieldIsSkipped) {
  ASSERT_EQ(ipv4(withField(kEthDefault, 0, "eth0")).size(), 1U);
  for (const std::size_t field : {1UL, 2UL, 3UL, 6UL, 7UL})
    EXPECT_TRUE(ipv4(withField(kEthDefault, field, "x1")).empty()) << field;
  EXPECT_TRUE(ipv4("eth0\t00000000\t0101A8C0\t0003\t0\t0\t100\n").empty()) << "seven fields";
  const std::string v6 = kIPv6WlanDefault.substr(0, kIPv6WlanDefault.find('\n') + 1);
  ASSERT_EQ(parseIPv6Routes(withField(v6, 9, "wlan0")).size(), 1U);
  const std::string zeros(32, '0');
  const std::string cut(31, '0');  // a field one digit short
  const std::pair<std::size_t, std::string> damaged[] = {{0, cut},       {0, zeros + "0"}, {0, "x" + cut},
                                                         {0, cut + "x"}, {1, "x"},         {4, cut},
                                                         {5, "x"},       {8, "x"},         {9, ""}};
  for (const auto& [field, value] : damaged) {
    EXPECT_TRUE(parseIPv6Routes(withField(v6, field, value)).empty()) << field << " " << value;
  }
}

TEST(ConnectionByRoutes, NeedsAUsableDefaultRouteThroughALinkThatIsUpWithCarrier) {
  const LinkState live{true, true};
  const LinkState noCarrier{true, false};
  const std::tuple<std::vector<Route>, std::map<std::string, LinkState>, bool, const char*> rows[] = {
      {ipv4(kEthDefault + kEthSubnet), {{"eth0", live}}, true, "wired default route"},
      {ipv4(kEthDefault), {{"eth0", noCarrier}}, false, "cable out"},
      {ipv4(kEthDefault), {{"eth0", {false, true}}}, false, "interface down"},
      {ipv4(kEthDefault), {}, false, "interface gone"},
      {ipv4(kEthSubnet), {{"eth0", live}}, false, "local subnet only"},
      {ipv4(kEthDefault + kWlanDefault),
       {{"eth0", noCarrier}, {"wlan0", live}},
       true,
       "dead wired, live wlan"},
      {parseIPv6Routes(kIPv6Null + kIPv6WlanDefault), {{"wlan0", live}}, true, "IPv6 default alone"},
      {parseIPv6Routes(kIPv6WlanDefault), {{"wlan0", noCarrier}}, false, "IPv6 default, no carrier"},
      {parseIPv6Routes(kIPv6Null), {{"lo", live}}, false, "the kernel's IPv6 null entry, through lo"},
  };
  for (const auto& [routes, links, connected, what] : rows) {
    EXPECT_EQ(hasCarryingDefaultRoute(routes, links), connected) << what;
  }
}

TEST(LocalAddressChoice, DefaultRouteInterfaceElsePhysicalUpInterfaceElseLoopback) {
  const auto lo = address("lo", ip(127, 0, 0, 1), ip(255, 0, 0, 0));
  const auto eth = address("eth0", ip(192, 168, 1, 20));
  const auto ethNoCarrier = address("eth0", ip(192, 168, 1, 20), ip(255, 255, 255, 0), false);
  const auto ethLinkLocal = address("eth0", ip(169, 254, 3, 3), ip(255, 255, 0, 0));
  const auto wlan = address("wlan0", ip(10, 0, 0, 7));
  std::vector<InterfaceAddress> virtuals{lo};
  for (const auto* name : {"docker0", "br-5f2a", "veth12ab", "virbr0", "tun0", "tap1", "wg0", "myvpn",
                           "tailscale0", "ip6tnl0", "vboxnet0", "Docker1", "ZT1"}) {
    virtuals.push_back(address(name, ip(172, 17, 0, static_cast<std::uint32_t>(virtuals.size()))));
  }
  // The wireless default comes first in the table, the wired one has the lower metric.
  const auto both = ipv4(kWlanDefault + kEthDefault);
  const auto tied = ipv4(kWlanDefault + "eth0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n");
  const std::tuple<std::vector<Route>, std::vector<InterfaceAddress>, const char*, const char*> rows[] = {
      {ipv4(kEthDefault), {lo, virtuals[1], wlan, eth}, "192.168.1.20", "the default route's interface"},
      {both, {wlan, ethLinkLocal, eth}, "192.168.1.20", "lowest metric, gateway's subnet"},
      {both, {address("eth0", ip(10, 0, 0, 99)), wlan, eth}, "192.168.1.20", "its own route's gateway"},
      {ipv4("eth0\t000010AC\t0100000A\t0003\t0\t0\t100\t0000FFFF\t0\t0\t0\n" + kEthDefault),
       {address("eth0", ip(10, 0, 0, 99)), eth},
       "192.168.1.20",
       "a gateway of a route that is not the default is no guide"},
      {both, {ethNoCarrier, wlan}, "10.0.0.7", "wired cable out: the wireless default wins"},
      {tied, {eth, wlan}, "10.0.0.7", "equal metrics: the first in the table"},
      {ipv4("tun0\t00000000\t0\t0001\t0\t0\t0\t00000000\n"), {eth}, "192.168.1.20", "no address on it"},
      {{}, virtuals, "127.0.0.1", "nothing physical"},
      {{}, {ethNoCarrier, address("wlp2s0", ip(10, 0, 0, 7))}, "10.0.0.7", "one with carrier first"},
      {{}, {lo, ethNoCarrier}, "192.168.1.20", "a cable out is better than loopback"},
      {{}, {address("eth0", ip(192, 168, 1, 20), ip(255, 255, 255, 0), true, false)}, "127.0.0.1", "down"},
  };
  for (const auto& [routes, addresses, expected, what] : rows) {
    EXPECT_EQ(chooseLocalIPv4(routes, addresses), expected) << what;
  }
  virtuals.push_back(address("enp3s0", ip(192, 168, 5, 9)));
  EXPECT_EQ(chooseLocalIPv4({}, virtuals), "192.168.5.9");
  for (const auto* name : {"eth0", "enp3s0", "wlan0", "wlp2s0", "eno1", "ens33", "wwan0", "bond0", "ppp0"}) {
    EXPECT_FALSE(isVirtualInterfaceName(name)) << name;
  }
}

TEST(ConnectionAnswer, TheRoutesDecideAndTheServiceCanOnlyAddNoInternet) {
  using enum SystemReachability;
  for (const auto service : {Unknown, Disconnected, Local, Site, Online}) {
    EXPECT_FALSE(connectedGiven(false, service)) << "no route is offline whatever the service says";
  }
  // A service that does not know, or that does not manage the route's interface, leaves it to the
  // route; one that sees no Internet behind it says offline.
  for (const auto& [service, connected] :
       {std::pair{Unknown, true}, {Online, true}, {Disconnected, true}, {Local, false}, {Site, false}})
    EXPECT_EQ(connectedGiven(true, service), connected) << static_cast<int>(service);
}

// /proc/net/if_inet6 as the kernel writes it: address, index, prefix length, scope, flags, name.
const std::string kIfInet6 =
    "00000000000000000000000000000001 01 80 10 80       lo\n"
    "garbage line\n"
    "20010db8000100000000000000000005 0z 40 00 80     eth0\n"  // index not hex: skipped, not the end
    "fe80000000000000021122fffe334455 02 40 20 80     eth0\n"
    "20010db8000100000000000000000005 02 40 00 80     eth0\n"      // stable, permanent
    "20010db80001000051f3a2b4c6d8e0f1 02 40 00 01     eth0\n"      // temporary
    "20010db8000100000000000000000006 02 40 00 20     eth0\n"      // deprecated
    "20010db8000100000000000000000007 02 40 00 40     eth0\n"      // tentative
    "20010db8000200000000000000000009 03 40 00 08    wlan0\n"      // duplicate found
    "fd000000000000000000000000000001 03 40 00 00    wlan0\n"      // unique local: global scope
    "2001zdb8000100000000000000000005 02 40 00 80     eth0\n"      // not hex
    "20010db8000100000000000000000005 02 4z 00 80     eth0\n"      // prefix length not hex
    "20010db8000100000000000000000008 02 40 00 123456789 eth0\n";  // flags too large

TEST(IfInet6Table, ReadsEveryAddressWithItsScopeAndKindAndSkipsWhatDoesNotParse) {
  const auto table = parseIfInet6(kIfInet6);
  ASSERT_EQ(table.size(), 8U);
  EXPECT_EQ(ipv6OfInterface(table, "lo"), (std::vector<IPv6Address>{{"::1", IPv6Scope::Other}}));
  EXPECT_EQ(ipv6OfInterface(table, "eth0"),
            (std::vector<IPv6Address>{{"fe80::211:22ff:fe33:4455", IPv6Scope::LinkLocal},
                                      {"2001:db8:1::5", IPv6Scope::Global},
                                      {"2001:db8:1:0:51f3:a2b4:c6d8:e0f1", IPv6Scope::Global, true},
                                      {"2001:db8:1::6", IPv6Scope::Global, false, true},
                                      {"2001:db8:1::7", IPv6Scope::Global, false, false, true}}));
  EXPECT_EQ(ipv6OfInterface(table, "wlan0"),
            (std::vector<IPv6Address>{{"2001:db8:2::9", IPv6Scope::Global, false, false, true},
                                      {"fd00::1", IPv6Scope::Global}}));
  EXPECT_TRUE(ipv6OfInterface(table, "eth9").empty());
  EXPECT_TRUE(parseIfInet6("").empty());
}

TEST(InterfaceAddresses, NamesSortedOnceLoopbackAsideAndTheFirstAddressOfAnInterface) {
  const std::vector<InterfaceAddress> addresses = {address("wlan0", 0x0A020008U), address("lo", 0x7F000001U),
                                                   address("eth1", 0x0A010007U), address("eth1", 0x0A010063U),
                                                   address("dummy0", 0x7F000002U)};
  EXPECT_EQ(ipv4InterfaceNames(addresses), (std::vector<std::string>{"eth1", "wlan0"}));
  EXPECT_EQ(ipv4OfInterface(addresses, "eth1"), "10.1.0.7");
  EXPECT_EQ(ipv4OfInterface(addresses, "lo"), std::nullopt);
  EXPECT_EQ(ipv4OfInterface(addresses, "eth9"), std::nullopt);
}

Route defaultRoute(const char* name, std::uint32_t metric, bool usable = true) {
  return {name, true, usable, metric, std::nullopt};
}

TEST(InterfaceAddresses, AutomaticIPv6ComesFromTheIPv6DefaultRouteElseTheIPv4One) {
  const std::vector<Route> v4 = {defaultRoute("eth0", 100)};
  EXPECT_EQ(automaticIPv6Interface({defaultRoute("wlan0", 600), defaultRoute("wwan0", 50)}, v4), "wwan0");
  EXPECT_EQ(automaticIPv6Interface({defaultRoute("lo", 0, false)}, v4), "eth0");
  EXPECT_EQ(automaticIPv6Interface({}, {}), "");
}

}  // namespace
}  // namespace lumeno::platform::net
