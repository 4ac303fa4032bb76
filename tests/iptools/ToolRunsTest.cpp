// SPDX-License-Identifier: GPL-3.0-or-later
// The window with the real tool runner and stand-ins for the tools: what the tool is given,
// what the box shows while it runs, and the ways a user ends a run.
#include <QTest>

#include <filesystem>
#include <functional>
#include <set>

#include "IpToolsFixture.h"

namespace lumeno::iptools::test {
namespace {

using ToolRunsTest = IpToolsFixture;

// Stop first interrupts the tool, as Ctrl+C would (the e2e ping case sees ping's summary after it);
// a tool that ignores that is killed, and closing the window never leaves it running.
TEST_F(ToolRunsTest, ARunningToolShowsItsOutputLiveAndEndsOnStopEscOrClose) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways{
      // A queued click: the run ends only if the event loop goes on meanwhile.
      {"Stop",
       [&] {
         now += QApplication::doubleClickInterval();  // so that the click on "Stop" is one
         QMetaObject::invokeMethod(button("cmdPing"), "click", Qt::QueuedConnection);
       }},
      {"Esc", [&] { QTest::keyClick(box("txtNumber"), Qt::Key_Escape); }},
      {"close", [&] { window->close(); }},
      {"destroy", [&] { window.reset(); }}};
  for (const auto& [way, end] : ways) {
    SCOPED_TRACE(way);
    standIn = QStringLiteral(LUMENO_STAND_IN_STUBBORN);  // only a kill ends it
    open();
    window->runner().setStopGrace(std::chrono::milliseconds(0));
    window->show();
    QSignalSpy shown(window.get(), &IpToolsWindow::toolOutputShown);
    button("cmdPing")->click();
    ASSERT_TRUE(shown.wait(60000));
    EXPECT_EQ(output(), "started\n");
    const qint64 pid = window->toolProcessId();
    ASSERT_FALSE(processIsGone(pid));

    QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
    end();
    ASSERT_TRUE(!window || !window->isToolRunning() || finished.wait(60000));
    EXPECT_TRUE(processIsGone(pid));
  }
}

// Shell metacharacters, command substitutions, quotes, new lines, options and a very long text:
// each reaches the tool as exactly one argument, and nothing else runs or is written. (Which box
// becomes which argument, for every tool, is ToolCommandsTest's.)
TEST_F(ToolRunsTest, HostileTextsStayOneArgumentEach) {
  for (const std::string& typed :
       {std::string("; touch pwned $(touch pwned) `touch pwned`"), std::string("a\nb > pwned \"x\" 'y'"),
        std::string("-w 1000000"), std::string("*"), std::string(5000, 'A')}) {
    SCOPED_TRACE(typed.substr(0, 30));
    for (const char* name : {"txtIP", "txtNumber"}) type(name, typed.c_str());
    ASSERT_TRUE(run("cmdPing"));
    EXPECT_EQ(folder.read("ping.txt"), echoed({"-c", text("txtNumber"), "--", text("txtIP")}));
    EXPECT_EQ(output(), folder.read("ping.txt"));  // standard error included
  }
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    files.insert(entry.path().filename().string());
  EXPECT_EQ(files, (std::set<std::string>{"ping.txt", "traceroute.txt", "netstat.txt"}));
}

}  // namespace
}  // namespace lumeno::iptools::test
