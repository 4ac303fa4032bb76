// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 log monitor: its menu and controls, and the log it shows, reloads, clears and copies.
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "Win32WindowsFixture.h"
#include "common/PathText.h"
#include "platform/Files.h"
#include "ui/win32/LogMonitorFrame.h"
#include "ui/win32/MainFrame.h"

namespace lumeno::test {
namespace {

namespace design = log::design;
using win32ui::LogMonitorFrame;
using win32ui::windowText;

void choose(LogMonitorFrame& monitor, const char* item) {
  command(monitor.handle(), monitor.menuId(item));
}

bool grayed(const LogMonitorFrame& monitor, const char* item) {
  return (::GetMenuState(monitor.menuBar(), static_cast<UINT>(monitor.menuId(item)), MF_BYCOMMAND) &
          MF_GRAYED) != 0;
}

void tick(const LogMonitorFrame& monitor) {
  ::SendMessageW(monitor.handle(), WM_TIMER, LogMonitorFrame::kReloadTimer, 0);
}

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

std::vector<std::string> numberedLines(int count) {
  std::vector<std::string> lines;
  for (int line = 0; line < count; ++line)
    lines.push_back("[Lumeno Loaded] , Date : 06/12/2026 , Time : " + std::to_string(line));
  return lines;
}

std::string asLog(const std::vector<std::string>& lines) {
  std::string log;
  for (const std::string& line : lines) log += line + "\r\n";
  return log;
}

TEST(Win32LogMonitor, TheWindowItsMenuAndItsControlsAreBuiltAsDesignedAndKeepTheirSmallestSize) {
  Win32WindowsFixture f;
  LogMonitorFrame monitor(f.context);
  EXPECT_EQ(windowText(monitor.handle()), design::kCaption);
  const LONG style = ::GetWindowLongW(monitor.handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  RECT client{};
  ::GetClientRect(monitor.handle(), &client);
  EXPECT_EQ(client.right, win32ui::twips(design::kClientWidth));
  EXPECT_EQ(client.bottom, win32ui::twips(design::kClientHeight));
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
  const int statusTop = client.bottom - win32ui::twips(design::kStatusBarHeight);
  EXPECT_TRUE(samePlace(placeOf(monitor.controls().find("RichTextBox1")), {0, 0, client.right, statusTop}));
  EXPECT_TRUE(
      samePlace(placeOf(monitor.controls().find("StatusBar1")), {0, statusTop, client.right, client.bottom}));

  // Made smaller than its smallest size, it keeps that size, and the lines still fill its width.
  ::SetWindowPos(monitor.handle(), nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::GetWindowRect(monitor.handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, win32ui::twips(design::kMinimumOuterWidth));
  EXPECT_EQ(outer.bottom - outer.top, win32ui::twips(design::kMinimumOuterHeight));
  ::GetClientRect(monitor.handle(), &client);
  EXPECT_EQ(placeOf(monitor.controls().find("RichTextBox1")).right, client.right);
  EXPECT_EQ(placeOf(monitor.controls().find("StatusBar1")).bottom, client.bottom);
}

TEST(Win32LogMonitor, ShowsTheLogAtOnceAndATickBringsTheNewLineIntoSightAtTheBottom) {
  Win32WindowsFixture f;
  std::vector<std::string> expected = numberedLines(300);
  f.folder.write("log.txt", asLog(expected));
  LogMonitorFrame monitor(f.context);
  const std::size_t page = static_cast<std::size_t>(monitor.lines().pageLines());
  ASSERT_LT(page, 300U);
  EXPECT_EQ(monitor.lines().lineCount(), 300U);
  EXPECT_EQ(monitor.lines().firstVisibleLine(), 300U - page);  // the newest lines in sight
  EXPECT_EQ(monitor.lines().visibleLines().back(), expected.back());

  // The user scrolls up; a new entry shows at the next tick, scrolled to.
  ::SendMessageW(monitor.controls().find("RichTextBox1"), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(monitor.lines().firstVisibleLine(), 0U);
  ASSERT_TRUE(platform::appendToFile(f.folder / "log.txt",
                                     "[Program Exit] , Date : 06/12/2026 , Time : 16:02:03\r\n"));
  tick(monitor);
  EXPECT_EQ(monitor.lines().lineCount(), 301U);
  EXPECT_EQ(monitor.lines().firstVisibleLine(), 301U - page);
  EXPECT_EQ(monitor.lines().visibleLines().back(), "[Program Exit] , Date : 06/12/2026 , Time : 16:02:03");
}

TEST(Win32LogMonitor, PauseGreysItselfResumeRestartsTheTimerAndClearLogEmptiesTheFile) {
  Win32WindowsFixture f;
  f.folder.write("log.txt", "one\r\n");
  LogMonitorFrame monitor(f.context);
  choose(monitor, "mnupausescreen");
  EXPECT_TRUE(grayed(monitor, "mnupausescreen"));
  EXPECT_FALSE(grayed(monitor, "mnuresume"));
  EXPECT_FALSE(monitor.reloading());

  f.boxes.answers = {BoxAnswer::Yes};
  choose(monitor, "mnuclearlog");
  EXPECT_EQ(f.log(), "");
  EXPECT_EQ(monitor.lines().lineCount(), 0U);
  choose(monitor, "mnuresume");
  EXPECT_TRUE(monitor.reloading());
  choose(monitor, "mnuexit");
  EXPECT_FALSE(monitor.alive());
}

TEST(Win32LogMonitor, ALogInAFolderNamedInAnyScriptIsShownAndOneThatCannotBeClearedIsNamed) {
  Win32WindowsFixture f;
  const std::filesystem::path folder =
      f.folder.path() /
      pathFromText("\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB \xE5\x90\x8D\xE5\x89\x8D");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  ASSERT_TRUE(platform::writeFile(folder / "log.txt", "one\r\n"));
  f.context.programFolder = folder;
  LogMonitorFrame monitor(f.context);
  EXPECT_EQ(monitor.lines().visibleLines(), (std::vector<std::string>{"one"}));

  // A folder in the log's place: a note instead of lines, and a clear that says it failed.
  std::filesystem::remove(folder / "log.txt");
  std::filesystem::create_directory(folder / "log.txt");
  tick(monitor);
  EXPECT_EQ(monitor.lines().note(), log::LogMonitorPresenter::kNotRegularNote);
  f.boxes.answers = {BoxAnswer::Yes};
  choose(monitor, "mnuclearlog");
  EXPECT_EQ(f.boxes.shown.back().text, "The log file could not be cleared: " + pathText(folder / "log.txt"));
  EXPECT_NE(f.boxes.shown.back().text.find("\xD0\x96\xD1\x83\xD1\x80"), std::string::npos);
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
  const std::vector<std::string> expected = numberedLines(80000);  // about 4 MB
  f.folder.write("log.txt", asLog(expected));
  LogMonitorFrame monitor(f.context);
  // Its end shows at once, while the rest is indexed between the window's messages.
  EXPECT_TRUE(monitor.presenter().busy());
  EXPECT_EQ(monitor.lines().visibleLines().back(), expected.back());
  ASSERT_TRUE(pumpUntil([&monitor] { return !monitor.presenter().busy(); }));
  EXPECT_EQ(monitor.lines().lineCount(), expected.size());
}

TEST(Win32LogMonitor, TheMainWindowsMenuOpensOneMonitorOnTheLogItWrites) {
  Win32WindowsFixture f;  // logging on
  win32ui::MainFrame frame(f.context, {[] {}, nullptr});
  const auto chooseInMain = [&](const char* item) { command(frame.handle(), frame.menuId(item)); };
  chooseInMain("mnuviewlog");
  LogMonitorFrame* monitor = frame.logMonitor();
  ASSERT_NE(monitor, nullptr);
  EXPECT_TRUE(::IsWindowVisible(monitor->handle()));
  ASSERT_EQ(monitor->lines().lineCount(), 1U);  // "[Lumeno Loaded]", written by the main window
  chooseInMain("mnuviewlog");
  EXPECT_EQ(frame.logMonitor(), monitor);  // the same window, not a second one

  chooseInMain("mnuupdateip");
  tick(*monitor);
  ASSERT_EQ(monitor->lines().lineCount(), 2U);
  EXPECT_EQ(monitor->lines().visibleLines()[1].rfind("[Refreshed Local IP] : 192.168.0.5 , Date : ", 0), 0U);
}

}  // namespace
}  // namespace lumeno::test
