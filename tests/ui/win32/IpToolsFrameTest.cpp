// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 IP tools window's wiring: its controls and menus, a tool run with a stand-in, Stop,
// closing during a run. (The rules of a run are the presenter's and RunState's tests'.)
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Win32WindowsFixture.h"
#include "common/PathText.h"
#include "iptools/IpToolsDesign.h"
#include "iptools/WindowRules.h"
#include "ui/win32/IpToolsFrame.h"

namespace lumeno::test {
namespace {

namespace design = iptools::design;
using win32ui::windowText;

struct IpToolsFixture : Win32WindowsFixture {
  IpToolsFixture()
      : frame(context, [this] { return now; },
              {[this](HMENU menu, POINT) { poppedUp.push_back(menu); }, [this] { ++beeps; }}) {}

  void useTool(const wchar_t* standIn) {
    frame.runner().setProgramFinder([program = built(standIn)](const std::string&) { return program; });
  }
  [[nodiscard]] HWND control(const char* name) const { return frame.controls().find(name); }
  [[nodiscard]] std::string text(const char* name) const { return windowText(control(name)); }
  void type(const char* name, const char* typed) const { win32ui::setWindowText(control(name), typed); }
  void click(const char* name) const { test::click(control(name)); }
  void choose(const char* item) const { command(frame.handle(), frame.menuId(item)); }
  [[nodiscard]] bool enabled(const char* name) const { return ::IsWindowEnabled(control(name)) != FALSE; }
  [[nodiscard]] bool readOnly() const { return styled(control("txtOutPut"), ES_READONLY); }
  // Where the selection starts and ends (the boxes here hold far less than 64 K characters).
  [[nodiscard]] std::pair<DWORD, DWORD> selection(const char* name) const {
    const auto both = static_cast<DWORD>(::SendMessageW(control(name), EM_GETSEL, 0, 0));
    return {LOWORD(both), HIWORD(both)};
  }
  void mouseClick(const char* name) const {
    ::SendMessageW(control(name), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(control(name), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  bool waitForOutput(const std::string& part) {
    return pumpUntil([&] {
      return text("txtOutPut").find(part) != std::string::npos || !frame.presenter().isToolRunning();
    });
  }
  bool waitForTheEnd() {
    return pumpUntil([this] { return !frame.presenter().isToolRunning(); });
  }

  std::int64_t now = 1'000'000;
  std::vector<HMENU> poppedUp;
  int beeps = 0;
  win32ui::IpToolsFrame frame;
};

TEST(Win32IpTools, EachControlHasItsNameCaptionTipPlaceAndLimitAndTabFollowsTheDesignedOrder) {
  IpToolsFixture f;
  EXPECT_EQ(windowText(f.frame.handle()), "IP Tools");
  const auto style = static_cast<DWORD>(::GetWindowLongW(f.frame.handle(), GWL_STYLE));
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_SYSMENU), DWORD{WS_SYSMENU});
  EXPECT_NE(::GetWindowLongW(f.frame.handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  const auto [width, height] = clientSize(f.frame.handle());
  EXPECT_EQ(std::make_pair(width, height), twipsSize(design::kClientWidth, design::kClientHeight));

  const auto& made = f.frame.controls().all();
  ASSERT_EQ(made.size(), design::kControls.size());
  for (std::size_t index = 0; index < made.size(); ++index) {
    const design::ControlDesign& expected = design::kControls.at(index);
    SCOPED_TRACE(std::string(expected.name));
    EXPECT_EQ(made[index].name, expected.name);
    EXPECT_EQ(windowText(made[index].handle),
              expected.name == "classlbl" ? " Ready..." : std::string(expected.text));
    EXPECT_EQ(f.frame.toolTips().text(made[index].handle), expected.tip);
    // The output box takes the client area's width and all but the rows below it.
    const RECT place = expected.name == "txtOutPut"
                           ? RECT{0, 0, width, height - win32ui::twips(design::kRowsBelowOutput)}
                           : placeFromTwips(expected.place);
    EXPECT_TRUE(samePlace(placeOf(made[index].handle), place));
    if (expected.maxLength > 0) {
      EXPECT_EQ(::SendMessageW(made[index].handle, EM_GETLIMITTEXT, 0, 0), expected.maxLength);
    }
  }
  // The controls that take Tab come in the designed order; shown, the first that may take it has it.
  std::vector<std::string> tabOrder;
  std::string firstStop;
  for (HWND child = ::GetWindow(f.frame.handle(), GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!styled(child, WS_TABSTOP)) continue;
    tabOrder.push_back(f.frame.controls().nameOf(::GetDlgCtrlID(child)));
    if (firstStop.empty() && ::IsWindowEnabled(child) != FALSE) firstStop = tabOrder.back();
  }
  EXPECT_EQ(tabOrder, std::vector<std::string>(design::kTabOrder.begin(), design::kTabOrder.end()));
  f.frame.show();
  EXPECT_EQ(f.frame.controls().nameOf(::GetDlgCtrlID(::GetFocus())), firstStop);

  EXPECT_EQ(describeMenu(f.frame.menuBar()),
            (std::vector<std::string>{"File", "  Exit", "Options", "  View", "    Last ping",
                                      "    Last trace route", "    Last netstat", "  Clear all"}));
  EXPECT_EQ(::GetSubMenu(f.frame.menuBar(), 1), f.frame.menu("mnuoptions"));
}

TEST(Win32IpTools, APingWithAStandInShowsItsOutputAsItComesAndKeepsItInTheResultFile) {
  IpToolsFixture f;
  f.useTool(LUMENO_STAND_IN_ECHO);
  f.type("txtIP", "127.0.0.1");
  f.type("txtNumber", "2");
  f.click("cmdPing");
  // Running: "Stop" in place of "Ping", the hourglass, the output box and the menu items held.
  EXPECT_EQ(f.text("cmdPing"), "Stop");
  EXPECT_TRUE(f.frame.busyPointerShown() && f.readOnly());
  EXPECT_TRUE(grayed(f.frame.menuBar(), f.frame.menuId("mnulastping")));
  ::SendMessageW(f.frame.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.control("txtOutPut")),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));

  ASSERT_TRUE(f.waitForTheEnd());
  const std::string cwd = "cwd: " + pathText(f.folder.path());
  EXPECT_EQ(f.folder.read("ping.txt"), "[-n]\n[2]\n[127.0.0.1]\n" + cwd + "\n");
  const std::string shown = "[-n]\r\n[2]\r\n[127.0.0.1]\r\n" + cwd + "\r\n";  // the box's line breaks
  EXPECT_EQ(f.text("txtOutPut"), shown);
  EXPECT_EQ(f.text("cmdPing"), "Ping");
  EXPECT_EQ(f.beeps, 1);
  EXPECT_FALSE(f.frame.busyPointerShown() || f.readOnly());
  EXPECT_FALSE(grayed(f.frame.menuBar(), f.frame.menuId("mnulastping")));
  // The caret stands at the end of the output.
  EXPECT_EQ(f.selection("txtOutPut").first,
            static_cast<DWORD>(::GetWindowTextLengthW(f.control("txtOutPut"))));
  f.type("txtOutPut", "");
  f.choose("mnulastping");
  EXPECT_EQ(f.text("txtOutPut"), shown);
}

TEST(Win32IpTools, StopEndsTheToolWithItsSummaryAndClosingTheWindowEndsTheToolToo) {
  IpToolsFixture f;
  f.useTool(LUMENO_STAND_IN_SUMMARY);
  f.type("txtIP", "127.0.0.1");
  f.click("cmdPing");
  ASSERT_TRUE(f.waitForOutput("TTL=128"));
  f.now += ::GetDoubleClickTime();  // not the second half of a double-click on "Ping"
  f.click("cmdPing");
  ASSERT_TRUE(f.waitForTheEnd());
  EXPECT_NE(f.text("txtOutPut").find("Ping statistics for 127.0.0.1:"), std::string::npos);
  EXPECT_EQ(f.text("txtOutPut"), f.folder.read("ping.txt"));

  // Esc stops it as well, and this program, having lived through the first Ctrl+C, sends another.
  f.click("cmdPing");
  ASSERT_TRUE(f.waitForOutput("TTL=128"));
  command(f.frame.handle(), IDCANCEL);
  ASSERT_TRUE(f.waitForTheEnd());
  EXPECT_NE(f.text("txtOutPut").find("Control-C"), std::string::npos);

  f.useTool(LUMENO_STAND_IN_BLOCK);
  f.click("cmdPing");
  ASSERT_TRUE(f.waitForOutput("started"));
  const auto tool = static_cast<unsigned long>(f.frame.runner().processId());
  ASSERT_NE(tool, 0U);
  ::SendMessageW(f.frame.handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(f.frame.alive());
  EXPECT_TRUE(processEnded(tool));
  handlePending();
  EXPECT_EQ(f.beeps, 2);  // the ended run reported nothing more
}

TEST(Win32IpTools, TheOutputBoxKeepsOnlyTheEndOfARunawayToolWhileItsFileKeepsAll) {
  IpToolsFixture f;
  f.useTool(LUMENO_STAND_IN_FLOOD);
  f.frame.presenter().setOutputLimits({.maxLines = 100, .maxBytes = 1 << 20, .maxLineBytes = 1024});
  ::SetEnvironmentVariableW(L"LUMENO_STAND_IN_BYTES", L"200000");
  f.click("cmdPing");
  ASSERT_TRUE(f.waitForTheEnd());
  ::SetEnvironmentVariableW(L"LUMENO_STAND_IN_BYTES", nullptr);
  // The flooding stand-in's lines, numbered from 1, 100 bytes each with their CR LF.
  const auto lines = [](int from, int to) {
    std::string text;
    for (int line = from; line <= to; ++line) {
      const std::string number = std::to_string(line);
      text += "line " + std::string(10 - number.size(), '0') + number + " " + std::string(82, '0') + "\r\n";
    }
    return text;
  };
  EXPECT_EQ(f.folder.read("ping.txt"), lines(1, 2000));
  EXPECT_EQ(f.text("txtOutPut"), std::string(iptools::kEarlierOutputLeftOut) + "\r\n" + lines(1901, 2000));
}

// Which controls each mode enables is the presenter's rule; here, that the window follows it.
TEST(Win32IpTools, ModesClicksOnTheBoxesAndTheMenusReachThePresenter) {
  IpToolsFixture f;
  EXPECT_TRUE(checked(f.control("pingopt")) && f.enabled("cmdPing") && !f.enabled("tracmd"));
  f.click("ipopt");
  EXPECT_TRUE(checked(f.control("ipopt")) && !checked(f.control("pingopt")));
  EXPECT_TRUE(f.enabled("tracmd") && !f.enabled("cmdPing"));

  // A click in the host box selects its text; a click in the output box pops up "Options" too.
  f.click("pingopt");
  f.mouseClick("txtIP");
  EXPECT_EQ(f.selection("txtIP"), std::make_pair(DWORD{0}, static_cast<DWORD>(design::kDefaultHost.size())));
  f.choose("mnulasttrace");
  EXPECT_EQ(f.text("txtOutPut"), "No trace route has been done yet");
  f.mouseClick("txtOutPut");
  handlePending();
  EXPECT_EQ(f.poppedUp, std::vector<HMENU>{f.frame.menu("mnuoptions")});
  EXPECT_EQ(f.selection("txtOutPut").second, std::string("No trace route has been done yet").size());

  f.boxes.answers.push_back(BoxAnswer::Yes);
  f.type("hops", "5");
  f.choose("mnuclearall");
  EXPECT_EQ(f.text("hops"), "30");
  f.choose("mnuexit");
  EXPECT_FALSE(f.frame.alive());
}

}  // namespace
}  // namespace lumeno::test
