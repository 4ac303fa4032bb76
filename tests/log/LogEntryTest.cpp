// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogEntry.h"

#include <gtest/gtest.h>

namespace lumeno::log {
namespace {

const platform::DateTimeText kNow{"05/12/2026", "11:26:06"};

TEST(LogEntry, HeadAndStampGiveTheExactLine) {
  EXPECT_EQ(stampedEntry(kLumenoLoaded, kNow), "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n");
  EXPECT_EQ(stampedEntry(kProgramExit, kNow), "[Program Exit] , Date : 05/12/2026 , Time : 11:26:06\r\n");
  EXPECT_EQ(stampedEntry(kConnectionLost, kNow),
            "[Connection Lost] , Date : 05/12/2026 , Time : 11:26:06\r\n");
  EXPECT_EQ(stampedEntry(kErrorApiIni, kNow), "[Error API ini] , Date : 05/12/2026 , Time : 11:26:06\r\n");
  // The stamp alone is what completes a head written separately.
  EXPECT_EQ(std::string(kProgramExit) + stamp(kNow), stampedEntry(kProgramExit, kNow));
}

TEST(LogEntry, ValuedEntriesCarryTheValueBeforeTheDate) {
  EXPECT_EQ(valuedEntry(kRefreshedLocalIp, "10.0.0.2", kNow),
            "[Refreshed Local IP] : 10.0.0.2 , Date : 05/12/2026 , Time : 11:26:06\r\n");
  EXPECT_EQ(valuedEntry(kRequestedHostname, "box", {"12/5/26", "11:26:06 AM"}),
            "[Requested Hostname] : box , Date : 12/5/26 , Time : 11:26:06 AM\r\n");
}

}  // namespace
}  // namespace lumeno::log
