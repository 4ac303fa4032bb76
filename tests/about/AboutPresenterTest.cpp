// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutPresenter.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "FakeLauncher.h"
#include "FakeSystemInfoTool.h"
#include "ScriptedMessageBoxes.h"
#include "about/AboutView.h"
#include "about/SysInfo.h"

namespace lumeno::about {
namespace {

const BoxRequest kUnavailableBox{std::string(kSysInfoUnavailable), "Lumeno", BoxIcon::None, BoxButtons::Ok};

struct FakeAboutView : AboutView {
  void setTitle(const std::string& text) override { title = text; }
  void setVersionText(const std::string& text) override { versionText = text; }
  void unload() override {}

  std::string title;
  std::string versionText;
};

// What its clicks, its link and "Sys Info" do is the about box's test, through the real box.
TEST(AboutPresenterTest, EachLoadShowsTheVersionAndTheTitleAfresh) {
  FakeAboutView view;
  const AppContext context;
  const platform::FakeSystemInfoTool tool;
  AboutPresenter presenter{view, context, tool};
  for (int load = 1; load <= 2; ++load) {
    view.title = view.versionText = "stale";
    presenter.onLoaded();
    EXPECT_EQ(std::pair(view.versionText, view.title),
              (std::pair<std::string, std::string>("Version 1.0.27", "Lumeno")));
  }
}

// One "Sys Info" click for each way the look-up and the start can go: the programs started, then
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
    startSysInfo({.programFolder = {}, .boxes = &boxes, .launcher = &launcher, .places = {}}, tool);
    std::vector<std::string> seen;
    for (const auto& start : launcher.started) {
      EXPECT_TRUE(start.arguments.empty());
      seen.push_back("start " + start.program);
    }
    for (const auto& box : boxes.shown) {
      EXPECT_EQ(box, kUnavailableBox);
      seen.push_back(box.text);
    }
    EXPECT_EQ(seen, row.outcome) << row.found.value_or("nothing");
  }
}

}  // namespace
}  // namespace lumeno::about
