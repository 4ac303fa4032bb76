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
  void unload() override { ++unloads; }

  std::string title;
  std::string versionText;
  int unloads = 0;
};

struct AboutPresenterTest : ::testing::Test {
  FakeAboutView view;
  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeSystemInfoTool tool;
  AppContext context{
      .programFolder = "/opt/Lumeno Tools", .boxes = &boxes, .launcher = &launcher, .places = {}};
  AboutPresenter presenter{view, context, tool};
};

// The link opens the help page beside the program; "Sys Info" tells once per click, the box stays.
TEST_F(AboutPresenterTest, EachLoadShowsTheVersionAfreshDoneOrCloseUnloadTheLinkOpensTheHelpPage) {
  for (int load = 1; load <= 2; ++load) {
    view.title = view.versionText = "stale";
    presenter.onLoaded();
    EXPECT_EQ(std::pair(view.versionText, view.title),
              (std::pair<std::string, std::string>("Version 1.0.27", "Lumeno")));
  }
  presenter.onDoneClicked();
  EXPECT_EQ(view.unloads, 1);
  presenter.onCloseRequested();
  EXPECT_EQ(view.unloads, 2);
  EXPECT_TRUE(launcher.started.empty() && launcher.openedUrls.empty() && boxes.shown.empty() &&
              tool.lookups == 0);

  presenter.onLinkClicked();
  EXPECT_EQ(launcher.openedUrls, std::vector<std::string>{"file:///opt/Lumeno%20Tools/help.html"});
  EXPECT_TRUE(boxes.shown.empty());
  presenter.onSysInfoClicked();
  presenter.onSysInfoClicked();
  EXPECT_EQ(boxes.shown, (std::vector<BoxRequest>{kUnavailableBox, kUnavailableBox}));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(view.unloads, 2);
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
