#include "about/AboutBox.h"
#include "about/SysInfo.h"
#include "about/SysInfoLookup.h"

#include <string>
#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "FakeLauncher.h"
#include "FakeRegistry.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"

namespace lumeno::about {
namespace {

using Outcome = std::vector<std::string>;
const std::string kUnavailable(kSysInfoUnavailable);

struct SysInfoTest : ::testing::Test {
  // One "Sys Info" click: the programs started, then the messages shown.
  Outcome click() {
    launcher.started.clear();
    boxes.shown.clear();
    StartSysInfo(context, registry);
    Outcome seen;
    for (const auto& start : launcher.started) seen.push_back("start " + start.program);
    for (const auto& box : boxes.shown) seen.push_back(box.text);
    return seen;
  }
  void setPath(const std::string& bytes) {
    registry.set(std::string(kMsinfoKey), "PATH", {platform::kRegString, bytes});
  }
  void setFolder() { registry.setString(std::string(kToolsLocationKey), "MSINFO", folder.path().string()); }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeRegistry registry;
  AppContext context{
      .programFolder = folder.path(), .executable = {}, .boxes = &boxes, .launcher = &launcher};
};

TEST_F(SysInfoTest, ThePathValueIsStartedAsItStandsWithOrWithoutItsNulAndAFailedStartIsReported) {
  folder.write("MSINFO32.EXE", "program");
  setFolder();
  for (const std::string& stored :
       {std::string("C:\\Tools\\msinfo32.exe\0", 22), std::string("C:\\Tools\\msinfo32.exe")}) {
    setPath(stored);
    EXPECT_EQ(click(), Outcome{"start C:\\Tools\\msinfo32.exe"})
        << stored.size();  // not there, still started
  }
  launcher.startSucceeds = false;
  EXPECT_EQ(click(), (Outcome{"start C:\\Tools\\msinfo32.exe", kUnavailable}));
}

TEST_F(SysInfoTest, TheFolderValueStartsMsinfo32OnlyWhenItIsThere) {
  setFolder();
  EXPECT_EQ(click(), Outcome{kUnavailable});
  folder.write("MSINFO32.EXE", "program");
  EXPECT_EQ(click(), Outcome{"start " + (folder / "MSINFO32.EXE").string()});
}

TEST_F(SysInfoTest, AnEmptyPathValueGivesTheMessageWithoutTryingAnythingElse) {
  folder.write("MSINFO32.EXE", "program");
  setFolder();
  setPath("");
  launcher.installed["hardinfo"] = "/usr/bin/hardinfo";
  EXPECT_EQ(click(), Outcome{kUnavailable});
  EXPECT_EQ(registry.opens.size(), 1U);
}

TEST_F(SysInfoTest, KeysAreOpenedForReadingOnlySoAUserWhoMayOnlyReadGetsTheTool) {
  registry.readOnlyUser = true;
  setPath("C:\\msinfo32.exe");
  EXPECT_EQ(click(), Outcome{"start C:\\msinfo32.exe"});
  for (const auto& open : registry.opens) EXPECT_EQ(open.accessMask, 0x20019U);  // KEY_READ
}

TEST_F(SysInfoTest, ANumberValueReadsAsItsDecimalDigits) {
  registry.set("Key", "Number", {platform::kRegDword, std::string("\x04\x03\x02\x01", 4)});
  registry.set("Key", "Zeroes", {platform::kRegDword, std::string("\x00\x01\x00\x00", 4)});
  std::string value;
  for (const auto& [name, digits] : {std::pair{"Number", "16909060"}, {"Zeroes", "256"}}) {
    ASSERT_TRUE(GetKeyValue(registry, platform::RegistryRoot::LocalMachine, "Key", name, value)) << name;
    EXPECT_EQ(value, digits);
  }
}

TEST_F(SysInfoTest, WithoutRegistryEntriesTheFirstInstalledDesktopToolStarts) {
  launcher.installed["gnome-system-monitor"] = "/usr/bin/gnome-system-monitor";
  launcher.installed["kinfocenter"] = "/usr/bin/kinfocenter";
  EXPECT_EQ(click(), Outcome{"start /usr/bin/kinfocenter"});
}

TEST_F(SysInfoTest, TheAboutBoxShowsNameAndVersionTellsOncePerSysInfoClickAndClosesOnEnterAndEsc) {
  AboutBox box(context);  // this system's registry, and no tool installed
  EXPECT_EQ(box.findChild<QLabel*>("lblTitle")->text(), "Lumeno");
  EXPECT_EQ(box.findChild<QLabel*>("lblVersion")->text(), "Version 1.0.27");
  box.show();
  for (std::size_t clicks = 1; clicks <= 2; ++clicks) {
    QTest::mouseClick(box.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), clicks);  // the message once per click
    EXPECT_EQ(boxes.shown.back(), (BoxRequest{kUnavailable, "Lumeno", BoxIcon::None, BoxButtons::Ok}));
  }
  EXPECT_TRUE(box.isVisible() && launcher.started.empty());
  for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
    box.show();
    QTest::keyClick(&box, key);
    EXPECT_FALSE(box.isVisible()) << key;
  }
}

}  // namespace
}  // namespace lumeno::about
