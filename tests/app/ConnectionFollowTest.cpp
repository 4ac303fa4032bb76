// SPDX-License-Identifier: GPL-3.0-or-later
// Following the address, logging connection changes, the chosen interface and the IPv6 address.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>
#include <vector>

#include "MainPresenterFixture.h"
#include "app/AddressChoice.h"
#include "app/ConnectionWatch.h"

namespace lumeno::test {
namespace {

using namespace std::chrono_literals;
using platform::IPv6Address;
using platform::IPv6Scope;

// Seconds cut rather than rounded, and hours past a day, are the logged outages' below.
TEST(ConnectionWatch, TheDurationReadsHoursMinutesSecondsAndNeverLessThanNothing) {
  EXPECT_EQ(app::durationText(std::chrono::milliseconds(100h + 59min + 3s)), "100:59:03");
  EXPECT_EQ(app::durationText(25h + 1s), "25:00:01");
  EXPECT_EQ(app::durationText(-5s), "00:00:00");
}

IPv6Address v6(const char* text, IPv6Scope scope = IPv6Scope::Global, bool temporary = false,
               bool deprecated = false, bool tentative = false) {
  return {text, scope, temporary, deprecated, tentative};
}

TEST(IPv6Choice, AGlobalAddressElseAUniqueLocalOneStableFirstNeverDeprecatedTentativeOrLinkLocal) {
  const auto linkLocal = v6("fe80::1", IPv6Scope::LinkLocal);
  const auto hostOnly = v6("::1", IPv6Scope::Other);
  const auto temporary = v6("2001:db8::aaaa", IPv6Scope::Global, true);
  const auto stable = v6("2001:db8::5");
  const auto oldStable = v6("2001:db8::6", IPv6Scope::Global, false, true);
  const auto oldTemporary = v6("2001:db8::bbbb", IPv6Scope::Global, true, true);
  const auto unchecked = v6("2001:db8::7", IPv6Scope::Global, false, false, true);
  const auto uniqueLocal = v6("fd12:3456::5");  // the kernel gives these global scope too
  using Case = std::pair<std::vector<IPv6Address>, std::optional<std::string>>;
  for (const auto& [addresses, chosen] :
       std::vector<Case>{{{}, std::nullopt},
                         {{linkLocal, hostOnly}, std::nullopt},
                         {{linkLocal, temporary, stable}, "2001:db8::5"},
                         {{oldStable, temporary}, "2001:db8::aaaa"},
                         {{oldTemporary, oldStable, linkLocal}, std::nullopt},
                         {{unchecked, temporary}, "2001:db8::aaaa"},
                         {{stable, v6("2001:db8::9")}, "2001:db8::5"},
                         {{uniqueLocal, temporary, stable}, "2001:db8::5"},
                         {{uniqueLocal, oldTemporary}, "fd12:3456::5"},
                         {{linkLocal, v6("fc00::1"), uniqueLocal}, "fc00::1"},
                         {{v6("::ffff:10.0.0.1"), v6("4000::1")}, std::nullopt}}) {
    EXPECT_EQ(app::chooseIPv6(addresses), chosen) << addresses.size();
  }
}

TEST(AddressChoice, TheChosenInterfacesIPv6AddressAndAnInterfaceThatHasGoneReadsAsAutomatic) {
  platform::FakeNetworkInfo network;
  network.interfaces = {{"eth1", "10.1.0.7"}};
  network.ipv6 = {{"eth1", {v6("2001:db8:1::7")}}, {"wlan0", {v6("2001:db8:2::9")}}};
  network.ipv6DefaultInterface = "wlan0";
  EXPECT_EQ(std::tuple(app::ipv6For(network, ""), app::ipv6For(network, "eth1")),
            std::tuple("2001:db8:2::9", "2001:db8:1::7"));
  network.interfaces.clear();  // eth1 unplugged and gone
  EXPECT_EQ(app::ipv6For(network, "eth1"), "2001:db8:2::9");
  network.ipv6DefaultInterface.clear();
  EXPECT_EQ(app::ipv6For(network, "eth1"), std::nullopt);
}

const std::string kLoaded = "[Lumeno Loaded]" + kStamp;

// Settings with "Follow address changes", "Log connection changes" and the chosen interface.
std::string connectionSettings(const std::string& follow, const std::string& logChanges,
                               const std::string& chosen = "auto") {
  return "[Options]\r\nfollowip=" + follow + "\r\nlogoutages=" + logChanges + "\r\ninterface=" + chosen +
         "\r\n";
}

// It compares with the address it showed, so a host name in the box is no change.
TEST(FollowAddress, AChangeShowsTheNewAddressLogsItAndSaysSoInANotice) {
  MainPresenterFixture f(connectionSettings("1", "0"));
  auto& presenter = f.start(true);
  presenter.onGetHostNameChosen();
  presenter.onStatusTick();
  EXPECT_EQ(f.view.address, "testhost");
  const std::string logged = kLoaded + "[Requested Hostname] : testhost" + kStamp;
  EXPECT_EQ(f.log(), logged);  // same address: nothing happens

  f.network.address = "192.168.0.9";  // a real change still replaces the host name
  presenter.onStatusTick();
  EXPECT_EQ(std::tuple(f.view.address, f.view.addressTip), std::tuple("192.168.0.9", "Local IP Address"));
  EXPECT_EQ(f.view.trayTip.substr(0, 16), "IP : 192.168.0.9");  // the tip of the same tick
  EXPECT_EQ(f.log(), logged + "[Local IP Changed] : 192.168.0.9" + kStamp);
  EXPECT_EQ(f.view.notices,
            std::vector<std::string>{"Local IP changed: 192.168.0.5 \xE2\x86\x92 192.168.0.9"});

  f.network.address = "10.0.0.3";  // the next change is from the address shown last, and only once
  presenter.onStatusTick();
  presenter.onStatusTick();
  EXPECT_EQ(f.view.notices.back(), "Local IP changed: 192.168.0.9 \xE2\x86\x92 10.0.0.3");
  EXPECT_EQ(f.view.notices.size(), 2U);
}

TEST(FollowAddress, LosingTheAddressIsAnOutageAndOnlyAMoveBetweenRealAddressesIsAChange) {
  MainPresenterFixture f(connectionSettings("1", "1"));
  auto& presenter = f.start(true);
  presenter.onStatusTick();
  f.network.connected = false;
  f.network.address = "127.0.0.1";  // what the computer has without a network
  presenter.onStatusTick();
  EXPECT_EQ(f.view.address, "127.0.0.1");
  f.network.connected = true;
  f.network.address = "10.0.0.7";
  f.clock.steady += 5s;
  presenter.onStatusTick();
  EXPECT_EQ(f.log(), kLoaded + "[Went Offline]" + kStamp + "[Back Online]" +
                         kStamp.substr(0, kStamp.size() - 2) +
                         " , Offline for : 00:00:05\r\n[Local IP Changed] : 10.0.0.7" + kStamp);
  EXPECT_EQ(f.view.notices,
            (std::vector<std::string>{"Connection lost", "Connection restored after 00:00:05",
                                      "Local IP changed: 192.168.0.5 \xE2\x86\x92 10.0.0.7"}));
  f.network.address = "127.0.0.1";  // lost again, and back with the address it had: no change
  presenter.onStatusTick();
  f.network.address = "10.0.0.7";
  presenter.onStatusTick();
  EXPECT_EQ(f.view.notices.size(), 3U);
}

TEST(FollowAddress, TheChosenInterfaceFeedsTheBoxAChoiceIsNoChangeAndAVanishedOneFallsBackToAutomatic) {
  MainPresenterFixture f(connectionSettings("0", "0", "eth1"));
  f.network.interfaces = {{"eth1", "10.1.0.7"}, {"wlan0", "10.2.0.8"}};
  auto& presenter = f.start(true);
  EXPECT_EQ(f.view.address, "10.1.0.7");
  presenter.onRefreshLocalIpChosen();
  EXPECT_EQ(f.log(), kLoaded + "[Refreshed Local IP] : 10.1.0.7" + kStamp);

  // The user switches following on and picks another interface in the options.
  presenter.connectionOptions().followAddress = true;
  presenter.connectionOptions().interfaceName = "wlan0";
  presenter.onStatusTick();
  EXPECT_EQ(f.view.address, "10.2.0.8");
  f.network.interfaces.erase("wlan0");  // and it goes away
  presenter.onStatusTick();
  EXPECT_EQ(f.view.address, "192.168.0.5");
  EXPECT_EQ(f.log(), kLoaded + "[Refreshed Local IP] : 10.1.0.7" + kStamp +
                         "[Local IP Changed] : 192.168.0.5" + kStamp);
}

// Logging changes needs no following; the first tick only learns the state.
TEST(LogConnectionChanges, AnOutageSeenAtTheFirstTickIsLoggedOnlyWhenItEnds) {
  MainPresenterFixture f(connectionSettings("0", "1"));
  f.network.connected = false;
  auto& presenter = f.start(true);
  presenter.onStatusTick();
  f.clock.steady += 1s;
  presenter.onStatusTick();  // still offline: the same outage
  f.network.connected = true;
  f.clock.steady += 2s;
  presenter.onStatusTick();
  EXPECT_EQ(f.log(), kLoaded + "[Back Online]" + kStamp.substr(0, kStamp.size() - 2) +
                         " , Offline for : 00:00:03\r\n");
  EXPECT_EQ(f.view.notices, std::vector<std::string>{"Connection restored after 00:00:03"});
}

TEST(CopyIPv6, SaysWhenThereIsNoGlobalAddressAndTheReportCarriesTheOneThereIs) {
  MainPresenterFixture f;
  auto& presenter = f.start();
  presenter.onCopyIPv6Chosen();
  EXPECT_EQ(f.boxes.shown, (std::vector<BoxRequest>{{"There is no global IPv6 address on this interface.",
                                                     "Lumeno", BoxIcon::Information, BoxButtons::Ok}}));
  EXPECT_EQ(f.view.clipboard, "");

  f.network.ipv6DefaultInterface = "eth0";
  f.network.ipv6 = {{"eth0", {v6("fe80::5", IPv6Scope::LinkLocal), v6("2001:db8:1::5")}}};
  presenter.onEmailChosen();
  EXPECT_NE(f.launcher.openedUrls.back().find(
                "Local%20IP%20%3A%20192.168.0.5%0D%0AIPv6%20%3A%202001%3Adb8%3A1%3A%3A5"
                "%0D%0AHost%20name"),
            std::string::npos)
      << f.launcher.openedUrls.back();
  EXPECT_EQ(f.boxes.shown.size(), 1U);
}

}  // namespace
}  // namespace lumeno::test
