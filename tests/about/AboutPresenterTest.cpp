// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutPresenter.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeAboutView.h"
#include "FakeLauncher.h"
#include "FakeSystemInfoTool.h"
#include "ScriptedMessageBoxes.h"
#include "about/SysInfo.h"

namespace lumeno::about {
namespace {

const BoxRequest kUnavailableBox{std::string(kSysInfoUnavailable), "Lumeno", BoxIcon::None, BoxButtons::Ok};

struct AboutPresenterTest : ::testing::Test {
  // Nothing reached the outside: no program, no page, no message, no look-up of the tool.
  [[nodiscard]] bool nothingElseHappened() const {
    return launcher.started.empty() && launcher.openedUrls.empty() && boxes.shown.empty() &&
           tool.lookups == 0;
  }

  FakeAboutView view;
  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeSystemInfoTool tool;
  AppContext context{
      .programFolder = "/opt/Lumeno Tools", .boxes = &boxes, .launcher = &launcher, .places = {}};
  AboutPresenter presenter{view, context, tool};
};

TEST_F(AboutPresenterTest, EachLoadShowsTheVersionAndTheTitleAfreshAndDoneEnterEscOrTheTitleBarUnload) {
  for (int load = 1; load <= 2; ++load) {
    view.title = "stale";
    view.versionText = "stale";
    presenter.onLoaded();
    EXPECT_EQ(view.versionText, "Version 1.0.27") << load;
    EXPECT_EQ(view.title, "Lumeno") << load;
  }
  EXPECT_EQ(view.unloads, 0);
  presenter.onDoneClicked();
  EXPECT_EQ(view.unloads, 1);
  presenter.onCloseRequested();
  EXPECT_EQ(view.unloads, 2);
  EXPECT_TRUE(nothingElseHappened());
}

// Which tool starts is tested on startSysInfo; here, that each click asks it and the box stays.
TEST_F(AboutPresenterTest, TheLinkOpensTheHelpPageBesideTheProgramSysInfoTellsOncePerClickAndTheBoxStays) {
  presenter.onLinkClicked();
  EXPECT_EQ(launcher.openedUrls, std::vector<std::string>{"file:///opt/Lumeno%20Tools/help.html"});
  EXPECT_TRUE(boxes.shown.empty());
  presenter.onSysInfoClicked();
  presenter.onSysInfoClicked();
  EXPECT_EQ(boxes.shown, (std::vector<BoxRequest>{kUnavailableBox, kUnavailableBox}));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(view.unloads, 0);
}

}  // namespace
}  // namespace lumeno::about
