// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/InterfaceTables.h"

#include <gtest/gtest.h>

namespace lumeno::platform::net {
namespace {

// /proc/net/if_inet6 as the kernel writes it: address, index, prefix length, scope, flags, name.
const std::string kIfInet6 =
    "00000000000000000000000000000001 01 80 10 80       lo\n"
    "fe80000000000000021122fffe334455 02 40 20 80     eth0\n"
    "20010db8000100000000000000000005 02 40 00 80     eth0\n"  // stable, permanent
    "20010db80001000051f3a2b4c6d8e0f1 02 40 00 01     eth0\n"  // temporary
    "20010db8000100000000000000000006 02 40 00 20     eth0\n"  // deprecated
    "20010db8000100000000000000000007 02 40 00 40     eth0\n"  // tentative
    "20010db8000200000000000000000009 03 40 00 08    wlan0\n"  // duplicate found
    "fd000000000000000000000000000001 03 40 00 00    wlan0\n"  // unique local: global scope
    "garbage line\n"
    "2001zdb8000100000000000000000005 02 40 00 80     eth0\n"      // not hex
    "20010db8000100000000000000000008 02 40 00 123456789 eth0\n";  // flags too large

TEST(IfInet6Table, ReadsEveryAddressWithItsScopeAndKindAndSkipsWhatDoesNotParse) {
  const auto table = parseIfInet6(kIfInet6);
  ASSERT_EQ(table.size(), 8U);
  EXPECT_EQ(table[0].interface, "lo");
  EXPECT_EQ(table[0].address, (IPv6Address{"::1", IPv6Scope::Other}));
  EXPECT_EQ(table[1].address, (IPv6Address{"fe80::211:22ff:fe33:4455", IPv6Scope::LinkLocal}));
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

InterfaceAddress address(const char* name, std::uint32_t ipv4, bool loopback = false) {
  return {name, ipv4, 0xFFFFFF00U, true, true, loopback};
}

TEST(InterfaceAddresses, NamesSortedOnceLoopbackAsideAndTheFirstAddressOfAnInterface) {
  const std::vector<InterfaceAddress> addresses = {
      address("wlan0", 0x0A020008U), address("lo", 0x7F000001U, true), address("eth1", 0x0A010007U),
      address("eth1", 0x0A010063U), address("dummy0", 0x7F000002U)};
  EXPECT_EQ(ipv4InterfaceNames(addresses), (std::vector<std::string>{"eth1", "wlan0"}));
  EXPECT_EQ(ipv4OfInterface(addresses, "eth1"), "10.1.0.7");
  EXPECT_EQ(ipv4OfInterface(addresses, "lo"), std::nullopt);
  EXPECT_EQ(ipv4OfInterface(addresses, "eth9"), std::nullopt);
}

Route defaultRoute(const char* name, std::uint32_t metric, bool usable = true) {
  Route route;
  route.interface = name;
  route.isDefault = true;
  route.usable = usable;
  route.metric = metric;
  return route;
}

TEST(InterfaceAddresses, AutomaticIPv6ComesFromTheIPv6DefaultRouteElseTheIPv4One) {
  const std::vector<Route> v4 = {defaultRoute("eth0", 100)};
  EXPECT_EQ(automaticIPv6Interface({defaultRoute("wlan0", 600), defaultRoute("wwan0", 50)}, v4), "wwan0");
  EXPECT_EQ(automaticIPv6Interface({defaultRoute("lo", 0, false)}, v4), "eth0");
  EXPECT_EQ(automaticIPv6Interface({}, {}), "");
}

}  // namespace
}  // namespace lumeno::platform::net
