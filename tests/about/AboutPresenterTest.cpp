// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutPresenter.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeAboutView.h"
#include "FakeLauncher.h"
#include "FakeRegistry.h"
#include "ScriptedMessageBoxes.h"
#include "about/SysInfoLookup.h"

namespace lumeno::about {
namespace {

const BoxRequest kUnavailableBox{std::string(kSysInfoUnavailable), "Lumeno", BoxIcon::None, BoxButtons::Ok};

struct AboutPresenterTest : ::testing::Test {
  // Nothing reached the outside: no program, no page, no message, no registry look-up.
  [[nodiscard]] bool nothingElseHappened() const {
    return launcher.started.empty() && launcher.openedUrls.empty() && boxes.shown.empty() &&
           registry.opens.empty();
  }

  FakeAboutView view;
  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeRegistry registry;
  std::set<std::string> files;
  AppContext context{.programFolder = "/opt/Lumeno Tools",
                     .executable = {},
                     .boxes = &boxes,
                     .launcher = &launcher,
                     .places = {}};
  AboutPresenter presenter{view, context, registry,
                           [this](const std::string& path) { return files.contains(path); }};
};

TEST_F(AboutPresenterTest, EachLoadShowsTheVersionAndTheTitleAfresh) {
  for (int load = 1; load <= 2; ++load) {
    view.title = "stale";
    view.versionText = "stale";
    presenter.onLoaded();
    EXPECT_EQ(view.versionText, "Version 1.0.27") << load;
    EXPECT_EQ(view.title, "Lumeno") << load;
  }
  EXPECT_EQ(view.unloads, 0);
  EXPECT_TRUE(nothingElseHappened());
}

TEST_F(AboutPresenterTest, DoneEnterEscAndTheTitleBarUnloadTheBoxAndDoNothingElse) {
  presenter.onDoneClicked();
  EXPECT_EQ(view.unloads, 1);
  presenter.onCloseRequested();
  EXPECT_EQ(view.unloads, 2);
  EXPECT_TRUE(nothingElseHappened());
}

TEST_F(AboutPresenterTest, TheLinkOpensTheHelpPageBesideTheProgramAndTheBoxStays) {
  presenter.onLinkClicked();
  EXPECT_EQ(launcher.openedUrls, std::vector<std::string>{"file:///opt/Lumeno%20Tools/help.html"});
  EXPECT_TRUE(launcher.started.empty() && boxes.shown.empty());
  EXPECT_EQ(view.unloads, 0);
}

// Which tool starts is tested on StartSysInfo; here, that each click asks it and the box stays.
TEST_F(AboutPresenterTest, SysInfoTellsOncePerClickAndTheBoxStays) {
  presenter.onSysInfoClicked();
  presenter.onSysInfoClicked();
  EXPECT_EQ(boxes.shown, (std::vector<BoxRequest>{kUnavailableBox, kUnavailableBox}));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(view.unloads, 0);
}

}  // namespace
}  // namespace lumeno::about
