// SPDX-License-Identifier: GPL-3.0-or-later
// The window with the real tool runner and stand-ins for the tools: what the tool is given, what
// the box shows while it runs, how a user ends a run, and the runs the presenter cannot foresee.
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "IpToolsFixture.h"
#include "iptools/OutputTail.h"
#include "ui/qt/QtToolRunner.h"

namespace lumeno::iptools::test {
namespace {

class ToolRunsTest : public IpToolsFixture {
 protected:
  QPlainTextEdit* outputBox() const { return find<QPlainTextEdit>("txtOutPut"); }

  // Opens a window whose tools are this stand-in, shown, so that the output box scrolls.
  void openWith(const char* standInPath) {
    standIn = QString::fromUtf8(standInPath);
    open();
    window->show();
  }
};

// A tool that ignores the interrupt is killed after the grace, and closing the window never leaves
// it running. (Stop on the real ping, its summary kept, is the e2e ping case's.)
TEST_F(ToolRunsTest, ARunningToolShowsItsOutputLiveAndEndsOnEscOrClose) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways{
      {"Esc", [&] { QTest::keyClick(box("txtNumber"), Qt::Key_Escape); }},
      {"close", [&] { window->close(); }},
      {"destroy", [&] { window.reset(); }}};
  for (const auto& [way, end] : ways) {
    SCOPED_TRACE(way);
    openWith(LUMENO_STAND_IN_STUBBORN);  // only a kill ends it
    window->runner().setStopGrace(std::chrono::milliseconds(0));
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

TEST_F(ToolRunsTest, ARunThatNeverStartedIsAnErrorWhoseNoteReadsFromItsStart) {
  const auto expectNoteFromItsStart = [&] {
    EXPECT_EQ(status(), " Error...");
    outputBox()->repaint();  // lays the note out, as the screen would
    EXPECT_EQ(outputBox()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(outputBox()->textCursor().position(), 0);
  };
  folder.write("not-a-program", "plain text");
  openWith((folder / "not-a-program").c_str());
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(output().rfind("ping could not be started: ", 0), 0U) << output();
  EXPECT_EQ(folder.read("ping.txt"), output());
  expectNoteFromItsStart();

  // The folder of the result files has gone (an unplugged disk, say).
  const std::filesystem::path moved = folder.path().string() + "-moved";
  std::filesystem::rename(folder.path(), moved);
  ASSERT_TRUE(run("cmdPing"));
  std::filesystem::rename(moved, folder.path());
  EXPECT_EQ(output(), "The result file " + (folder / "ping.txt").string() +
                          " cannot be written, so the tool was not run.");
  EXPECT_GT(outputBox()->horizontalScrollBar()->maximum(), 0) << "the note fits: nothing to check";
  expectNoteFromItsStart();
}

TEST_F(ToolRunsTest, NamedPipesOrLinksInPlaceOfTheResultFilesNeverStopTheWindowOrAreWrittenThrough) {
  for (const char* name : {"ping.txt", "traceroute.txt", "netstat.txt"}) {
    std::filesystem::remove(folder / name);
    ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0) << name;
  }
  open();  // writing the placeholders must not wait for a reader
  bool lookedUp = false;
  window->runner().setProgramFinder([&](const QString&) { return lookedUp = true, QString(); });
  const std::string runNote =
      " is not a regular file (a symbolic link, a named pipe, a device or a folder), so the tool was not "
      "run.";
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(output(), "The result file " + (folder / "ping.txt").string() + runNote);
  EXPECT_FALSE(lookedUp);
  trigger("mnulastping");  // reading must not wait for a writer either
  EXPECT_EQ(output(), "No result to show: " + (folder / "ping.txt").string() +
                          " is not a regular file (a named pipe, a device or a folder).");
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "ping.txt"));

  // A link planted as ping.txt would have the run overwrite another file of the user.
  std::filesystem::remove(folder / "ping.txt");
  folder.write("notes.txt", "the user's notes");
  std::filesystem::create_symlink(folder / "notes.txt", folder / "ping.txt");
  open();
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(output(), "The result file " + (folder / "ping.txt").string() + runNote);
  EXPECT_EQ(folder.read("notes.txt"), "the user's notes");
}

std::string numberedLines(int from, int to) {
  std::string text;
  for (int line = from; line <= to; ++line) {
    const std::string number = std::to_string(line);
    text += "line " + std::string(10 - number.size(), '0') + number + " " + std::string(83, '0') + "\n";
  }
  return text;
}

TEST_F(ToolRunsTest, TheBoxKeepsOnlyTheEndOfARunawayToolWhileItsFileKeepsAll) {
  qputenv("LUMENO_STAND_IN_BYTES", "200000");  // the flooding stand-in prints 2000 lines of 100 bytes
  openWith(LUMENO_STAND_IN_FLOOD);
  window->presenter().setOutputLimits({.maxLines = 100, .maxBytes = 1 << 20, .maxLineBytes = 1024});
  int mostBlocks = 0;
  QObject::connect(window.get(), &IpToolsWindow::toolOutputShown, window.get(),
                   [&] { mostBlocks = std::max(mostBlocks, outputBox()->document()->blockCount()); });
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_GT(mostBlocks, 0);
  EXPECT_LE(mostBlocks, 102);  // the note, 100 lines, the empty line after the last break
  const std::string tail = std::string(kEarlierOutputLeftOut) + "\n" + numberedLines(1901, 2000);
  EXPECT_EQ(output(), tail);
  EXPECT_EQ(folder.read("ping.txt"), numberedLines(1, 2000));  // the file has all of it
  EXPECT_EQ(status(), " Done...");
}

// The real traceroute and netstat (the real ping is the e2e suite's), to 127.0.0.1 only.
TEST_F(ToolRunsTest, TheRealTraceRouteAndNetstatOnLoopback) {
  standIn.clear();
  open();
  button("ipopt")->click();
  typeOctets({"127", "0", "0", "1"});
  type("hops", "2");
  type("timeout", "1000");
  ASSERT_TRUE(run("tracmd"));
  EXPECT_NE(output().find("traceroute to 127.0.0.1"), std::string::npos) << output();
  EXPECT_EQ(status(), "Loopback Address");

  button("netstatopt")->click();
  button("chknetstatall")->setChecked(true);
  ASSERT_TRUE(run("netstatbutton"));
  EXPECT_FALSE(output().empty());
  EXPECT_EQ(output().find("is not installed"), std::string::npos) << output();
  EXPECT_EQ(status(), "Done...");
}

// On Debian traceroute lives in /usr/sbin, which an ordinary user's search path may lack.
TEST(ToolLookup, FindsTracerouteOutsideTheSearchPath) {
  const QByteArray saved = qgetenv("PATH");
  qputenv("PATH", "/nonexistent");
  const QString found = QtToolRunner::findInstalledProgram(QStringLiteral("traceroute"));
  qputenv("PATH", saved);
  EXPECT_TRUE(found.endsWith(QStringLiteral("sbin/traceroute"))) << found.toStdString();
}

}  // namespace
}  // namespace lumeno::iptools::test
