// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 main window's wiring: controls, menus, timers and the tray icon reach the presenter.
#include "LoopbackHttpServer.h"
// After winsock2.h, which must come before windows.h.
#include <algorithm>
#include <string>
#include <vector>

#include "MenuTreeText.h"
#include "Win32WindowsFixture.h"
#include "app/MainDesign.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/HistoryFrame.h"
#include "ui/win32/IpToolsFrame.h"
#include "ui/win32/LogMonitorFrame.h"
#include "ui/win32/MainFrame.h"
#include "ui/win32/OptionsWindow.h"

namespace lumeno::test {
namespace {

using win32ui::MainFrame;
using win32ui::windowText;

struct Notification {
  DWORD command;
  NOTIFYICONDATAW record;
};

// The main window, with the notification area's calls recorded (and granted).
struct MainFrameFixture : Win32WindowsFixture {
  explicit MainFrameFixture(const std::string& ini = settingsWith("0", "0", "1"),
                            std::wstring netIpService = {})
      : Win32WindowsFixture(ini),
        frame(context, {[this] { ++endings; }, [this](app::Rgb /*current*/) { return chosenColor; },
                        std::move(netIpService),
                        [this](DWORD command, NOTIFYICONDATAW* record) {
                          calls.push_back({command, *record});
                          return TRUE;
                        }}) {}
  void choose(const char* menuItem) { command(frame.handle(), frame.menuId(menuItem)); }
  [[nodiscard]] HWND control(const char* name) const { return frame.controls().find(name); }
  [[nodiscard]] std::string text(const char* name) const { return windowText(control(name)); }
  // Whether or not the window itself is on the screen.
  [[nodiscard]] bool visible(const char* name) const { return styled(control(name), WS_VISIBLE); }
  void minimise() {
    ::ShowWindow(frame.handle(), SW_SHOWMINNOACTIVE);
    handlePending();
  }
  void statusTick() { ::SendMessageW(frame.handle(), WM_TIMER, 2, 0); }
  [[nodiscard]] std::vector<std::wstring> balloons() const {
    std::vector<std::wstring> texts;
    for (const Notification& call : calls)
      if ((call.record.uFlags & NIF_INFO) != 0) texts.emplace_back(call.record.szInfo);
    return texts;
  }
  // The icon's mouse events, as the notification area reports them.
  void iconEvent(LPARAM event) { ::SendMessageW(frame.trayIcon().hook(), 512, 0, event); }
  // Keys for the pop-up menu about to open: down `steps` items (separators are skipped), Enter.
  void queueMenuChoice(int steps) const {
    for (int step = 0; step < steps; ++step) ::PostMessageW(frame.handle(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(frame.handle(), WM_KEYDOWN, VK_RETURN, 0);
  }

  int endings = 0;
  std::optional<app::Rgb> chosenColor;
  std::vector<Notification> calls;
  MainFrame frame;
};

TEST(Win32MainFrame, EachControlHasItsNameTipAndPlaceFromTwipsAndClicksAndTicksReachThePresenter) {
  MainFrameFixture f;
  std::vector<app::design::ControlDesign> controls{app::design::kAddressBox, app::design::kLamp};
  for (const auto& info : app::design::kInfoLabels) controls.push_back(info.design);
  ASSERT_EQ(f.frame.controls().all().size(), controls.size());
  for (const app::design::ControlDesign& expected : controls) {
    SCOPED_TRACE(expected.name);
    const HWND control = f.control(std::string(expected.name).c_str());
    ASSERT_NE(control, nullptr);
    // The address box's tip is the presenter's.
    EXPECT_EQ(f.frame.toolTips().text(control), expected.name == "Text1" ? "Local IP" : expected.tip);
    EXPECT_TRUE(samePlace(placeOf(control), placeFromTwips(expected.place)));
  }
  EXPECT_EQ(f.text("Text1"), "192.168.0.5");
  EXPECT_EQ(clientSize(f.frame.handle()), twipsSize(app::design::kClientWidth, app::design::kClientHeight));
  // Only the label in front is shown; a click on it brings the next one.
  EXPECT_TRUE(f.visible("Labelonline") && !f.visible("Label1") && !f.visible("lbltime"));
  click(f.control("Labelonline"), STN_CLICKED);
  EXPECT_TRUE(f.visible("Label1") && !f.visible("Labelonline") && !f.visible("lbldate"));
  EXPECT_EQ(f.text("Label1"), " V1.0.27");

  // The status timer reaches the label, the lamp and the tray's tip, cut to 63 characters there.
  f.network.connected = false;
  ::SetWindowTextW(f.control("Text1"), L"a-rather-long-host-name-that-goes-on.example.org");
  f.statusTick();
  EXPECT_EQ(f.text("Labelonline"), " Offline!");
  EXPECT_EQ(f.frame.textColor("Labelonline"), RGB(255, 0, 0));
  EXPECT_EQ(f.frame.backColor("lblled"), RGB(255, 0, 0));
  EXPECT_EQ(
      f.frame.trayIcon().toolTip(),
      "IP : a-rather-long-host-name-that-goes-on.example.org\r\nStatus :  Offline!\r\nVersion : 1.0.27");
  EXPECT_EQ(f.frame.trayIcon().tipField().size(), 63U);
  f.clock.value = {"06/12/2026", "16:02:03"};
  ::SendMessageW(f.frame.handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(f.text("lbldate"), " 06/12/2026");

  f.chosenColor = app::Rgb{10, 20, 30};
  f.choose("mnuIpBackgroundColor");
  EXPECT_EQ(f.frame.backColor("Text1"), RGB(10, 20, 30));
}

TEST(Win32MainFrame, MenusCarryTheirNamesAndCaptionsAndTheTrayMenuNeverShowsInTheBar) {
  MainFrameFixture f;
  const auto nameOf = [&f](int id) {
    for (const win32ui::MenuItem& item : f.frame.menuItems())
      if (item.id == id) return std::string(item.name);
    return std::string("?");
  };
  EXPECT_EQ(describeMenu(f.frame.menuBar(), nameOf), describeMenuTree(app::mainMenuBar(), false));
  EXPECT_EQ(describeMenu(f.frame.trayMenu(), nameOf), describeMenuTree(app::trayMenu().items, false));
}

TEST(Win32MainFrame, EachWindowOpensOnceHoweverOftenItsMenuIsChosenAndTheIpToolsComeBackFresh) {
  MainFrameFixture f;
  // That each opens and shows is the Windows end-to-end case's; here, that a second choice
  // brings back the same window, not a second one.
  const auto chosenTwice = [&f](const char* item, const auto& window) {
    const auto handle = [&window] { return window() != nullptr ? window()->handle() : nullptr; };
    f.choose(item);
    const HWND first = handle();
    f.choose(item);
    EXPECT_TRUE(first != nullptr && handle() == first) << item;
  };
  chosenTwice("aboutinfo", [&] { return f.frame.aboutBox(); });
  chosenTwice("mnuoptions", [&] { return f.frame.loadedOptions(); });
  chosenTwice("mnuviewlog", [&] { return f.frame.logMonitor(); });
  chosenTwice("mnuhistory", [&] { return f.frame.historyWindow(); });
  chosenTwice("pingtool", [&] { return f.frame.ipToolsWindow(); });

  const auto count = [&f] { return windowText(f.frame.ipToolsWindow()->controls().find("txtNumber")); };
  win32ui::setWindowText(f.frame.ipToolsWindow()->controls().find("txtNumber"), "9");
  f.choose("pingtool");
  EXPECT_EQ(count(), "9");
  ::SendMessageW(f.frame.ipToolsWindow()->handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(f.frame.ipToolsWindow(), nullptr);
  f.choose("pingtool");
  ASSERT_NE(f.frame.ipToolsWindow(), nullptr);
  EXPECT_EQ(count(), "4");
}

// Should a menu stay open (keys not reaching it), it is closed so the test fails, not hangs.
struct MenuSafetyNet {
  MenuSafetyNet() : timer(::SetTimer(nullptr, 0, 30000, [](HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); })) {}
  MenuSafetyNet(const MenuSafetyNet&) = delete;
  MenuSafetyNet& operator=(const MenuSafetyNet&) = delete;
  ~MenuSafetyNet() { ::KillTimer(nullptr, timer); }
  UINT_PTR timer;
};

TEST(Win32Tray, BalloonsReachTheNotificationAreaOnlyWhileTheIconIsThere) {
  // "Follow address changes" and "Log connection changes" on.
  MainFrameFixture f("[Options]\r\nfollowip=1\r\nlogoutages=1\r\n");
  f.statusTick();  // the first tick only learns the state
  f.network.connected = false;
  f.statusTick();
  EXPECT_TRUE(f.balloons().empty());  // in view: the window itself shows the change

  f.minimise();  // the icon shows and the window goes: the Windows end-to-end case sees that
  f.network.connected = true;
  f.statusTick();
  f.network.address = "10.0.0.9";
  f.statusTick();
  ASSERT_EQ(f.balloons().size(), 2U);
  EXPECT_EQ(f.balloons()[0].rfind(L"Connection restored after ", 0), 0U);
  EXPECT_EQ(f.balloons()[1], L"Local IP changed: 192.168.0.5 \u2192 10.0.0.9");
  const auto last = std::find_if(f.calls.rbegin(), f.calls.rend(), [](const Notification& call) {
    return (call.record.uFlags & NIF_INFO) != 0;
  });
  EXPECT_EQ(last->command, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(last->record.hWnd, f.frame.trayIcon().hook());
  EXPECT_EQ(last->record.uID, 1U);
  EXPECT_GE(last->record.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));  // one with a balloon
  EXPECT_EQ(std::wstring(last->record.szInfoTitle), L"Lumeno");

  // Back in view (a double-click), titled, the icon and the balloons are gone.
  f.iconEvent(WM_LBUTTONDBLCLK);
  EXPECT_TRUE(::IsWindowVisible(f.frame.handle()) && !::IsIconic(f.frame.handle()));
  EXPECT_EQ(windowText(f.frame.handle()), "Lumeno");
  EXPECT_EQ(f.calls.back().command, static_cast<DWORD>(NIM_DELETE));
  f.network.connected = false;
  f.statusTick();
  EXPECT_EQ(f.balloons().size(), 2U);

  ::SendMessageW(f.frame.handle(), WM_CLOSE, 0, 0);  // no question
  EXPECT_EQ(f.endings, 1);
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(Win32Tray, TheRightButtonReleaseOpensTheTrayMenuAndItsChoiceRuns) {
  LoopbackHttpServer service(LoopbackHttpServer::Reply::Address);
  MainFrameFixture f(settingsWith("0", "0", "1"), service.url());
  f.minimise();
  const MenuSafetyNet safetyNet;

  // Other buttons open nothing: the keys for "Show Lumeno" find no menu.
  f.queueMenuChoice(1);
  for (const LPARAM other : {WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONDBLCLK})
    f.iconEvent(other);
  handlePending();
  EXPECT_FALSE(::IsWindowVisible(f.frame.handle()));

  // "Show Lumeno", "Refresh Local IP", "Refresh Net IP": the third item.
  f.queueMenuChoice(3);
  f.iconEvent(WM_RBUTTONUP);
  ASSERT_TRUE(pumpUntil([&f] { return !f.boxes.shown.empty(); }));
  EXPECT_EQ(f.boxes.shown.front().text, "Your Net IP (the address the Internet sees) is 203.0.113.7");
  EXPECT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(service.connections(), 1);

  // "Exit", the last item (after "Connection history"), ends the program at once.
  f.queueMenuChoice(8);
  f.iconEvent(WM_RBUTTONUP);
  ASSERT_TRUE(pumpUntil([&f] { return f.endings == 1; }));
  EXPECT_EQ(f.calls.back().command, static_cast<DWORD>(NIM_DELETE));  // the icon goes first
}

}  // namespace
}  // namespace lumeno::test
