#include <gtest/gtest.h>
#include <algorithm>

#include "app/InfoLabelRing.h"
#include "app/NetIpAnswer.h"
#include "app/StatusText.h"

namespace lumeno::app {
namespace {

TEST(StatusText, TrayTipHasThreeCrLfLinesAndTheRefreshForm) {
  EXPECT_EQ(trayTip(TipAddressPrefix::Ip, "192.168.0.5", kOnline),
            "IP : 192.168.0.5\r\nStatus :  Online\r\nVersion : 1.0.27");
  EXPECT_EQ(trayTip(TipAddressPrefix::RefreshedIp, "10.0.0.1", kOffline),
            "LIP : 10.0.0.1\r\nStatus :  Offline!\r\nVersion : 1.0.27");
  EXPECT_EQ(versionLabelText(), " V1.0.27");
}

TEST(InfoLabelRing, FourClicksRunStatusVersionTimeDateAndBack) {
  InfoLabel front = InfoLabel::Status;
  std::vector<InfoLabel> seen;
  bool clockRefreshedBeforeTime = false;
  for (int click = 0; click < 4; ++click) {
    const InfoLabelStep step = nextInfoLabel(front);
    // The clicked label always goes away.
    EXPECT_NE(std::find(step.hide.begin(), step.hide.end(), front), step.hide.end());
    if (step.show == InfoLabel::Time) clockRefreshedBeforeTime = step.refreshClock;
    front = step.show;
    seen.push_back(front);
  }
  EXPECT_EQ(seen, (std::vector<InfoLabel>{InfoLabel::Version, InfoLabel::Time, InfoLabel::Date,
                                          InfoLabel::Status}));
  EXPECT_TRUE(clockRefreshedBeforeTime);
  // Clicking the version also clears the status label that may still lie behind it.
  const auto fromVersion = nextInfoLabel(InfoLabel::Version).hide;
  EXPECT_NE(std::find(fromVersion.begin(), fromVersion.end(), InfoLabel::Status), fromVersion.end());
}

TEST(NetIpAnswer, OnlyOneDottedAddressIsAnAnswer) {
  EXPECT_EQ(parseNetIpAnswer("203.0.113.7\n"), "203.0.113.7");
  EXPECT_EQ(parseNetIpAnswer("  8.8.4.4 "), "8.8.4.4");
  EXPECT_EQ(parseNetIpAnswer("0.0.0.0"), "0.0.0.0");
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4x", "<html>1.2.3.4</html>", "1..2.3",
                          "2001:db8::1", "1.2.3.0004"}) {
    EXPECT_FALSE(parseNetIpAnswer(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace lumeno::app
