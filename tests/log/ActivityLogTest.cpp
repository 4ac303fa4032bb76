// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/ActivityLog.h"
#include "log/LogEntry.h"

#include <gtest/gtest.h>

#include "FakeClock.h"
#include "TempFolder.h"

namespace lumeno::log {
namespace {

class ActivityLogTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  platform::FakeClock clock;
  bool loggingOn = true;
  ActivityLog log{folder / "log.txt", clock, [this] { return loggingOn; }};
};

TEST_F(ActivityLogTest, EntriesAppendAsCrLfLinesInOrder) {
  log.writeStamped(kLumenoLoaded);
  clock.value = {"05/12/2026", "11:27:00"};
  log.writeValued(kRefreshedLocalIp, [] { return std::string("10.1.2.3"); });
  log.writeStamped(kProgramExit);
  EXPECT_EQ(folder.read("log.txt"),
            "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n"
            "[Refreshed Local IP] : 10.1.2.3 , Date : 05/12/2026 , Time : 11:27:00\r\n"
            "[Program Exit] , Date : 05/12/2026 , Time : 11:27:00\r\n");
}

TEST_F(ActivityLogTest, ClearEmptiesOrCreatesTheFile) {
  EXPECT_TRUE(log.clear());
  EXPECT_EQ(folder.read("log.txt"), "");
  log.writeStamped(kLumenoLoaded);
  EXPECT_TRUE(log.clear());
  EXPECT_EQ(folder.read("log.txt"), "");
  log.writeStamped(kProgramExit);
  EXPECT_EQ(folder.read("log.txt"), "[Program Exit] , Date : 05/12/2026 , Time : 11:26:06\r\n");
}

TEST_F(ActivityLogTest, AnUnwritableLogIsSkippedAndAFailedClearIsReported) {
  // A folder where the log should be: no write can succeed, whoever runs the test.
  std::filesystem::create_directory(folder / "log.txt");
  log.writeStamped(kLumenoLoaded);  // must neither throw nor crash
  log.writeStampedAlways(kErrorApiIni);
  EXPECT_FALSE(log.clear());
  EXPECT_TRUE(std::filesystem::is_empty(folder / "log.txt"));
}

TEST_F(ActivityLogTest, TheSwitchIsAskedAtEachWriteAndOffWritesNothingButTheSettingsErrorEntry) {
  log.writeStamped(kLumenoLoaded);
  loggingOn = false;
  bool valueRead = false;
  log.writeStamped(kConnectionLost);
  log.writeValued(kRequestedHostname, [&] {
    valueRead = true;
    return std::string("box");
  });
  EXPECT_FALSE(valueRead);
  log.writeStampedAlways(kErrorApiIni);
  loggingOn = true;
  log.writeStamped(kProgramExit);
  EXPECT_EQ(folder.read("log.txt"),
            "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n"
            "[Error API ini] , Date : 05/12/2026 , Time : 11:26:06\r\n"
            "[Program Exit] , Date : 05/12/2026 , Time : 11:26:06\r\n");
}

}  // namespace
}  // namespace lumeno::log
