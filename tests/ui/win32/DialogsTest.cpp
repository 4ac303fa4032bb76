// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 options dialog and about box: their controls and what a click reaches.
#include <string>
#include <vector>

#include "Win32WindowsFixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>

#include "about/AboutDesign.h"
#include "settings/OptionsDesign.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/OptionsWindow.h"

namespace lumeno::test {
namespace {

using win32ui::windowText;

TEST(Win32Options, LoadingTicksTheBoxesOfTheFileAndEachTabShowsItsOwnControls) {
  Win32WindowsFixture f(settingsWith("1", "0", "1"));
  win32ui::OptionsWindow options(f.context, nullptr);
  EXPECT_FALSE(::IsWindowVisible(options.handle()));  // loaded hidden
  EXPECT_EQ(windowText(options.handle()), "Options");
  std::vector<std::string> tabs;
  for (int index = 0; index < TabCtrl_GetItemCount(options.tabs()); ++index) {
    wchar_t caption[32]{};
    TCITEMW item{TCIF_TEXT, 0, 0, caption, 32, 0, 0};
    TabCtrl_GetItem(options.tabs(), index, &item);
    tabs.push_back(win32ui::utf8(caption));
  }
  EXPECT_EQ(tabs, std::vector<std::string>(settings::design::kTabCaptions.begin(),
                                           settings::design::kTabCaptions.end()));
  EXPECT_EQ(options.toolTips().text(options.controls().find("chklog")), "Monitor Lumeno actions");
  // "Done" lines up with the tab control's right edge, below it.
  const RECT done = placeOf(options.controls().find("exitoptions"));
  const RECT tab = placeOf(options.tabs());
  EXPECT_LE(std::abs(done.right - tab.right), 1);
  EXPECT_GT(done.top, tab.bottom);

  const auto& controls = settings::design::kControls;
  ASSERT_EQ(options.controls().all().size(), controls.size());
  std::vector<std::string> ticked;
  for (int shownTab = 0; shownTab < 4; ++shownTab) {
    options.selectTab(shownTab);
    for (const settings::design::ControlDesign& expected : controls) {
      SCOPED_TRACE(expected.name);
      const win32ui::NamedControl* control = options.controls().byName(expected.name);
      ASSERT_NE(control, nullptr);
      const bool list = expected.name == "cmbinterface";  // shows its chosen entry
      EXPECT_EQ(windowText(control->handle), list ? "Automatic (default route)" : std::string(expected.text));
      const RECT designed = placeFromTwips(expected.place);
      RECT place = placeOf(control->handle);
      if (list) place.bottom = designed.bottom;  // a drop-down sizes its height
      EXPECT_TRUE(samePlace(place, designed));
      EXPECT_EQ(styled(control->handle, WS_VISIBLE), expected.page < 0 || expected.page == shownTab)
          << "tab " << shownTab;
      if (shownTab == 0 && checked(control->handle)) ticked.emplace_back(expected.name);
    }
  }
  EXPECT_EQ(ticked, (std::vector<std::string>{"chklog", "alertifoffline"}));  // in the design's order
}

TEST(Win32Options, AClickReachesThePresenterAtOnceAndDoneUnloads) {
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
  EXPECT_TRUE(f.autostart.enabled);
  f.boxes.answers = {BoxAnswer::Yes};
  click(options.controls().find("Command1"));
  EXPECT_EQ(f.log(), "");
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
    ::SendMessageW(list, CB_SETCURSEL, 1, 0);  // the user's pick, and its notification
    click(list, CBN_SELCHANGE);
    EXPECT_EQ(live.interfaceName, "eth0");
  }
  // The next load shows the stored choice.
  win32ui::OptionsWindow again(f.context, nullptr, &live);
  EXPECT_EQ(::SendMessageW(again.controls().find("cmbinterface"), CB_GETCURSEL, 0, 0), 1);
}

TEST(Win32About, EachControlIsPlacedFromTwipsAndItsButtonsAndKeysReachThePresenter) {
  Win32WindowsFixture f;
  namespace design = about::design;
  // The two labels the presenter fills at load, the others as designed.
  const std::vector<std::pair<design::ControlDesign, std::string>> controls{
      {design::kPicture, ""},     {design::kTitle, "Lumeno"}, {design::kVersion, "Version 1.0.27"},
      {design::kLink, "WebSite"}, {design::kLine, ""},        {design::kSysInfo, "&Sys Info"},
      {design::kDone, "Done"}};
  {
    win32ui::AboutWindow about(f.context);
    about.show();
    EXPECT_EQ(windowText(about.handle()), "");
    RECT client{};
    ::GetClientRect(about.handle(), &client);
    EXPECT_EQ(client.right, win32ui::twips(3615));
    EXPECT_EQ(client.bottom, win32ui::twips(1680));
    ASSERT_EQ(about.controls().all().size(), controls.size());
    for (const auto& [expected, caption] : controls) {
      SCOPED_TRACE(expected.name);
      const HWND control = about.controls().find(expected.name);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(windowText(control), caption);
      EXPECT_TRUE(samePlace(placeOf(control), placeFromTwips(expected.place)));
    }
    EXPECT_EQ(about.toolTips().text(about.controls().find("Label5")), "Visit us!");
    EXPECT_NE(::SendMessageW(about.controls().find("Picture1"), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(::GetWindowLongW(about.controls().find("cmdOK"), GWL_STYLE) & BS_DEFPUSHBUTTON,
              BS_DEFPUSHBUTTON);

    // No system-information tool on this system: the presenter's message, and the box stays.
    click(about.controls().find("cmdSysInfo"));
    EXPECT_EQ(f.boxes.shown.size(), 1U);
    EXPECT_TRUE(about.alive());
    click(about.controls().find("Label5"), STN_CLICKED);
    EXPECT_EQ(f.launcher.openedUrls.size(), 1U);
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
