// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 options dialog and about box: their controls and what a click reaches.
#include <string>
#include <vector>

#include "Win32WindowsFixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>

#include "about/SysInfo.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/OptionsWindow.h"

namespace lumeno::test {
namespace {

using win32ui::TwipsRect;
using win32ui::windowText;

TEST(Win32Options, LoadingTicksTheBoxesOfTheFileAndEachTabShowsItsOwnControls) {
  Win32WindowsFixture f(settingsWith("1", "0", "1"));
  win32ui::OptionsWindow options(f.context, nullptr);
  const auto ticked = [&](const char* name) { return checked(options.controls().find(name)); };
  EXPECT_FALSE(::IsWindowVisible(options.handle()));  // loaded hidden
  EXPECT_EQ(windowText(options.handle()), "Options");
  EXPECT_TRUE(ticked("alertifoffline"));
  EXPECT_TRUE(ticked("chklog"));
  EXPECT_FALSE(ticked("chkhostnamepopup") || ticked("trayatstartup") || ticked("chkstartup"));

  struct Expected {
    const char* name;
    const char* caption;
    int tab;
  };
  const std::vector<Expected> controls{
      {"Frame1", "", 0},
      {"chkstartup", "Start when computer loads", 0},
      {"trayatstartup", "Minimize to sys-tray on load", 0},
      {"Frame2", "", 1},
      {"chkhostnamepopup", "Show hostname in popup on request", 1},
      {"chklog", "Use log file", 2},
      {"Frame3", "", 2},
      {"Command2", "View log", 2},
      {"Command1", "Clear log", 2},
      {"Label1",
       "Log contains program load/exit, error stat, IP, hostname, time and date "
       "stamps.",
       2},
      {"Frame4", "", 3},
      {"alertifoffline", "Alert using popup if i loose my connection", 3},
      {"chkfollowip", "Follow address changes", 3},
      {"chklogoutages", "Log connection changes", 3},
      {"lblinterface", "Interface:", 3},
      {"cmbinterface", "Automatic (default route)", 3},
      {"exitoptions", "Done", -1},
      {"SSTab1", "", -1}};
  ASSERT_EQ(options.controls().all().size(), controls.size());
  std::vector<std::string> tabs;
  for (int index = 0; index < TabCtrl_GetItemCount(options.tabs()); ++index) {
    wchar_t caption[32]{};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 32;
    TabCtrl_GetItem(options.tabs(), index, &item);
    tabs.push_back(win32ui::utf8(caption));
  }
  EXPECT_EQ(tabs, (std::vector<std::string>{"Automation", "Extras", "Logs", "Connection"}));
  EXPECT_EQ(options.currentTab(), 0);
  EXPECT_EQ(options.toolTips().text(options.controls().find("chklog")), "Monitor Lumeno actions");
  // "Done" lines up with the tab control's right edge, below it.
  const RECT done = placeOf(options.controls().find("exitoptions"));
  const RECT tab = placeOf(options.tabs());
  EXPECT_LE(std::abs(done.right - tab.right), 1);
  EXPECT_GT(done.top, tab.bottom);
  for (int shownTab = 0; shownTab < 4; ++shownTab) {
    options.selectTab(shownTab);
    for (const Expected& expected : controls) {
      SCOPED_TRACE(expected.name);
      const win32ui::NamedControl* control = options.controls().byName(expected.name);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(windowText(control->handle), expected.caption);
      RECT place = placeOf(control->handle);
      if (expected.name == std::string("cmbinterface")) place.bottom = placeFromTwips(control->place).bottom;
      EXPECT_TRUE(samePlace(place, placeFromTwips(control->place)));  // a drop-down sizes its height
      EXPECT_EQ(styled(control->handle, WS_VISIBLE), expected.tab < 0 || expected.tab == shownTab)
          << "tab " << shownTab;
    }
  }
}

TEST(Win32Options, AClickWritesItsKeyAtOnceAndDoneUnloads) {
  Win32WindowsFixture f(settingsWith("0", "0", "0"));
  f.folder.write("log.txt", "old line\r\n");
  int logMonitorOpenings = 0;
  win32ui::OptionsWindow options(f.context, [&] { ++logMonitorOpenings; });
  for (const char* name : {"chklog", "chkstartup"}) {
    ::SendMessageW(options.controls().find(name), BM_SETCHECK, BST_CHECKED, 0);  // the user's click ticked it
    click(options.controls().find(name));
  }
  EXPECT_TRUE(options.presenter().isLogOn());
  EXPECT_NE(f.folder.read("Lumeno.ini").find("uselog=1\r\n"), std::string::npos);
  EXPECT_NE(f.folder.read("Lumeno.ini").find("autostartup=1\r\n"), std::string::npos);
  EXPECT_TRUE(f.autostart.enabled);

  f.boxes.answers = {BoxAnswer::Yes};
  click(options.controls().find("Command1"));
  EXPECT_EQ(f.log(), "");
  EXPECT_EQ(f.boxes.shown.back(),
            (BoxRequest{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  click(options.controls().find("Command2"));
  EXPECT_EQ(logMonitorOpenings, 1);

  click(options.controls().find("exitoptions"));
  EXPECT_FALSE(options.alive());
}

TEST(Win32Options, TheUsersInterfaceChoiceIsStoredAndReachesTheMainWindowsOptions) {
  Win32WindowsFixture f;
  f.network.interfaces = {{"eth0", "10.0.0.2"}, {"wlan0", "10.0.0.3"}};
  settings::ConnectionOptions live;
  std::vector<std::string> entries;
  {
    win32ui::OptionsWindow options(f.context, nullptr, &live);
    const HWND list = options.controls().find("cmbinterface");
    for (int index = 0; index < ::SendMessageW(list, CB_GETCOUNT, 0, 0); ++index) {
      wchar_t entry[64]{};
      ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry));
      entries.push_back(win32ui::utf8(entry));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"Automatic (default route)", "eth0", "wlan0"}));
    EXPECT_EQ(::SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(f.folder.read("Lumeno.ini").find("interface="), std::string::npos);  // loading writes nothing

    ::SendMessageW(list, CB_SETCURSEL, 1, 0);  // the user's pick, and its notification
    click(list, CBN_SELCHANGE);
    EXPECT_EQ(live.interfaceName, "eth0");
    EXPECT_NE(f.folder.read("Lumeno.ini").find("interface=eth0\r\n"), std::string::npos);
  }
  // The next load shows the stored choice.
  win32ui::OptionsWindow again(f.context, nullptr, &live);
  EXPECT_EQ(::SendMessageW(again.controls().find("cmbinterface"), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(live.interfaceName, "eth0");
}

TEST(Win32About, EachControlIsPlacedFromTwipsAndItsButtonsAndKeysReachThePresenter) {
  Win32WindowsFixture f;
  struct Expected {
    const char* name;
    const char* caption;
    TwipsRect place;
  };
  const std::vector<Expected> controls{{"Picture1", "", {240, 120, 1455, 855}},
                                       {"lblTitle", "Lumeno", {1920, 120, 1455, 255}},
                                       {"lblVersion", "Version 1.0.27", {2100, 360, 1455, 255}},
                                       {"Label5", "WebSite", {2160, 720, 975, 255}},
                                       {"Line1", "", {120, 1080, 3360, 15}},
                                       {"cmdSysInfo", "&Sys Info", {1680, 1200, 855, 375}},
                                       {"cmdOK", "Done", {2640, 1200, 855, 375}}};
  {
    win32ui::AboutWindow about(f.context);
    about.show();
    EXPECT_EQ(windowText(about.handle()), "");
    RECT client{};
    ::GetClientRect(about.handle(), &client);
    EXPECT_EQ(client.right, win32ui::twips(3615));
    EXPECT_EQ(client.bottom, win32ui::twips(1680));
    ASSERT_EQ(about.controls().all().size(), controls.size());
    for (const Expected& expected : controls) {
      SCOPED_TRACE(expected.name);
      const HWND control = about.controls().find(expected.name);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(windowText(control), expected.caption);
      EXPECT_TRUE(samePlace(placeOf(control), placeFromTwips(expected.place)));
    }
    EXPECT_EQ(about.toolTips().text(about.controls().find("Label5")), "Visit us!");
    EXPECT_NE(::SendMessageW(about.controls().find("Picture1"), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(::GetWindowLongW(about.controls().find("cmdOK"), GWL_STYLE) & BS_DEFPUSHBUTTON,
              BS_DEFPUSHBUTTON);

    // No system-information tool on this system: the one message, and the box stays.
    click(about.controls().find("cmdSysInfo"));
    ASSERT_EQ(f.boxes.shown.size(), 1U);
    EXPECT_EQ(f.boxes.shown[0].text, about::kSysInfoUnavailable);
    EXPECT_TRUE(about.alive());
    click(about.controls().find("Label5"), STN_CLICKED);
    ASSERT_EQ(f.launcher.openedUrls.size(), 1U);
    EXPECT_NE(f.launcher.openedUrls[0].find("help.html"), std::string::npos);
    click(about.controls().find("cmdOK"));
    EXPECT_FALSE(about.alive());
  }
  for (const WPARAM key : {WPARAM{IDCANCEL}, WPARAM{IDOK}}) {  // Esc, Enter
    win32ui::AboutWindow about(f.context);
    command(about.handle(), static_cast<int>(key));
    EXPECT_FALSE(about.alive());
  }
}

TEST(Win32CommandLine, SlashQuestionMarkGivesTheUsageVersionTheVersionAndAnythingElseRuns) {
  for (const wchar_t* help : {L"/?", L"  --help", L"--version /?"}) {
    const auto answer = win32ui::commandLineAnswer(help);
    ASSERT_TRUE(answer.has_value()) << help;
    EXPECT_EQ(answer->rfind(L"Usage: Lumeno.exe", 0), 0U) << help;
  }
  EXPECT_EQ(win32ui::commandLineAnswer(L"--version"), std::wstring(L"Lumeno ") + LUMENO_VERSION_TEXT);
  for (const wchar_t* runs : {L"", L"  ", L"/x", L"--versions"}) {
    EXPECT_FALSE(win32ui::commandLineAnswer(runs).has_value()) << runs;
  }
}

}  // namespace
}  // namespace lumeno::test
