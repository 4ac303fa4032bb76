// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 main window's wiring: its controls, menus and timers reach the presenter.
#include <map>
#include <string>
#include <vector>

#include "Win32WindowsFixture.h"
#include "win32ui/AboutWindow.h"
#include "win32ui/MainFrame.h"
#include "win32ui/OptionsWindow.h"

namespace lumeno::test {
namespace {

using win32ui::MainFrame;
using win32ui::TwipsRect;
using win32ui::windowText;

struct MainFrameFixture : Win32WindowsFixture {
  MainFrameFixture() : frame(context, {[this] { ++endings; }, [this] { return chosenColor; }}) {}
  void choose(const char* menuItem) {
    const int id = frame.menuId(menuItem);
    ASSERT_NE(id, 0) << menuItem;
    ::SendMessageW(frame.handle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
  }
  [[nodiscard]] HWND control(const char* name) const { return frame.controls().find(name); }
  [[nodiscard]] std::string text(const char* name) const { return windowText(control(name)); }
  // Shown in the window, whether or not the window itself is on the screen.
  [[nodiscard]] bool visible(const char* name) const {
    return (::GetWindowLongW(control(name), GWL_STYLE) & WS_VISIBLE) != 0;
  }

  int endings = 0;
  std::optional<app::Rgb> chosenColor;
  MainFrame frame;
};

TEST(Win32MainFrame, EachControlHasItsNameCaptionTipAndPlaceFromTwips) {
  MainFrameFixture f;
  struct Expected {
    const char* name;
    const char* caption;  // after start-up
    const char* tip;
    TwipsRect place;
  };
  const std::vector<Expected> controls{
      {"Text1", "192.168.0.5", "Local IP", {0, 0, 2175, 360}},
      {"lblled", "", "Connection status...", {0, 360, 255, 255}},
      {"Labelonline", " Zz..", "Internet Connection", {240, 360, 1935, 255}},
      {"Label1", " V1.0.27", "Version (click for more)", {240, 360, 1935, 255}},
      {"lbltime", " lbltime", "Local Time", {240, 360, 1935, 255}},
      {"lbldate", " Zz...", "Today's date", {240, 360, 1935, 255}}};
  ASSERT_EQ(f.frame.controls().all().size(), controls.size());
  for (const Expected& expected : controls) {
    SCOPED_TRACE(expected.name);
    ASSERT_NE(f.control(expected.name), nullptr);
    EXPECT_EQ(f.text(expected.name), expected.caption);
    EXPECT_EQ(f.frame.toolTips().text(f.control(expected.name)), expected.tip);
    EXPECT_TRUE(samePlace(placeOf(f.control(expected.name)), placeFromTwips(expected.place)));
  }
  EXPECT_EQ(windowText(f.frame.handle()), "Lumeno");
  RECT client{};
  ::GetClientRect(f.frame.handle(), &client);
  EXPECT_EQ(client.right, win32ui::twips(2175));
  EXPECT_EQ(client.bottom, win32ui::twips(615));
  // Only the connection status is in front; the ring brings version, time, date and status back.
  EXPECT_TRUE(f.visible("Labelonline"));
  EXPECT_FALSE(f.visible("Label1") || f.visible("lbltime") || f.visible("lbldate"));
  EXPECT_EQ(f.frame.textColor("Labelonline"), RGB(0, 0, 255));
  EXPECT_EQ(f.frame.textColor("Text1"), RGB(0, 0, 255));
  EXPECT_EQ(f.frame.backColor("Labelonline"), RGB(192, 192, 192));
  f.clock.value = {"06/12/2026", "16:02:03"};
  for (const char* next : {"Label1", "lbltime", "lbldate", "Labelonline"}) {
    for (const char* front : {"Labelonline", "Label1", "lbltime", "lbldate"}) {
      if (f.visible(front)) {
        ::SendMessageW(f.frame.handle(), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(f.control(front)), STN_CLICKED),
                       reinterpret_cast<LPARAM>(f.control(front)));
        break;
      }
    }
    EXPECT_TRUE(f.visible(next)) << next;
    int shown = 0;
    for (const char* label : {"Labelonline", "Label1", "lbltime", "lbldate"})
      shown += f.visible(label) ? 1 : 0;
    EXPECT_EQ(shown, 1) << next;
  }
  EXPECT_EQ(f.text("lbltime"), " 16:02:03");  // brought up to date on the way to the time label
}

TEST(Win32MainFrame, MenusCarryTheirCaptionsAndTheTrayMenuNeverShowsInTheBar) {
  MainFrameFixture f;
  const HMENU bar = f.frame.menuBar();
  ASSERT_EQ(::GetMenuItemCount(bar), 3);
  std::vector<std::string> top;
  for (int index = 0; index < 3; ++index) {
    std::wstring caption(64, L'\0');
    caption.resize(static_cast<std::size_t>(
        ::GetMenuStringW(bar, static_cast<UINT>(index), caption.data(), 64, MF_BYPOSITION)));
    top.push_back(win32ui::utf8(caption));
  }
  EXPECT_EQ(top, (std::vector<std::string>{"File", "Tools", "Info"}));

  const std::map<std::string, std::string> expected{{"mnuemailip", "Email"},
                                                    {"mnucopyip", "Copy"},
                                                    {"mnuupdateip", "Refresh Local IP"},
                                                    {"mnutraynetip", "Refresh Net IP"},
                                                    {"mnugetiphostname", "Get hostname"},
                                                    {"mnuIpBackgroundColor", "Ip Background"},
                                                    {"mnuIpForegroundColor", "Ip Foreground"},
                                                    {"mnuResetColor", "Reset color"},
                                                    {"exitlumeno", "Exit"},
                                                    {"pingtool", "IP tools"},
                                                    {"mnuoptions", "Options"},
                                                    {"textedit", "Text editor"},
                                                    {"mnuupdatelumeno", "Check for updates"},
                                                    {"mnusysinfo", "System info"},
                                                    {"mnuviewlog", "log monitor"},
                                                    {"aboutinfo", "About"},
                                                    {"mnuhelp", "Help"},
                                                    {"mnushowlumeno", "Show Lumeno"},
                                                    {"mnurefreship", "Refresh Local IP"},
                                                    {"mnunetip", "Refresh Net IP"},
                                                    {"mnucheckforupdate", "Check for updates"},
                                                    {"mnutraycopyip", "Copy"},
                                                    {"mnusystrayexit", "Exit"}};
  for (const auto& [name, caption] : expected) {
    const int id = f.frame.menuId(name);
    ASSERT_NE(id, 0) << name;
    const bool inTray = name.rfind("mnushow", 0) == 0 || name == "mnurefreship" || name == "mnunetip" ||
                        name == "mnucheckforupdate" || name == "mnutraycopyip" || name == "mnutraycopyipv6" ||
                        name == "mnusystrayexit";
    // Tray items live only in the tray menu; the others only under the bar.
    const HMENU menu = inTray ? f.frame.trayMenu() : bar;
    std::wstring text(64, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetMenuStringW(menu, static_cast<UINT>(id), text.data(), 64, MF_BYCOMMAND)));
    EXPECT_EQ(win32ui::utf8(text), caption) << name;
    if (inTray) {
      EXPECT_EQ(::GetMenuStringW(bar, static_cast<UINT>(id), nullptr, 0, MF_BYCOMMAND), 0) << name;
    }
  }
  for (const char* separator : {"mnuline5", "mnuline6", "line99", "line90", "line97", "sepbar1", "sepbar2",
                                "mnuline7", "mnuline8", "line98"}) {
    const int id = f.frame.menuId(separator);
    const HMENU menu = std::string(separator).rfind("mnuline7", 0) == 0 ||
                               std::string(separator) == "mnuline8" || std::string(separator) == "line98"
                           ? f.frame.trayMenu()
                           : bar;
    EXPECT_EQ(::GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR))
        << separator;
  }
  std::vector<std::string> trayOrder;
  for (int index = 0; index < ::GetMenuItemCount(f.frame.trayMenu()); ++index) {
    std::wstring caption(64, L'\0');
    caption.resize(static_cast<std::size_t>(
        ::GetMenuStringW(f.frame.trayMenu(), static_cast<UINT>(index), caption.data(), 64, MF_BYPOSITION)));
    trayOrder.push_back(win32ui::utf8(caption));
  }
  EXPECT_EQ(trayOrder, (std::vector<std::string>{"Show Lumeno", "", "Refresh Local IP", "Refresh Net IP", "",
                                                 "Check for updates", "Copy", "Copy IPv6", "", "Exit"}));
}

TEST(Win32MainFrame, MenuCommandsAndTimerTicksReachThePresenter) {
  MainFrameFixture f;
  // The three timers, with the intervals the display depends on.
  std::vector<std::pair<std::string, UINT>> timers;
  for (const auto& timer : MainFrame::timers()) timers.emplace_back(timer.name, timer.interval);
  EXPECT_EQ(timers, (std::vector<std::pair<std::string, UINT>>{
                        {"Timer1", 1000}, {"Timer2", 1500}, {"alertifoffline", 30000}}));
  f.network.connected = false;
  ::SendMessageW(f.frame.handle(), WM_TIMER, 2, 0);
  EXPECT_EQ(f.text("Labelonline"), " Offline!");
  EXPECT_EQ(f.frame.textColor("Labelonline"), RGB(255, 0, 0));
  EXPECT_EQ(f.frame.backColor("lblled"), RGB(255, 0, 0));
  EXPECT_EQ(f.frame.trayIcon().toolTip(), "IP : 192.168.0.5\r\nStatus :  Offline!\r\nVersion : 1.0.27");
  f.clock.value = {"06/12/2026", "16:02:03"};
  ::SendMessageW(f.frame.handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(f.text("lbldate"), " 06/12/2026");

  // A tip longer than the tray takes is cut to 63 characters there, and kept whole.
  ::SetWindowTextW(f.control("Text1"), L"a-rather-long-host-name-that-goes-on.example.org");
  ::SendMessageW(f.frame.handle(), WM_TIMER, 2, 0);
  EXPECT_EQ(f.frame.trayIcon().tipField().size(), 63U);
  EXPECT_EQ(f.frame.trayIcon().toolTip().substr(0, 10), "IP : a-rat");
  EXPECT_GT(f.frame.trayIcon().toolTip().size(), 63U);

  f.network.host = "my-box";
  f.choose("mnugetiphostname");
  EXPECT_EQ(f.text("Text1"), "my-box");
  EXPECT_EQ(f.frame.toolTips().text(f.control("Text1")), "Host name");
  f.choose("mnurefreship");  // the tray's item does the same work as the menu's
  EXPECT_EQ(f.text("Text1"), "192.168.0.5");
  EXPECT_EQ(f.frame.toolTips().text(f.control("Text1")), "Local IP Address");

  f.chosenColor = app::Rgb{10, 20, 30};
  f.choose("mnuIpBackgroundColor");
  EXPECT_EQ(f.frame.backColor("Text1"), RGB(10, 20, 30));
  f.choose("mnuResetColor");
  EXPECT_EQ(f.frame.backColor("Text1"), RGB(255, 255, 255));
  EXPECT_EQ(f.frame.textColor("Text1"), RGB(0, 0, 255));

  f.choose("aboutinfo");
  ASSERT_NE(f.frame.aboutBox(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(f.frame.aboutBox()->handle()));
  const HWND about = f.frame.aboutBox()->handle();
  f.choose("aboutinfo");  // the same box, not a second one
  EXPECT_EQ(f.frame.aboutBox()->handle(), about);
  f.choose("mnuoptions");
  ASSERT_NE(f.frame.loadedOptions(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(f.frame.loadedOptions()->handle()));

  f.boxes.answers = {BoxAnswer::No, BoxAnswer::Yes};
  f.choose("exitlumeno");
  EXPECT_EQ(f.endings, 0);
  f.choose("exitlumeno");
  EXPECT_EQ(f.endings, 1);
  EXPECT_EQ(f.boxes.shown.back(),
            (BoxRequest{"Exit Lumeno?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  const std::string log = f.log();
  EXPECT_EQ(log.rfind("[Lumeno Loaded] ,", 0), 0U) << log;
  EXPECT_NE(log.find("\r\n[Program Exit] , Date : 06/12/2026 , Time : 16:02:03\r\n"), std::string::npos)
      << log;
}

TEST(Win32MainFrame, TheIconsNotificationsBecomeEventsAndTheCloseBoxEndsWithoutAQuestion) {
  MainFrameFixture f;
  const HWND hook = f.frame.trayIcon().hook();
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(::GetParent(hook), f.frame.handle());
  EXPECT_FALSE(::IsWindowVisible(hook));
  ::ShowWindow(f.frame.handle(), SW_SHOWMINNOACTIVE);
  handlePending();
  EXPECT_TRUE(::IsIconic(f.frame.handle()));
  // A left double-click on the icon restores the window and gives it its title back.
  ::SendMessageW(hook, 512, 0, 515);
  EXPECT_FALSE(::IsIconic(f.frame.handle()));
  EXPECT_TRUE(::IsWindowVisible(f.frame.handle()));
  EXPECT_EQ(windowText(f.frame.handle()), "Lumeno");

  ::SendMessageW(f.frame.handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(f.endings, 1);
  EXPECT_TRUE(f.boxes.shown.empty());
  EXPECT_EQ(f.log().find("[Program Exit]"), std::string::npos);
}

}  // namespace
}  // namespace lumeno::test
