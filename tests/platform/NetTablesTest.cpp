#include "platform/posix/NetTables.h"

#include <gtest/gtest.h>

namespace lumeno::platform::net {
namespace {

// Tables as the kernel writes them (addresses in /proc/net/route are little-endian words on x86).
constexpr std::string_view kIPv4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
// default via 192.168.1.1 dev eth0 metric 100; 192.168.1.0/24 dev eth0
constexpr std::string_view kEthDefault =
    "eth0\t00000000\t0101A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
    "eth0\t0001A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
// unreachable default (no device, reject flag)
constexpr std::string_view kUnreachableDefault = "*\t00000000\t00000000\t0201\t0\t0\t0\t00000000\t0\t0\t0\n";
// The IPv6 null entries every kernel lists through lo.
constexpr std::string_view kIPv6Null =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n";
// default via fe80::1 dev wlan0 metric 600
constexpr std::string_view kIPv6WlanDefault =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "fe800000000000000000000000000001 00000258 00000001 00000000 00450003    wlan0\n"
    "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 00000100 00000001 00000000 00000001    wlan0\n";

std::vector<Route> ipv4(std::string_view body) {
  return parseIPv4Routes(std::string(kIPv4Header) + std::string(body));
}

constexpr std::uint32_t ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  return (a << 24U) | (b << 16U) | (c << 8U) | d;
}

InterfaceAddress address(std::string name, std::uint32_t value, std::uint32_t mask = ip(255, 255, 255, 0),
                         bool carrier = true) {
  InterfaceAddress a;
  a.interface = std::move(name);
  a.address = value;
  a.netmask = mask;
  a.up = true;
  a.carrier = carrier;
  a.loopback = a.interface == "lo";
  return a;
}

const InterfaceAddress kLoopback = address("lo", ip(127, 0, 0, 1), ip(255, 0, 0, 0));

TEST(RouteTables, ReadsTheKernelsIPv4TableWithItsByteOrder) {
  const auto routes = ipv4(kEthDefault);
  ASSERT_EQ(routes.size(), 2U);
  EXPECT_TRUE(routes[0].isDefault);
  EXPECT_TRUE(routes[0].usable);
  EXPECT_EQ(routes[0].interface, "eth0");
  EXPECT_EQ(routes[0].metric, 100U);
  ASSERT_TRUE(routes[0].gatewayV4.has_value());
  EXPECT_EQ(formatIPv4(*routes[0].gatewayV4), "192.168.1.1");
  EXPECT_FALSE(routes[1].isDefault);
  EXPECT_FALSE(routes[1].gatewayV4.has_value());
}

TEST(RouteTables, SkipsHeadersGarbageAndTruncatedLines) {
  EXPECT_TRUE(parseIPv4Routes("").empty());
  EXPECT_TRUE(parseIPv4Routes(kIPv4Header).empty());
  EXPECT_TRUE(parseIPv4Routes("eth0\t00000000\tnothex\t0003\t0\t0\t0\t00000000\n").empty());
  EXPECT_TRUE(parseIPv4Routes("eth0\t00000000\t0101A8C0\t0003\n").empty());
  EXPECT_TRUE(parseIPv6Routes("00000000 00 garbage\n").empty());
  // A table without a final line break still counts its last line.
  EXPECT_EQ(parseIPv4Routes(kEthDefault.substr(0, kEthDefault.size() - 1)).size(), 2U);
}

TEST(RouteTables, ReadsTheKernelsIPv6Table) {
  const auto routes = parseIPv6Routes(std::string(kIPv6WlanDefault) + std::string(kIPv6Null));
  ASSERT_EQ(routes.size(), 3U);
  EXPECT_TRUE(routes[0].isDefault);
  EXPECT_TRUE(routes[0].usable);
  EXPECT_EQ(routes[0].interface, "wlan0");
  EXPECT_EQ(routes[0].metric, 600U);
  EXPECT_FALSE(routes[1].isDefault);  // fe80::/64
  EXPECT_TRUE(routes[2].isDefault);   // the null entry: a rejecting route through lo
  EXPECT_FALSE(routes[2].usable);
}

TEST(ConnectionByRoutes, NeedsADefaultRouteThroughALinkThatIsUpWithCarrier) {
  const auto routes = ipv4(kEthDefault);
  EXPECT_TRUE(hasCarryingDefaultRoute(routes, {{"eth0", {true, true}}}));
  EXPECT_FALSE(hasCarryingDefaultRoute(routes, {{"eth0", {true, false}}})) << "cable out";
  EXPECT_FALSE(hasCarryingDefaultRoute(routes, {{"eth0", {false, false}}})) << "interface down";
  EXPECT_FALSE(hasCarryingDefaultRoute(routes, {})) << "interface gone";
  // Only a local subnet, no default route.
  EXPECT_FALSE(hasCarryingDefaultRoute(ipv4(kEthDefault.substr(kEthDefault.find('\n') + 1)),
                                       {{"eth0", {true, true}}}));
}

TEST(ConnectionByRoutes, IgnoresRejectingRoutesAndTheKernelsNullEntries) {
  EXPECT_FALSE(hasCarryingDefaultRoute(ipv4(kUnreachableDefault), {{"*", {true, true}}}));
  EXPECT_FALSE(hasCarryingDefaultRoute(parseIPv6Routes(kIPv6Null), {{"lo", {true, true}}}));
  EXPECT_FALSE(hasCarryingDefaultRoute(ipv4("lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"),
                                       {{"lo", {true, true}}}));
}

TEST(ConnectionByRoutes, AnyLiveDefaultRouteCountsInEitherFamily) {
  EXPECT_TRUE(hasCarryingDefaultRoute(parseIPv6Routes(std::string(kIPv6Null) + std::string(kIPv6WlanDefault)),
                                      {{"wlan0", {true, true}}}));
  // A dead wired default with a better metric does not hide a live wireless one.
  const auto both =
      ipv4(std::string(kEthDefault) + "wlan0\t00000000\t0100000A\t0003\t0\t0\t600\t00000000\t0\t0\t0\n");
  EXPECT_EQ(defaultRouteInterfaces(both), (std::vector<std::string>{"eth0", "wlan0"}));
  EXPECT_TRUE(hasCarryingDefaultRoute(both, {{"eth0", {true, false}}, {"wlan0", {true, true}}}));
}

TEST(LocalAddressChoice, TakesTheDefaultRoutesInterface) {
  const auto routes = ipv4(kEthDefault);
  EXPECT_EQ(
      chooseLocalIPv4(routes, {kLoopback, address("docker0", ip(172, 17, 0, 1)),
                               address("wlan0", ip(10, 0, 0, 7)), address("eth0", ip(192, 168, 1, 20))}),
      "192.168.1.20");
}

TEST(LocalAddressChoice, PrefersTheAddressInTheGatewaysSubnetAndTheLowestMetric) {
  const auto routes =
      ipv4(std::string(kEthDefault) + "wlan0\t00000000\t0100000A\t0003\t0\t0\t600\t00000000\t0\t0\t0\n");
  // eth0 carries a link-local address first, then the one in 192.168.1.0/24.
  EXPECT_EQ(chooseLocalIPv4(routes, {address("wlan0", ip(10, 0, 0, 7)),
                                     address("eth0", ip(169, 254, 3, 3), ip(255, 255, 0, 0)),
                                     address("eth0", ip(192, 168, 1, 20))}),
            "192.168.1.20");
  // An alias label names the same interface.
  EXPECT_EQ(interfaceOfLabel("eth0:1"), "eth0");
  // With the wired cable out, the wireless default route wins.
  EXPECT_EQ(chooseLocalIPv4(routes, {address("eth0", ip(192, 168, 1, 20), ip(255, 255, 255, 0), false),
                                     address("wlan0", ip(10, 0, 0, 7))}),
            "10.0.0.7");
}

TEST(LocalAddressChoice, WithoutADefaultRouteTakesAPhysicalInterface) {
  const std::vector<Route> none;
  EXPECT_EQ(
      chooseLocalIPv4(none, {kLoopback, address("docker0", ip(172, 17, 0, 1)),
                             address("br-5f2a", ip(172, 18, 0, 1)), address("veth12ab", ip(10, 9, 0, 1)),
                             address("virbr0", ip(192, 168, 122, 1)), address("tun0", ip(10, 8, 0, 2)),
                             address("wg0", ip(10, 7, 0, 2)), address("enp3s0", ip(192, 168, 5, 9))}),
      "192.168.5.9");
  // One with carrier before one without.
  EXPECT_EQ(chooseLocalIPv4(none, {address("eth0", ip(192, 168, 1, 20), ip(255, 255, 255, 0), false),
                                   address("wlp2s0", ip(10, 0, 0, 7))}),
            "10.0.0.7");
  // A downed interface's address is not shown.
  auto down = address("eth0", ip(192, 168, 1, 20));
  down.up = false;
  EXPECT_EQ(chooseLocalIPv4(none, {down}), "127.0.0.1");
  EXPECT_EQ(chooseLocalIPv4(none, {kLoopback, address("docker0", ip(172, 17, 0, 1))}), "127.0.0.1");
  EXPECT_EQ(chooseLocalIPv4(none, {}), "127.0.0.1");
}

TEST(LocalAddressChoice, ADefaultRouteWithoutAnAddressFallsBackToTheInterfaceList) {
  // ppp-style default through an interface that has no IPv4 address of its own.
  const auto routes = ipv4("tun0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n");
  EXPECT_EQ(chooseLocalIPv4(routes, {address("eth0", ip(192, 168, 1, 20))}), "192.168.1.20");
}

TEST(InterfaceNames, TellVirtualFromPhysical) {
  for (const auto* name : {"docker0", "br0", "br-1a2b3c", "virbr0", "veth9f3e", "tun0", "tap1", "wg0",
                           "myvpn", "tailscale0", "ip6tnl0", "vboxnet0", "Docker1"}) {
    EXPECT_TRUE(isVirtualInterfaceName(name)) << name;
  }
  for (const auto* name : {"eth0", "enp3s0", "wlan0", "wlp2s0", "eno1", "ens33", "wwan0", "bond0", "ppp0"}) {
    EXPECT_FALSE(isVirtualInterfaceName(name)) << name;
  }
}

TEST(SystemReachabilityAnswer, OnlyFullInternetReachabilityIsOnline) {
  EXPECT_EQ(connectionFromSystem(SystemReachability::Online), std::optional<bool>(true));
  EXPECT_EQ(connectionFromSystem(SystemReachability::Site), std::optional<bool>(false));
  EXPECT_EQ(connectionFromSystem(SystemReachability::Local), std::optional<bool>(false));
  EXPECT_EQ(connectionFromSystem(SystemReachability::Disconnected), std::optional<bool>(false));
  EXPECT_EQ(connectionFromSystem(SystemReachability::Unknown), std::nullopt) << "the routes decide";
}

}  // namespace
}  // namespace lumeno::platform::net
