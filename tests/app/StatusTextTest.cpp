#include <gtest/gtest.h>

#include "app/NetIpAnswer.h"
#include "app/StatusText.h"

namespace lumeno::app {
namespace {

TEST(StatusText, TrayTipHasThreeCrLfLinesAndTheRefreshForm) {
  EXPECT_EQ(trayTip(TipAddressPrefix::Ip, "192.168.0.5", kOnline),
            "IP : 192.168.0.5\r\nStatus :  Online\r\nVersion : 1.0.27");
  EXPECT_EQ(trayTip(TipAddressPrefix::RefreshedIp, "10.0.0.1", kOffline),
            "LIP : 10.0.0.1\r\nStatus :  Offline!\r\nVersion : 1.0.27");
}

TEST(NetIpAnswer, OnlyOneDottedAddressIsAnAnswer) {
  EXPECT_EQ(parseNetIpAnswer("  203.0.113.7\n"), "203.0.113.7");
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4x", "<html>1.2.3.4</html>", "1..2.3",
                          "2001:db8::1", "1.2.3.0004"}) {
    EXPECT_FALSE(parseNetIpAnswer(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace lumeno::app
