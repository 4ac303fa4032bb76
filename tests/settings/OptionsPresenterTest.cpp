// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog's rules, and readSetting and writeSetting under them, over a real Lumeno.ini.
#include "settings/OptionsPresenter.h"
#include "settings/SettingsAccess.h"

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsText.h"

#include "FakeProgram.h"
#include "platform/Files.h"

namespace lumeno::settings {
namespace {

namespace fs = std::filesystem;

const BoxRequest kClearLog{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo};

struct FakeOptionsView : OptionsView {
  void setTicked(Option option, bool ticked) override { shown[option] = ticked; }
  void showInterfaces(const std::vector<std::string>& entries, std::size_t selected) override {
    interfaces = entries;
    selectedInterface = selected;
  }
  void openLogMonitor() override { ++logMonitorOpens; }
  void closeDialog() override { ++closes; }
  std::map<Option, bool> shown;
  std::vector<std::string> interfaces;
  std::size_t selectedInterface = 99;
  int logMonitorOpens = 0;
  int closes = 0;
};

std::tuple<bool, bool, std::string> fields(const ConnectionOptions& options) {
  return {options.followAddress, options.logConnectionChanges, options.interfaceName};
}

class OptionsPresenterTest : public ::testing::Test, protected test::FakeProgram {
 protected:
  OptionsPresenterTest() : FakeProgram(allOff()) {}

  FakeOptionsView view;
  ConnectionOptions live;
  OptionsPresenter presenter{context, view, &live};
};

TEST_F(OptionsPresenterTest, LoadingWithEverythingOffWritesNothingAndEachClickChangesExactlyOneLine) {
  const platform::FileIdentity before = platform::identifyFile(folder / "Lumeno.ini");
  presenter.load();
  EXPECT_EQ(platform::identifyFile(folder / "Lumeno.ini"), before);
  EXPECT_TRUE(view.shown.empty());
  EXPECT_EQ(autostart.changes, 0);
  using Click = std::pair<Option, std::size_t>;  // a box and the line of its key
  for (const auto& [option, line] :
       {Click{Option::AlertIfOffline, 2}, Click{Option::HostNamePopup, 3}, Click{Option::UseLog, 4},
        Click{Option::TrayAtStartup, 7}, Click{Option::AutoStartup, 8}}) {
    for (const bool ticked : {true, false}) {
      presenter.onBoxClicked(option, ticked);
      EXPECT_EQ(presenter.isTicked(option), ticked);
      // Everything after the "=" becomes the value.
      const std::string changed = kAllOff[line].substr(0, kAllOff[line].find('=') + 1) + (ticked ? "1" : "0");
      EXPECT_EQ(folder.read("Lumeno.ini"), allOff(line, changed)) << line << " " << ticked;
    }
  }
  // "Start when computer loads" also adds the start-up value, and unticking removes it.
  EXPECT_EQ(autostart.changes, 2);
  EXPECT_FALSE(autostart.enabled);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsPresenterTest, LoadingTicksWhatReadsAsOnWritesItBackAsExactlyOneAndLeavesAFailedReadUnticked) {
  folder.write("Lumeno.ini",
               "[Options]\r\nalertifoffline= 1 \r\nhostnameintext1.text=\r\nuselog=1 ; yes\r\n"
               "[Automation]\r\ntrayatstartup=\"1\"\r\nautostartup=-1\r\n");
  presenter.load();
  for (const Option option : {Option::AlertIfOffline, Option::TrayAtStartup, Option::AutoStartup}) {
    EXPECT_TRUE(presenter.isTicked(option));
    EXPECT_TRUE(view.shown[option]);
  }
  EXPECT_FALSE(presenter.isHostNamePopupOn());  // its empty value must not take the "1" read before it
  EXPECT_FALSE(presenter.isLogOn());            // "1 ; yes" is not a number
  EXPECT_EQ(folder.read("Lumeno.ini"),
            "[Options]\r\nalertifoffline=1\r\nhostnameintext1.text=\r\nuselog=1 ; yes\r\n"
            "[Automation]\r\ntrayatstartup=1\r\nautostartup=1\r\n");
  EXPECT_TRUE(autostart.enabled);
  EXPECT_EQ(boxes.shown, std::vector<BoxRequest>{kApiError});

  // Loaded again, every "on" is exactly "1" already: the file is not replaced.
  const platform::FileIdentity before = platform::identifyFile(folder / "Lumeno.ini");
  FakeOptionsView again;
  OptionsPresenter(context, again).load();
  EXPECT_EQ(platform::identifyFile(folder / "Lumeno.ini"), before);
}

TEST_F(OptionsPresenterTest, TheConnectionOptionsAreOffAndAutomaticWhenAbsentAndNothingIsWrittenForThem) {
  network.interfaces = {{"wlan0", "10.2.0.8"}, {"eth1", "10.1.0.7"}};
  for (const char* stored : {"", "interface=\r\n", "interface=auto\r\n", "interface=eth9\r\n"}) {
    const std::string text = allOff() + "[Options]\r\n" + stored;
    folder.write("Lumeno.ini", text);
    live.interfaceName = "stale";
    OptionsPresenter loaded(context, view, &live);
    loaded.load();
    EXPECT_EQ(view.interfaces, (std::vector<std::string>{"Automatic (default route)", "eth1", "wlan0"}));
    EXPECT_EQ(view.selectedInterface, 0U) << stored;
    EXPECT_EQ(fields(live), fields({})) << stored;  // a name that has gone reads as automatic
    EXPECT_EQ(fields(readConnectionOptions(context)), fields({})) << stored;
    EXPECT_EQ(folder.read("Lumeno.ini"), text) << stored;
  }
  EXPECT_TRUE(boxes.shown.empty());  // an empty interface key is no error
}

TEST_F(OptionsPresenterTest, TheConnectionOptionsLoadIntoTheLiveRecordAndEachChangeIsWrittenAtOnce) {
  network.interfaces = {{"eth1", "10.1.0.7"}, {"wlan0", "10.2.0.8"}};
  folder.write("Lumeno.ini", "[Options]\r\nfollowip=1\r\nlogoutages= 2\r\ninterface = wlan0 \r\n");
  EXPECT_EQ(fields(readConnectionOptions(context)), std::tuple(true, true, "wlan0"));  // the main window's
  presenter.load();
  EXPECT_TRUE(view.shown[Option::FollowAddress] && view.shown[Option::LogConnectionChanges]);
  EXPECT_EQ(view.selectedInterface, 2U);
  EXPECT_EQ(fields(live), std::tuple(true, true, "wlan0"));
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\nfollowip=1\r\nlogoutages=1\r\ninterface = wlan0 \r\n");

  presenter.onBoxClicked(Option::FollowAddress, false);
  presenter.onInterfaceChosen(1);
  EXPECT_EQ(fields(live), std::tuple(false, true, "eth1"));
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\nfollowip=0\r\nlogoutages=1\r\ninterface =eth1\r\n");
  presenter.onInterfaceChosen(0);
  EXPECT_EQ(live.interfaceName, "");
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\nfollowip=0\r\nlogoutages=1\r\ninterface =auto\r\n");
  presenter.onInterfaceChosen(3);  // beyond the list: nothing
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\nfollowip=0\r\nlogoutages=1\r\ninterface =auto\r\n");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsPresenterTest, ViewLogOpensTheMonitorAndClearLogEmptiesTheLogOnYesOnly) {
  presenter.onViewLogClicked();
  EXPECT_EQ(view.logMonitorOpens, 1);
  const std::string log = "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n";
  folder.write("log.txt", log);
  for (const BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Yes}) {
    boxes.answers = {answer};
    presenter.onClearLogClicked();
    EXPECT_EQ(folder.read("log.txt"), answer == BoxAnswer::Yes ? "" : log);
  }
  fs::remove(folder / "log.txt");
  boxes.answers = {BoxAnswer::Yes, BoxAnswer::Yes};
  presenter.onClearLogClicked();
  EXPECT_EQ(folder.read("log.txt"), "");  // created empty
  folder.write("log.txt", log);
  fs::permissions(folder / "log.txt", fs::perms::owner_read);
  presenter.onClearLogClicked();
  EXPECT_EQ(folder.read("log.txt"), log);
  const BoxRequest failed{"The log file could not be cleared: " + (folder / "log.txt").string(), "Lumeno",
                          BoxIcon::Exclamation, BoxButtons::Ok};
  EXPECT_EQ(boxes.shown, (std::vector<BoxRequest>{kClearLog, kClearLog, kClearLog, kClearLog, failed}));
}

class SettingsAccess : public ::testing::Test, protected test::FakeProgram {
 protected:
  SettingsAccess() : FakeProgram(allOff()) {}
  std::string read(const char* section, const char* key) {
    return readSetting(context, section, key).value_or("failed");
  }
};

TEST_F(SettingsAccess, ReadsTrimmedValuesCutTo49CharactersAndZeroForWhatIsAbsent) {
  folder.write("Lumeno.ini", "[Options]\r\nb=\" 2 \"\r\nc=" + std::string(60, '3') + "\r\nd=\r\n");
  EXPECT_EQ(read("options", "B"), "2");
  EXPECT_EQ(read("Options", "c"), std::string(49, '3'));
  EXPECT_TRUE(boxes.shown.empty());
  // An empty value is a failed read: the message, and no value.
  EXPECT_EQ(read("Options", "d"), "failed");
  EXPECT_EQ(boxes.shown, std::vector<BoxRequest>{kApiError});
  fs::remove(folder / "Lumeno.ini");
  EXPECT_EQ(read("Options", "b"), "0");
}

TEST_F(SettingsAccess, AFailedWriteShowsTheMessageAndKeepsTheOldValue) {
  EXPECT_TRUE(writeSetting(context, "Options", "uselog", "1"));
  EXPECT_FALSE(writeSetting(context, "Options", "uselog", "0\r\n[Options]\r\nalertifoffline=1"));
  fs::permissions(folder / "Lumeno.ini", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(writeSetting(context, "Options", "uselog", "0"));
  EXPECT_EQ(folder.read("Lumeno.ini"), allOff(4, "uselog=1"));
  EXPECT_EQ(boxes.shown, (std::vector<BoxRequest>{kApiError, kApiError}));
}

}  // namespace
}  // namespace lumeno::settings
