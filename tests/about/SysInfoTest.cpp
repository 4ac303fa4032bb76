// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfo.h"

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "FakeLauncher.h"
#include "FakeRegistry.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "about/SysInfoLookup.h"

namespace lumeno::about {
namespace {

using Outcome = std::vector<std::string>;
const std::string kUnavailable(kSysInfoUnavailable);
const std::string kFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string kProgramInFolder =
    kFolder + static_cast<char>(std::filesystem::path::preferred_separator) + "MSINFO32.EXE";

struct SysInfoTest : ::testing::Test {
  // One "Sys Info" click: the programs started, then the messages shown.
  Outcome click() {
    launcher.started.clear();
    boxes.shown.clear();
    StartSysInfo(context, registry, [this](const std::string& path) {
      tested.push_back(path);
      if (fileTestFails)
        throw std::filesystem::filesystem_error("stat", std::make_error_code(std::errc::io_error));
      return files.contains(path);
    });
    Outcome seen;
    for (const auto& start : launcher.started) seen.push_back("start " + start.program);
    for (const auto& box : boxes.shown) {
      EXPECT_EQ(box, (BoxRequest{kUnavailable, "Lumeno", BoxIcon::None, BoxButtons::Ok}));
      seen.push_back(box.text);
    }
    return seen;
  }
  void setPath(const std::string& bytes) {
    registry.set(std::string(kMsinfoKey), "PATH", {platform::kRegString, bytes});
  }
  void setFolder() { registry.setString(std::string(kToolsLocationKey), "MSINFO", kFolder); }

  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeRegistry registry;
  std::set<std::string> files;
  std::vector<std::string> tested;  // every path the file test was asked about
  bool fileTestFails = false;
  AppContext context{
      .programFolder = {}, .executable = {}, .boxes = &boxes, .launcher = &launcher, .places = {}};
};

TEST_F(SysInfoTest, ThePathValueIsStartedAsItStandsWithOrWithoutItsNulAndAFailedStartIsReported) {
  files.insert(kProgramInFolder);
  setFolder();
  for (const std::string& stored :
       {std::string("C:\\Tools\\msinfo32.exe\0", 22), std::string("C:\\Tools\\msinfo32.exe")}) {
    setPath(stored);
    EXPECT_EQ(click(), Outcome{"start C:\\Tools\\msinfo32.exe"}) << stored.size();
  }
  EXPECT_TRUE(launcher.started.at(0).arguments.empty());
  EXPECT_TRUE(tested.empty());  // not looked for on disk, and the folder value not read
  launcher.startSucceeds = false;
  EXPECT_EQ(click(), (Outcome{"start C:\\Tools\\msinfo32.exe", kUnavailable}));
}

TEST_F(SysInfoTest, TheFolderValueStartsMsinfo32OnlyWhenItIsThere) {
  setFolder();
  EXPECT_EQ(click(), Outcome{kUnavailable});
  EXPECT_EQ(tested, Outcome{kProgramInFolder});
  files.insert(kProgramInFolder);
  EXPECT_EQ(click(), Outcome{"start " + kProgramInFolder});
}

TEST_F(SysInfoTest, AnEmptyPathValueGivesTheMessageWithoutTryingAnythingElse) {
  files.insert(kProgramInFolder);
  setFolder();
  setPath("");
  launcher.installed["hardinfo"] = "/usr/bin/hardinfo";
  EXPECT_EQ(click(), Outcome{kUnavailable});
  EXPECT_EQ(registry.opens.size(), 1U);
  EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(SysInfoTest, AFailingFileTestEndsInTheMessage) {
  setFolder();
  fileTestFails = true;
  launcher.installed["hardinfo"] = "/usr/bin/hardinfo";
  EXPECT_EQ(click(), Outcome{kUnavailable});
}

TEST_F(SysInfoTest, KeysAreOpenedForReadingOnlySoAUserWhoMayOnlyReadGetsTheTool) {
  registry.readOnlyUser = true;
  setPath("C:\\msinfo32.exe");
  EXPECT_EQ(click(), Outcome{"start C:\\msinfo32.exe"});
  ASSERT_FALSE(registry.opens.empty());
  for (const auto& open : registry.opens) {
    EXPECT_EQ(open.accessMask, platform::kKeyRead);
    EXPECT_EQ(open.root, platform::RegistryRoot::LocalMachine);
  }
}

TEST_F(SysInfoTest, WithoutRegistryEntriesTheFirstInstalledDesktopToolStartsElseTheMessageOncePerClick) {
  EXPECT_EQ(click(), Outcome{kUnavailable});
  EXPECT_EQ(click(), Outcome{kUnavailable});
  launcher.installed["gnome-system-monitor"] = "/usr/bin/gnome-system-monitor";
  launcher.installed["kinfocenter"] = "/usr/bin/kinfocenter";
  EXPECT_EQ(click(), Outcome{"start /usr/bin/kinfocenter"});
  launcher.startSucceeds = false;
  EXPECT_EQ(click(), (Outcome{"start /usr/bin/kinfocenter", kUnavailable}));
}

TEST_F(SysInfoTest, ANumberValueReadsAsItsDecimalDigits) {
  registry.set("Key", "Number", {platform::kRegDword, std::string("\x04\x03\x02\x01", 4)});
  registry.set("Key", "Zeroes", {platform::kRegDword, std::string("\x00\x01\x00\x00", 4)});
  registry.set("Key", "Top", {platform::kRegDword, std::string("\xFF\xFF\xFF\xFF", 4)});
  std::string value;
  for (const auto& [name, digits] :
       {std::pair{"Number", "16909060"}, {"Zeroes", "256"}, {"Top", "4294967295"}}) {
    ASSERT_TRUE(GetKeyValue(registry, platform::RegistryRoot::LocalMachine, "Key", name, value)) << name;
    EXPECT_EQ(value, digits);
  }
}

TEST_F(SysInfoTest, AValueThatCannotBeReadEmptiesTheTextAndEveryKeyIsClosedAgain) {
  const std::string full(kValueBufferSize, 'x');
  registry.set("Key", "Full", {platform::kRegString, full});
  registry.set("Key", "TooLong", {platform::kRegString, full + "x"});
  registry.set("Key", "Expand", {2U, std::string("%SystemRoot%\0", 13)});
  registry.set("Key", "Empty", {platform::kRegString, ""});
  std::string value = "before";
  const auto read = [&](const std::string& key, const std::string& name) {
    return GetKeyValue(registry, platform::RegistryRoot::LocalMachine, key, name, value);
  };

  EXPECT_FALSE(read("Missing", "Full"));
  EXPECT_EQ(value, "");
  value = "before";
  EXPECT_FALSE(read("Key", "Missing"));
  EXPECT_EQ(value, "");
  value = "before";
  EXPECT_FALSE(read("Key", "TooLong"));
  EXPECT_EQ(value, "");

  EXPECT_TRUE(read("Key", "Full"));
  EXPECT_EQ(value, full);
  value = "as passed in";
  EXPECT_TRUE(read("Key", "Expand"));  // found, but a type it does not understand
  EXPECT_EQ(value, "as passed in");

  EXPECT_THROW(read("Key", "Empty"), RegistryValueError);
  EXPECT_EQ(registry.openKeys, 0);
}

TEST(SysInfoFileTest, OnlyANormalFileCounts) {
  const test::TempFolder folder;
  folder.write("MSINFO32.EXE", "program");
  std::filesystem::create_directory(folder / "folder.exe");
  EXPECT_TRUE(isRegularFile((folder / "MSINFO32.EXE").string()));
  EXPECT_FALSE(isRegularFile((folder / "folder.exe").string()));
  EXPECT_FALSE(isRegularFile((folder / "missing.exe").string()));
}

}  // namespace
}  // namespace lumeno::about
