// SPDX-License-Identifier: GPL-3.0-or-later
// How the real runner ends a run the presenter cannot foresee: a run that never started, result
// files that are not files, runaway output. Stop and close are in ToolRunsTest; the rules of a
// run (its result file's limit, a full disk) in RunStateTest.
#include <QScrollBar>
#include <QTextDocument>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "IpToolsFixture.h"
#include "iptools/OutputTail.h"

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
};

TEST_F(RunningToolTest, ARunThatNeverStartedIsAnErrorWhoseNoteReadsFromItsStart) {
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

TEST_F(RunningToolTest, NamedPipesOrLinksInPlaceOfTheResultFilesNeverStopTheWindowOrAreWrittenThrough) {
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

TEST_F(RunningToolTest, TheBoxKeepsOnlyTheEndOfARunawayToolWhileItsFileKeepsAll) {
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
}

}  // namespace
}  // namespace lumeno::iptools::test
