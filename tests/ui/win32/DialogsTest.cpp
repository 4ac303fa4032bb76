// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 options dialog and about box: their controls and what a click reaches.
#include <string>
#include <vector>

#include "Win32WindowsFixture.h"

#include "about/AboutDesign.h"
#include "settings/OptionsDesign.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/OptionsWindow.h"

namespace lumeno::test {
namespace {

using win32ui::windowText;

// The tabs' captions, every text and the tip are read on the screen by the Windows end-to-end case.
TEST(Win32Options, LoadingTicksTheBoxesOfTheFileAndEachTabShowsItsOwnControls) {
  Win32WindowsFixture f(settingsWith("1", "0", "1"));
  win32ui::OptionsWindow options(f.context, nullptr);
  EXPECT_FALSE(::IsWindowVisible(options.handle()));  // loaded hidden
  EXPECT_EQ(windowText(options.handle()), "Options");
  // "Done" lines up with the tab control's right edge, below it.
  const RECT done = placeOf(options.controls().find("exitoptions"));
  EXPECT_LE(std::abs(done.right - placeOf(options.tabs()).right), 1);
  EXPECT_GT(done.top, placeOf(options.tabs()).bottom);

  ASSERT_EQ(options.controls().all().size(), settings::design::kControls.size());
  std::vector<std::string> ticked;
  for (int shownTab = 0; shownTab < 4; ++shownTab) {
    options.selectTab(shownTab);
    for (const settings::design::ControlDesign& expected : settings::design::kControls) {
      SCOPED_TRACE(expected.name);
      const HWND control = options.controls().find(expected.name);
      ASSERT_NE(control, nullptr);
      const RECT designed = placeFromTwips(expected.place);
      RECT place = placeOf(control);
      if (expected.name == "cmbinterface") place.bottom = designed.bottom;  // a list sizes its own height
      EXPECT_TRUE(samePlace(place, designed));
      EXPECT_EQ(styled(control, WS_VISIBLE), expected.page < 0 || expected.page == shownTab) << shownTab;
      if (shownTab == 0 && checked(control)) ticked.emplace_back(expected.name);
    }
  }
  EXPECT_EQ(ticked, (std::vector<std::string>{"chklog", "alertifoffline"}));  // in the design's order
}

TEST(Win32Options, AClickReachesThePresenterAtOnceAndDoneUnloads) {
  Win32WindowsFixture f(settingsWith("0", "0", "0"));
  f.folder.write("log.txt", "old line\r\n");
  int logMonitorOpenings = 0;
  win32ui::OptionsWindow options(f.context, [&] { ++logMonitorOpenings; });
  const auto find = [&options](const char* name) { return options.controls().find(name); };
  for (const char* name : {"chklog", "chkstartup"}) {
    ::SendMessageW(find(name), BM_SETCHECK, BST_CHECKED, 0);  // the user's click ticked it
    click(find(name));
  }
  EXPECT_NE(f.folder.read("Lumeno.ini").find("uselog=1\r\n"), std::string::npos);
  EXPECT_TRUE(f.autostart.enabled);
  f.boxes.answers = {BoxAnswer::Yes};
  click(find("Command1"));
  EXPECT_EQ(f.log(), "");
  click(find("Command2"));
  EXPECT_EQ(logMonitorOpenings, 1);
  click(find("exitoptions"));
  EXPECT_FALSE(options.alive());
}

TEST(Win32Options, TheUsersInterfaceChoiceIsStoredAndReachesTheMainWindowsOptions) {
  Win32WindowsFixture f;
  f.network.interfaces = {{"eth0", "10.0.0.2"}, {"wlan0", "10.0.0.3"}};
  settings::ConnectionOptions live;
  {
    win32ui::OptionsWindow options(f.context, nullptr, &live);
    // What the list offers is the presenter's (OptionsPresenterTest); here, that it is all there.
    const HWND list = options.controls().find("cmbinterface");
    wchar_t last[64]{};
    ::SendMessageW(list, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(last));
    EXPECT_TRUE(::SendMessageW(list, CB_GETCOUNT, 0, 0) == 3 && win32ui::utf8(last) == "wlan0");
    ::SendMessageW(list, CB_SETCURSEL, 1, 0);  // the user's pick, and its notification
    click(list, CBN_SELCHANGE);
    EXPECT_EQ(live.interfaceName, "eth0");
  }
  win32ui::OptionsWindow again(f.context, nullptr, &live);
  EXPECT_EQ(::SendMessageW(again.controls().find("cmbinterface"), CB_GETCURSEL, 0, 0), 1);
}

TEST(Win32About, EachControlIsPlacedFromTwipsAndItsButtonsAndKeysReachThePresenter) {
  Win32WindowsFixture f;
  namespace design = about::design;
  // Its words are read on the screen by the Windows end-to-end case.
  const std::vector<design::ControlDesign> controls{design::kPicture, design::kTitle, design::kVersion,
                                                    design::kLink,    design::kLine,  design::kSysInfo,
                                                    design::kDone};
  {
    win32ui::AboutWindow about(f.context);
    about.show();
    EXPECT_EQ(windowText(about.handle()), "");
    EXPECT_EQ(clientSize(about.handle()), twipsSize(design::kClientWidth, design::kClientHeight));
    ASSERT_EQ(about.controls().all().size(), controls.size());
    for (const design::ControlDesign& expected : controls) {
      SCOPED_TRACE(expected.name);
      const HWND control = about.controls().find(expected.name);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(about.toolTips().text(control), expected.tip);
      EXPECT_TRUE(samePlace(placeOf(control), placeFromTwips(expected.place)));
    }
    EXPECT_NE(::SendMessageW(about.controls().find("Picture1"), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_TRUE(styled(about.controls().find("cmdOK"), BS_DEFPUSHBUTTON));

    click(about.controls().find("cmdSysInfo"));  // no system-information tool here: a message
    EXPECT_EQ(f.boxes.shown.size(), 1U);
    click(about.controls().find("Label5"), STN_CLICKED);
    EXPECT_EQ(f.launcher.openedUrls.size(), 1U);
    EXPECT_TRUE(about.alive());
    click(about.controls().find("cmdOK"));
    EXPECT_FALSE(about.alive());
  }
  for (const int key : {IDCANCEL, IDOK}) {  // Esc, Enter
    win32ui::AboutWindow about(f.context);
    command(about.handle(), key);
    EXPECT_FALSE(about.alive());
  }
}

TEST(Win32CommandLine, SlashQuestionMarkGivesTheUsageVersionTheVersionAndAnythingElseRuns) {
  for (const wchar_t* help : {L"/?", L"  --help", L"--version /?"})
    EXPECT_EQ(win32ui::commandLineAnswer(help).value_or(L"").rfind(L"Usage: Lumeno.exe", 0), 0U) << help;
  EXPECT_EQ(win32ui::commandLineAnswer(L"--version"), std::wstring(L"Lumeno ") + LUMENO_VERSION_TEXT);
  for (const wchar_t* runs : {L"", L"  ", L"/x", L"--versions"})
    EXPECT_FALSE(win32ui::commandLineAnswer(runs).has_value()) << runs;
}

}  // namespace
}  // namespace lumeno::test
