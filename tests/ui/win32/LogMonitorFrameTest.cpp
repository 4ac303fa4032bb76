// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 log monitor: its menu and controls, and the log it shows, reloads, clears and copies.
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "Win32WindowsFixture.h"
#include "platform/Files.h"
#include "ui/win32/LogMonitorFrame.h"

namespace lumeno::test {
namespace {

namespace design = log::design;
using win32ui::LogMonitorFrame;
using win32ui::windowText;

// A key pressed in the window while the given keys are held.
void press(HWND target, WPARAM key, std::initializer_list<int> held = {}) {
  std::array<BYTE, 256> saved{};
  ::GetKeyboardState(saved.data());
  std::array<BYTE, 256> state = saved;
  for (const int down : held) state[static_cast<std::size_t>(down)] = 0x80;
  ::SetKeyboardState(state.data());
  ::SendMessageW(target, WM_KEYDOWN, key, 0);
  ::SetKeyboardState(saved.data());
}

std::string clipboardText() {
  if (::OpenClipboard(nullptr) == FALSE) return "<clipboard not opened>";
  std::string text = "<no text>";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    text = win32ui::utf8(static_cast<const wchar_t*>(::GlobalLock(data)));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

std::string numberedLine(int line) {
  return "[Lumeno Loaded] , Date : 06/12/2026 , Time : " + std::to_string(line);
}

std::string numberedLog(int count) {
  std::string log;
  for (int line = 0; line < count; ++line) log += numberedLine(line) + "\r\n";
  return log;
}

TEST(Win32LogMonitor, TheWindowItsMenuAndItsControlsAreBuiltAsDesignedAndKeepTheirSmallestSize) {
  Win32WindowsFixture f;
  LogMonitorFrame monitor(f.context);
  EXPECT_EQ(windowText(monitor.handle()), design::kCaption);
  const LONG style = ::GetWindowLongW(monitor.handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  const auto [width, height] = clientSize(monitor.handle());
  EXPECT_EQ(std::make_pair(width, height), twipsSize(design::kClientWidth, design::kClientHeight));
  RECT outer{};
  RECT work{};
  ::GetWindowRect(monitor.handle(), &outer);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((outer.left + outer.right) - (work.left + work.right)), 1);  // centred
  EXPECT_LE(std::abs((outer.top + outer.bottom) - (work.top + work.bottom)), 1);

  std::vector<std::string> menu{std::string(design::kFileMenuCaption)};
  for (const auto& item : design::kFileMenu) menu.push_back("  " + std::string(item.caption));
  EXPECT_EQ(describeMenu(monitor.menuBar()), menu);
  // The lines fill the width down to the status bar along the bottom; the search row is hidden.
  ASSERT_EQ(monitor.controls().all().size(), 2 + design::kSearchRow.size());
  for (const auto& button : {design::kFindPrevious, design::kFindNext})
    EXPECT_EQ(windowText(monitor.controls().find(button.name)), button.text);
  const int statusTop = height - win32ui::twips(design::kStatusBarHeight);
  EXPECT_TRUE(samePlace(placeOf(monitor.controls().find("RichTextBox1")), {0, 0, width, statusTop}));
  EXPECT_TRUE(samePlace(placeOf(monitor.controls().find("StatusBar1")), {0, statusTop, width, height}));

  // Made smaller than its smallest size, it keeps that size, and the lines still fill its width.
  ::SetWindowPos(monitor.handle(), nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::GetWindowRect(monitor.handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, win32ui::twips(design::kMinimumOuterWidth));
  EXPECT_EQ(outer.bottom - outer.top, win32ui::twips(design::kMinimumOuterHeight));
  EXPECT_EQ(placeOf(monitor.controls().find("RichTextBox1")).right, clientSize(monitor.handle()).first);
  EXPECT_EQ(placeOf(monitor.controls().find("StatusBar1")).bottom, clientSize(monitor.handle()).second);
}

TEST(Win32LogMonitor, ShowsTheLogAtOnceAndATickBringsTheNewLineIntoSightAtTheBottom) {
  Win32WindowsFixture f;
  f.folder.write("log.txt", numberedLog(300));
  LogMonitorFrame monitor(f.context);
  const std::size_t page = static_cast<std::size_t>(monitor.lines().pageLines());
  ASSERT_LT(page, 300U);
  EXPECT_EQ(monitor.lines().lineCount(), 300U);
  EXPECT_EQ(monitor.lines().firstVisibleLine(), 300U - page);  // the newest lines in sight
  EXPECT_EQ(monitor.lines().visibleLines().back(), numberedLine(299));

  // The user scrolls up; a new entry shows at the next tick, scrolled to.
  ::SendMessageW(monitor.controls().find("RichTextBox1"), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(monitor.lines().firstVisibleLine(), 0U);
  ASSERT_TRUE(platform::appendToFile(f.folder / "log.txt", numberedLine(300) + "\r\n"));
  ::SendMessageW(monitor.handle(), WM_TIMER, LogMonitorFrame::kReloadTimer, 0);
  EXPECT_EQ(monitor.lines().firstVisibleLine(), 301U - page);
  EXPECT_EQ(monitor.lines().visibleLines().back(), numberedLine(300));
}

// The presenter's rules for pausing and clearing are its own tests'; here, that the menu reaches it.
TEST(Win32LogMonitor, PauseGreysItselfResumeRestartsTheTimerAndClearLogEmptiesTheView) {
  Win32WindowsFixture f;
  f.folder.write("log.txt", "one\r\n");
  LogMonitorFrame monitor(f.context);
  command(monitor.handle(), monitor.menuId("mnupausescreen"));
  EXPECT_TRUE(grayed(monitor.menuBar(), monitor.menuId("mnupausescreen")));
  EXPECT_FALSE(grayed(monitor.menuBar(), monitor.menuId("mnuresume")));
  EXPECT_FALSE(monitor.reloading());
  f.boxes.answers = {BoxAnswer::Yes};
  command(monitor.handle(), monitor.menuId("mnuclearlog"));
  EXPECT_EQ(monitor.lines().lineCount(), 0U);
  command(monitor.handle(), monitor.menuId("mnuresume"));
  EXPECT_TRUE(monitor.reloading());
  command(monitor.handle(), monitor.menuId("mnuexit"));
  EXPECT_FALSE(monitor.alive());
}

TEST(Win32LogMonitor, SelectedLinesAreCopiedAsUnicodeTextAndCtrlFFindsALine) {
  Win32WindowsFixture f;
  f.folder.write("log.txt", "alpha\r\nbeta \xC3\xBC\r\ngamma \xFF\r\ndelta\r\n");
  LogMonitorFrame monitor(f.context);
  const HWND lines = monitor.controls().find("RichTextBox1");
  // A click on the first row, then Shift+Down: two lines.
  ::SendMessageW(lines, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 1));
  ::SendMessageW(lines, WM_LBUTTONUP, 0, MAKELPARAM(5, 1));
  press(lines, VK_DOWN, {VK_SHIFT});
  press(lines, 'C', {VK_CONTROL});
  EXPECT_EQ(clipboardText(), "alpha\r\nbeta \xC3\xBC");
  press(lines, 'A', {VK_CONTROL});
  press(lines, 'C', {VK_CONTROL});
  EXPECT_EQ(clipboardText(), "alpha\r\nbeta \xC3\xBC\r\ngamma \xEF\xBF\xBD\r\ndelta");

  press(lines, 'F', {VK_CONTROL});
  ASSERT_TRUE(monitor.searchShown());
  const HWND findBox = monitor.controls().find("txtfind");
  EXPECT_EQ(::GetFocus(), findBox);
  // The lines make room for the search row above the status bar.
  EXPECT_LE(placeOf(lines).bottom, placeOf(findBox).top);
  EXPECT_LE(placeOf(findBox).bottom, placeOf(monitor.controls().find("StatusBar1")).top);
  ::SetWindowTextW(findBox, L"GAMMA");
  press(findBox, VK_RETURN);
  EXPECT_EQ(monitor.presenter().currentLine(), 2U);
  press(findBox, VK_ESCAPE);
  EXPECT_FALSE(monitor.searchShown());
  EXPECT_EQ(placeOf(lines).bottom, placeOf(monitor.controls().find("StatusBar1")).top);
}

TEST(Win32LogMonitor, ALargeLogIsIndexedInSlicesThroughPostedWork) {
  Win32WindowsFixture f;
  f.folder.write("log.txt", numberedLog(80000));  // about 4 MB
  LogMonitorFrame monitor(f.context);
  // Its end shows at once; the rest is indexed between the window's messages.
  EXPECT_TRUE(monitor.presenter().busy());
  EXPECT_EQ(monitor.lines().visibleLines().back(), numberedLine(79999));
  ASSERT_TRUE(pumpUntil([&monitor] { return !monitor.presenter().busy(); }));
  EXPECT_EQ(monitor.lines().lineCount(), 80000U);
}

}  // namespace
}  // namespace lumeno::test
