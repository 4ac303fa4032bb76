// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogMonitorDesign.h"

#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace lumeno::log::design {
namespace {

// The texts and sizes both faces build the log monitor from.
TEST(LogMonitorDesign, TheWindowItsFileMenuItsSizesAndItsTimerAreAsDesigned) {
  std::vector<std::string_view> texts{kWindowName, kCaption, kFileMenuName, kFileMenuCaption};
  for (const MenuItemDesign& item : kFileMenu) texts.insert(texts.end(), {item.name, item.caption});
  EXPECT_EQ(texts, (std::vector<std::string_view>{"logfrm", "Log monitor", "mnufile", "File", "mnuclearlog",
                                                  "Clear log", "mnupausescreen", "Pause screen", "mnuresume",
                                                  "Resume", "mnuexit", "Exit"}));
  EXPECT_EQ((std::vector{kClientWidth, kClientHeight, kMinimumOuterWidth, kMinimumOuterHeight,
                         kStatusBarHeight, kReloadIntervalMs}),
            (std::vector{7005, 5355, 5000, 3000, 255, 3000}));
}

}  // namespace
}  // namespace lumeno::log::design
