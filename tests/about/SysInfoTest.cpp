// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfo.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeLauncher.h"
#include "FakeSystemInfoTool.h"
#include "ScriptedMessageBoxes.h"

namespace lumeno::about {
namespace {

// One "Sys Info" click for each way the lookup and the start can go: the programs started, then
// the messages shown.
TEST(StartSysInfoTest, TheToolFoundStartsWithoutArgumentsAndEveryFailureEndsInTheOneMessage) {
  const std::string unavailable(kSysInfoUnavailable);
  struct Row {
    std::optional<std::string> found;
    bool lookupFails;
    bool startSucceeds;
    std::vector<std::string> outcome;
  };
  const std::vector<Row> rows = {
      {"C:\\Tools\\msinfo32.exe", false, true, {"start C:\\Tools\\msinfo32.exe"}},
      {"/usr/bin/kinfocenter", false, false, {"start /usr/bin/kinfocenter", unavailable}},
      {std::nullopt, false, true, {unavailable}},
      {"C:\\msinfo32.exe", true, true, {unavailable}},
  };
  for (const Row& row : rows) {
    test::ScriptedMessageBoxes boxes;
    platform::FakeLauncher launcher;
    launcher.startSucceeds = row.startSucceeds;
    platform::FakeSystemInfoTool tool;
    tool.program = row.found;
    tool.fails = row.lookupFails;
    const AppContext context{.programFolder = {}, .boxes = &boxes, .launcher = &launcher, .places = {}};
    startSysInfo(context, tool);
    std::vector<std::string> seen;
    for (const auto& start : launcher.started) {
      EXPECT_TRUE(start.arguments.empty());
      seen.push_back("start " + start.program);
    }
    for (const auto& box : boxes.shown) {
      EXPECT_EQ(box, (BoxRequest{unavailable, "Lumeno", BoxIcon::None, BoxButtons::Ok}));
      seen.push_back(box.text);
    }
    EXPECT_EQ(seen, row.outcome) << row.found.value_or("nothing");
  }
}

}  // namespace
}  // namespace lumeno::about
