// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 main window's tray icon: the balloons it hands to the notification area, its
// right-click menu, and "Refresh Net IP" from that menu against a service on 127.0.0.1.
#include "LoopbackHttpServer.h"
// After winsock2.h, which must come before windows.h.
#include <algorithm>
#include <string>
#include <vector>

#include "Win32WindowsFixture.h"
#include "win32ui/MainFrame.h"

namespace lumeno::test {
namespace {

using win32ui::MainFrame;

// Options with "Follow address changes" and "Log connection changes" on.
const std::string kWatchingSettings =
    "[Options]\r\nalertifoffline=0\r\nhostnameintext1.text=0\r\nuselog=1\r\nfollowip=1\r\nlogoutages=1\r\n"
    "\r\n[Automation]\r\ntrayatstartup=0\r\nautostartup=0\r\n";

struct Notification {
  DWORD command;
  NOTIFYICONDATAW record;
};

// The main window with the notification area's calls recorded (and granted).
struct TrayFixture : Win32WindowsFixture {
  explicit TrayFixture(const std::string& ini = settingsWith("0", "0", "1"), std::wstring netIpService = {})
      : Win32WindowsFixture(ini),
        frame(context, {[this] { ++endings; }, nullptr, std::move(netIpService),
                        [this](DWORD command, NOTIFYICONDATAW* record) {
                          calls.push_back({command, *record});
                          return TRUE;
                        }}) {}

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
  // The icon's right-button release, as the notification area reports it.
  void rightClickIcon() { ::SendMessageW(frame.trayIcon().hook(), 512, 0, WM_RBUTTONUP); }
  // Keys for the pop-up menu about to open: down `steps` items (separators are skipped), Enter.
  void queueMenuChoice(int steps) const {
    for (int step = 0; step < steps; ++step) ::PostMessageW(frame.handle(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(frame.handle(), WM_KEYDOWN, VK_RETURN, 0);
  }

  int endings = 0;
  std::vector<Notification> calls;
  MainFrame frame;
};

// Should a menu stay open (keys not reaching it), it is closed so the test fails, not hangs.
struct MenuSafetyNet {
  MenuSafetyNet() : timer(::SetTimer(nullptr, 0, 30000, [](HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); })) {}
  MenuSafetyNet(const MenuSafetyNet&) = delete;
  MenuSafetyNet& operator=(const MenuSafetyNet&) = delete;
  ~MenuSafetyNet() { ::KillTimer(nullptr, timer); }
  UINT_PTR timer;
};

TEST(Win32Tray, BalloonsReachTheNotificationAreaOnlyWhileTheIconIsThere) {
  TrayFixture f(kWatchingSettings);
  f.statusTick();  // the first tick only learns the state
  f.network.connected = false;
  f.statusTick();
  EXPECT_TRUE(f.balloons().empty());  // in view: the window itself shows the change

  f.minimise();
  ASSERT_FALSE(f.calls.empty());
  EXPECT_EQ(f.calls.back().command, static_cast<DWORD>(NIM_ADD));
  EXPECT_FALSE(::IsWindowVisible(f.frame.handle()));
  f.network.connected = true;
  f.statusTick();
  f.network.address = "10.0.0.9";
  f.statusTick();
  ASSERT_EQ(f.balloons().size(), 2U);
  EXPECT_EQ(f.balloons()[0].rfind(L"Connection restored after ", 0), 0U);
  // The arrow arrives as one UTF-16 character, not as the three bytes of its UTF-8.
  EXPECT_EQ(f.balloons()[1], L"Local IP changed: 192.168.0.5 \u2192 10.0.0.9");
  const auto last = std::find_if(f.calls.rbegin(), f.calls.rend(), [](const Notification& call) {
    return (call.record.uFlags & NIF_INFO) != 0;
  });
  EXPECT_EQ(last->command, static_cast<DWORD>(NIM_MODIFY));
  const NOTIFYICONDATAW& balloon = last->record;
  EXPECT_EQ(balloon.hWnd, f.frame.trayIcon().hook());
  EXPECT_EQ(balloon.uID, 1U);
  EXPECT_GE(balloon.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));  // the first record has no balloon
  EXPECT_EQ(std::wstring(balloon.szInfoTitle), L"Lumeno");

  // Back in view (the default double-click), titled, the icon is gone and so are the balloons.
  ::SendMessageW(f.frame.trayIcon().hook(), 512, 0, WM_LBUTTONDBLCLK);
  EXPECT_FALSE(::IsIconic(f.frame.handle()));
  EXPECT_TRUE(::IsWindowVisible(f.frame.handle()));
  EXPECT_EQ(win32ui::windowText(f.frame.handle()), "Lumeno");
  EXPECT_EQ(f.calls.back().command, static_cast<DWORD>(NIM_DELETE));
  f.network.connected = false;
  f.statusTick();
  EXPECT_EQ(f.balloons().size(), 2U);

  // The close box ends the program without a question.
  ::SendMessageW(f.frame.handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(f.endings, 1);
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(Win32Tray, TheRightButtonReleaseOpensTheTrayMenuAndItsChoiceRuns) {
  LoopbackHttpServer service(LoopbackHttpServer::Reply::Address);
  TrayFixture f(settingsWith("0", "0", "1"), service.url());
  f.minimise();
  const MenuSafetyNet safetyNet;

  // Other buttons open nothing: the keys for "Show Lumeno" find no menu.
  f.queueMenuChoice(1);
  for (const LPARAM other : {WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONDBLCLK})
    ::SendMessageW(f.frame.trayIcon().hook(), 512, 0, other);
  handlePending();
  EXPECT_FALSE(::IsWindowVisible(f.frame.handle()));

  // "Show Lumeno", "Refresh Local IP", "Refresh Net IP": the third item.
  f.queueMenuChoice(3);
  f.rightClickIcon();
  ASSERT_TRUE(pumpUntil([&f] { return !f.boxes.shown.empty(); }));
  EXPECT_EQ(f.boxes.shown.front().text, "Your Net IP (the address the Internet sees) is 203.0.113.7");
  EXPECT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(service.connections(), 1);

  // "Exit", the last item, ends the program at once.
  f.queueMenuChoice(7);
  f.rightClickIcon();
  ASSERT_TRUE(pumpUntil([&f] { return f.endings == 1; }));
  EXPECT_EQ(f.calls.back().command, static_cast<DWORD>(NIM_DELETE));  // the icon goes first
}

TEST(Win32Tray, RefreshNetIpLeavesTheWindowFreeWhileTheServiceIsSilentAndClosingDoesNotWait) {
  LoopbackHttpServer service(LoopbackHttpServer::Reply::Silent);
  TrayFixture f(settingsWith("0", "0", "1"), service.url());
  command(f.frame.handle(), f.frame.menuId("mnutraynetip"));
  command(f.frame.handle(), f.frame.menuId("mnunetip"));
  // Both commands have returned while the service holds the request unanswered.
  ASSERT_TRUE(pumpUntil([&service] { return service.connections() == 1; }));
  EXPECT_TRUE(f.boxes.shown.empty());
  // The window closes now, the lookup still under way.
}

}  // namespace
}  // namespace lumeno::test
