// SPDX-License-Identifier: GPL-3.0-or-later
// A tool while it runs and how its run ends: Stop, a double-click, a tool that will not stop, a
// run that never started, result files that are not files, and runaway output.
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "IpToolsFixture.h"
#include "iptools/OutputTail.h"
#include "iptools/ResultCap.h"

namespace lumeno::iptools::test {
namespace {

class RunningToolTest : public IpToolsFixture {
 protected:
  QPlainTextEdit* outputBox() const { return find<QPlainTextEdit>("txtOutPut"); }

  // Opens a window whose tools are this stand-in, shown, so that the output box scrolls.
  void openWith(const char* standInPath) {
    standIn = QString::fromUtf8(standInPath);
    open();
    window->show();
  }

  // Starts the tool behind the button and waits until its first output is shown.
  [[nodiscard]] ::testing::AssertionResult startAndSeeOutput(const char* toolButton) const {
    QSignalSpy shown(window.get(), &IpToolsWindow::toolOutputShown);
    button(toolButton)->click();
    if (shown.wait(60000)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << toolButton << ": no output";
  }
};

// Which clicks count as Stop is the presenter's rule; here, what Stop does to a real tool.
TEST_F(RunningToolTest, StopLetsPingPrintItsSummary) {
  openWith(LUMENO_STAND_IN_SUMMARY);
  window->runner().setStopGrace(std::chrono::hours(1));  // so only the tool itself can end its run
  type("txtIP", "127.0.0.1");
  ASSERT_TRUE(startAndSeeOutput("cmdPing"));
  const qint64 pid = window->toolProcessId();
  letADoubleClickPass();
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_TRUE(processIsGone(pid));
  const std::string expected =
      "64 bytes from 127.0.0.1: icmp_seq=1\n\n--- 127.0.0.1 ping statistics ---\n1 packets transmitted, 1 "
      "received\n";
  EXPECT_EQ(output(), expected);
  EXPECT_EQ(folder.read("ping.txt"), expected);
  EXPECT_EQ(status(), " Stopped...");
  EXPECT_EQ(counter(), "1");
  EXPECT_EQ(button("cmdPing")->text().toStdString(), "Ping");
}

TEST_F(RunningToolTest, AToolThatIgnoresStopIsKilledAndClosingNeverLeavesItRunning) {
  openWith(LUMENO_STAND_IN_STUBBORN);
  window->runner().setStopGrace(std::chrono::milliseconds(0));
  button("netstatopt")->click();
  ASSERT_TRUE(startAndSeeOutput("netstatbutton"));
  const qint64 stopped = window->toolProcessId();
  letADoubleClickPass();
  ASSERT_TRUE(run("netstatbutton"));
  EXPECT_TRUE(processIsGone(stopped));
  EXPECT_EQ(status(), " Stopped...");
  EXPECT_EQ(output(), "started\n");

  window->runner().setStopGrace(std::chrono::hours(1));
  ASSERT_TRUE(startAndSeeOutput("netstatbutton"));
  const qint64 closed = window->toolProcessId();
  window->close();
  EXPECT_TRUE(processIsGone(closed));
}

TEST_F(RunningToolTest, ARunThatNeverStartedIsNotCountedAndItsNoteReadsFromItsStart) {
  const auto expectNoteFromItsStart = [&](bool wider) {
    EXPECT_EQ(counter(), "0");
    EXPECT_EQ(status(), " Error...");
    outputBox()->repaint();  // lays the note out, as the screen would
    if (wider) {
      EXPECT_GT(outputBox()->horizontalScrollBar()->maximum(), 0) << "the note fits: nothing to check";
    }
    EXPECT_EQ(outputBox()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(outputBox()->textCursor().position(), 0);
  };
  folder.write("not-a-program", "plain text");
  openWith((folder / "not-a-program").c_str());
  type("txtIP", "127.0.0.1");
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(output().rfind("ping could not be started: ", 0), 0U) << output();
  EXPECT_EQ(folder.read("ping.txt"), output());
  expectNoteFromItsStart(false);

  // The folder of the result files has gone (an unplugged disk, say).
  const std::filesystem::path moved = folder.path().string() + "-moved";
  std::filesystem::rename(folder.path(), moved);
  ASSERT_TRUE(run("cmdPing"));
  std::filesystem::rename(moved, folder.path());
  EXPECT_EQ(output(), "The result file " + (folder / "ping.txt").string() +
                          " cannot be written, so the tool was not run.");
  expectNoteFromItsStart(true);

  window->runner().setProgramFinder([](const QString&) { return QStringLiteral(LUMENO_STAND_IN_ECHO); });
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(counter(), "1");
  EXPECT_EQ(status(), " Done...");
}

TEST_F(RunningToolTest, NamedPipesOrLinksInPlaceOfTheResultFilesNeverStopTheWindowOrAreWrittenThrough) {
  for (const char* name : {"ping.txt", "traceroute.txt", "netstat.txt"}) {
    std::filesystem::remove(folder / name);
    ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0) << name;
  }
  open();  // writing the placeholders must not wait for a reader
  bool lookedUp = false;
  window->runner().setProgramFinder([&](const QString&) { return lookedUp = true, QString(); });
  const std::string note = " is not a regular file (a named pipe, a device or a folder)";
  const std::string runNote =
      " is not a regular file (a symbolic link, a named pipe, a device or a folder), so the tool was not "
      "run.";
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(output(), "The result file " + (folder / "ping.txt").string() + runNote);
  EXPECT_EQ(status(), " Error...");
  EXPECT_EQ(counter(), "0");
  button("netstatopt")->click();
  ASSERT_TRUE(run("netstatbutton"));
  EXPECT_EQ(output(), "The result file " + (folder / "netstat.txt").string() + runNote);
  EXPECT_FALSE(lookedUp);
  for (const auto& [item, file] : std::vector<std::pair<const char*, std::string>>{
           {"mnulastping", "ping.txt"}, {"mnulasttrace", "traceroute.txt"}, {"mnunetstat", "netstat.txt"}}) {
    trigger(item);
    EXPECT_EQ(output(), "No result to show: " + (folder / file).string() + note + ".") << item;
    EXPECT_TRUE(std::filesystem::is_fifo(folder / file)) << file;
  }

  // A link planted as ping.txt would have the run overwrite another file of the user.
  std::filesystem::remove(folder / "ping.txt");
  folder.write("notes.txt", "the user's notes");
  std::filesystem::create_symlink(folder / "notes.txt", folder / "ping.txt");
  open();
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(output(), "The result file " + (folder / "ping.txt").string() + runNote);
  EXPECT_EQ(folder.read("notes.txt"), "the user's notes");
}

// The stand-in floods this many bytes in numbered lines of 100 bytes.
class FloodSize {
 public:
  explicit FloodSize(int lines) { qputenv("LUMENO_STAND_IN_BYTES", QByteArray::number(lines * 100)); }
  FloodSize(const FloodSize&) = delete;
  FloodSize& operator=(const FloodSize&) = delete;
  ~FloodSize() { qunsetenv("LUMENO_STAND_IN_BYTES"); }
};

std::string numberedLines(int from, int to) {
  std::string text;
  for (int line = from; line <= to; ++line) {
    const std::string number = std::to_string(line);
    text += "line " + std::string(10 - number.size(), '0') + number + " " + std::string(83, '0') + "\n";
  }
  return text;
}

TEST_F(RunningToolTest, TheBoxKeepsOnlyTheEndOfARunawayToolAndItsFileStopsAtItsLimit) {
  const FloodSize flood(2000);
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

  window->runner().setResultFileLimit(50'000);
  ASSERT_TRUE(run("cmdPing"));
  const std::string file = folder.read("ping.txt");
  EXPECT_LE(file.size(), 50'000U);
  EXPECT_EQ(file.rfind(numberedLines(1, 100), 0), 0U);
  const std::string cut(kOutputCutNote);
  ASSERT_GT(file.size(), cut.size());
  EXPECT_EQ(file.substr(file.size() - cut.size()), cut);
  EXPECT_EQ(output().substr(output().size() - cut.size()), cut);  // the box ends as the file does
  EXPECT_EQ(status(), " Stopped...");
  EXPECT_EQ(counter(), "2");
}

// Every file this process writes ends at `bytes`, as on a disk that is full by then.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    const rlimit limit{bytes, old_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_ = SIG_DFL;
};

TEST_F(RunningToolTest, AFullDiskKeepsTheOutputShownAndTheStatusSaysItWasNotStored) {
  const FloodSize flood(2000);
  openWith(LUMENO_STAND_IN_FLOOD);
  {
    const FileSizeLimit full(50'000);
    ASSERT_TRUE(run("cmdPing"));
  }
  EXPECT_EQ(output(), numberedLines(1, 2000) + "Not stored in ping.txt (disk full?)\n");
  EXPECT_EQ(status(), " Not stored...");
  EXPECT_EQ(counter(), "1");
}

TEST_F(RunningToolTest, AnEndlessToolKeepsTheBoxWithinItsLimits) {
  openWith(LUMENO_STAND_IN_ENDLESS);
  window->presenter().setOutputLimits({.maxLines = 50, .maxBytes = 1 << 20, .maxLineBytes = 1024});
  button("ipopt")->click();
  typeOctets({"127", "0", "0", "1"});
  QSignalSpy shown(window.get(), &IpToolsWindow::toolOutputShown);
  button("tracmd")->click();
  int mostBlocks = 0;
  while (shown.count() < 200) {
    ASSERT_TRUE(shown.wait(60000));
    mostBlocks = std::max(mostBlocks, outputBox()->document()->blockCount());
  }
  EXPECT_LE(mostBlocks, 52);
  EXPECT_EQ(output().rfind(std::string(kEarlierOutputLeftOut) + "\n", 0), 0U);
  letADoubleClickPass();
  ASSERT_TRUE(run("tracmd"));
  EXPECT_EQ(status(), " Stopped...");
  EXPECT_LE(outputBox()->document()->blockCount(), 52);
}

}  // namespace
}  // namespace lumeno::iptools::test
