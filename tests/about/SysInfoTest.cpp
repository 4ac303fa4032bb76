#include "about/SysInfo.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "FakeLauncher.h"
#include "FakeRegistry.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "about/SysInfoLookup.h"

namespace lumeno::about {
namespace {

class StartSysInfoTest : public ::testing::Test {
 protected:
  StartSysInfoTest() {
    context.programFolder = folder.path();
    context.boxes = &boxes;
    context.launcher = &launcher;
  }

  [[nodiscard]] bool toldUnavailableOnce() const {
    return boxes.shown.size() == 1 &&
           boxes.shown[0] == BoxRequest{"System Information Is Unavailable At This Time", "Lumeno",
                                        BoxIcon::None, BoxButtons::Ok};
  }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeRegistry registry;
  AppContext context;
};

TEST_F(StartSysInfoTest, ThePathValueIsStartedAsItStandsAndAFailedStartIsReported) {
  registry.setString(std::string(kMsinfoKey), "PATH", "C:\\Program Files\\Common Files\\msinfo32.exe");
  StartSysInfo(context, registry);
  ASSERT_EQ(launcher.started.size(), 1U);
  EXPECT_EQ(launcher.started[0].program, "C:\\Program Files\\Common Files\\msinfo32.exe");
  EXPECT_TRUE(launcher.started[0].arguments.empty());
  EXPECT_TRUE(boxes.shown.empty());

  launcher.startSucceeds = false;
  StartSysInfo(context, registry);
  EXPECT_EQ(launcher.started.size(), 2U);
  EXPECT_TRUE(toldUnavailableOnce());
}

TEST_F(StartSysInfoTest, TheFolderValueStartsMsinfo32WhenTheFileIsThere) {
  registry.setString(std::string(kToolsLocationKey), "MSINFO", folder.path().string());
  StartSysInfo(context, registry);
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_TRUE(toldUnavailableOnce());

  folder.write("MSINFO32.EXE", "program");
  StartSysInfo(context, registry);
  ASSERT_EQ(launcher.started.size(), 1U);
  EXPECT_EQ(launcher.started[0].program, (folder / "MSINFO32.EXE").string());
  EXPECT_EQ(boxes.shown.size(), 1U);
}

TEST_F(StartSysInfoTest, AnEmptyPathValueGivesTheMessageAtOnce) {
  folder.write("MSINFO32.EXE", "program");
  registry.setString(std::string(kToolsLocationKey), "MSINFO", folder.path().string());
  registry.set(std::string(kMsinfoKey), "PATH", {platform::kRegString, ""});
  launcher.installed["hardinfo"] = "/usr/bin/hardinfo";
  StartSysInfo(context, registry);
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_TRUE(toldUnavailableOnce());
  EXPECT_EQ(registry.opens.size(), 1U);
}

TEST_F(StartSysInfoTest, AUserWhoMayOnlyReadTheMachineKeysStillGetsTheTool) {
  registry.readOnlyUser = true;
  registry.setString(std::string(kMsinfoKey), "PATH", "C:\\msinfo32.exe");
  StartSysInfo(context, registry);
  ASSERT_EQ(launcher.started.size(), 1U);
  EXPECT_TRUE(boxes.shown.empty());
  for (const auto& open : registry.opens) EXPECT_EQ(open.accessMask, platform::kKeyRead);
}

TEST_F(StartSysInfoTest, WithoutRegistryEntriesTheFirstInstalledDesktopToolStarts) {
  launcher.installed["gnome-system-monitor"] = "/usr/bin/gnome-system-monitor";
  launcher.installed["kinfocenter"] = "/usr/bin/kinfocenter";
  StartSysInfo(context, registry);
  ASSERT_EQ(launcher.started.size(), 1U);
  EXPECT_EQ(launcher.started[0].program, "/usr/bin/kinfocenter");
  EXPECT_TRUE(boxes.shown.empty());

  launcher.startSucceeds = false;
  StartSysInfo(context, registry);
  EXPECT_TRUE(toldUnavailableOnce());
}

TEST_F(StartSysInfoTest, ThisSystemsRegistryWithNoToolInstalledGivesTheMessageOncePerCall) {
  StartSysInfo(context);
  EXPECT_TRUE(toldUnavailableOnce());
  StartSysInfo(context);
  EXPECT_EQ(boxes.shown.size(), 2U);
  EXPECT_TRUE(launcher.started.empty());
}

}  // namespace
}  // namespace lumeno::about
