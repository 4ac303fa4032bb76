// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a tool run, the same for every face, over a fake process, loop and result file;
// what the output box keeps of a runaway tool; where a result file is cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "iptools/OutputTail.h"
#include "iptools/ResultCap.h"
#include "iptools/RunState.h"
#include "iptools/WindowRules.h"

namespace lumeno::iptools {
namespace {

using platform::FileAccess;

struct FakeResultFile : ResultFile {
  FileAccess open(const std::filesystem::path& file) override {
    ++opens;
    path = file;
    isOpen_ = access == FileAccess::Ok;
    return access;
  }
  bool write(std::string_view bytes) override {
    ++writes;
    if (!isOpen_ || bytes.size() > room) return false;
    room -= bytes.size();
    content += bytes;
    return true;
  }
  bool close() override { return !(std::exchange(isOpen_, false) && closeFails); }
  [[nodiscard]] bool isOpen() const override { return isOpen_; }

  FileAccess access = FileAccess::Ok;
  std::size_t room = std::numeric_limits<std::size_t>::max();  // what the disk still takes
  bool closeFails = false;                                     // a delayed write fails on close
  bool isOpen_ = false;
  int opens = 0;
  int writes = 0;
  std::filesystem::path path;
  std::string content;
};

// The process and the loop: what the run asked of them, in order.
struct FakeHost : RunHost {
  [[nodiscard]] bool toolRunning() const override { return toolUp; }
  bool interruptTool() override { return asked.emplace_back("interrupt"), interruptReaches; }
  void endToolNow() override { asked.emplace_back("end now"); }
  void postFinish() override { posted = true; }
  void armKillTimer(std::chrono::milliseconds grace) override {
    asked.push_back("arm " + std::to_string(grace.count()));
  }
  void cancelKillTimer() override { asked.emplace_back("cancel"); }

  bool toolUp = false;
  bool interruptReaches = true;
  bool posted = false;
  std::vector<std::string> asked;
};

struct TestRun {
  TestRun() : file(new FakeResultFile), state(host, std::unique_ptr<ResultFile>(file)) {
    state.setHandlers(
        {[this](std::string_view bytes) { shown += bytes; }, [this](RunEnd end) { ends.push_back(end); }});
  }
  bool begin() { return host.toolUp = state.begin(Tool::Netstat, "results"); }
  void loop() {
    if (std::exchange(host.posted, false)) state.onFinishPosted();
  }
  void toolEnds() {
    host.toolUp = false;
    state.onToolEnded();
  }

  FakeHost host;
  FakeResultFile* file;
  RunState state;
  std::string shown;
  std::vector<RunEnd> ends;
};

TEST(RunState, ARunThatNeverReachesItsToolEndsFromTheLoopSayingWhy) {
  // NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding): rows read in the order written
  const struct {
    FileAccess access;
    const char* note;  // why the tool could not be started, when the file could be written
    RunEnd end;
  } cases[]{{FileAccess::NotRegular, nullptr, RunEnd::ResultNotRegular},
            {FileAccess::Failed, nullptr, RunEnd::ResultUnwritable},
            {FileAccess::Missing, nullptr, RunEnd::ResultUnwritable},
            {FileAccess::Ok, "netstat is not installed.\n", RunEnd::NotStarted}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.end));
    TestRun run;
    run.file->access = c.access;
    EXPECT_EQ(run.begin(), c.note != nullptr);
    if (c.note != nullptr) run.state.notStarted(c.note);
    EXPECT_EQ(
        std::tuple(run.file->path, run.file->content, run.file->isOpen()),
        std::tuple(std::filesystem::path("results") / "netstat.txt", c.note != nullptr ? c.note : "", false));
    EXPECT_EQ(std::tuple(run.ends.size(), run.state.running()), std::tuple(0U, true));  // not yet
    run.loop();
    EXPECT_EQ(std::tuple(run.ends, run.state.running(), run.shown),
              std::tuple(std::vector<RunEnd>{c.end}, false, ""));
  }
}

TEST(RunState, OutputGoesToTheFileAndTheWindowAndTheEndSaysWhetherTheFileHasItAll) {
  const std::string cut(kOutputCutNote);
  const struct {
    const char* name;
    std::uint64_t limit;
    std::size_t room;
    bool closeFails;
    std::string file;
    std::string shown;
    int writes;  // no write follows a failed one: the file would have a hole
    RunEnd end;
    std::vector<std::string> asked;
  } cases[]{
      {"all", kResultFileLimit, 100, false, "ab\ncd\nef\n", "ab\ncd\nef\n", 3, RunEnd::Ran, {}},
      {"disk full", kResultFileLimit, 4, false, "ab\n", "ab\ncd\nef\n", 2, RunEnd::NotStored, {}},
      {"failed close", kResultFileLimit, 100, true, "ab\ncd\nef\n", "ab\ncd\nef\n", 3, RunEnd::NotStored, {}},
      // Room for one line: the note closes the file, then the tool is asked to end.
      {"cut",
       cut.size() + 4,
       100,
       false,
       "ab\n" + cut,
       "ab\n" + cut,
       2,
       RunEnd::Cut,
       {"interrupt", "arm 1000", "cancel"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestRun run;
    run.file->room = c.room;
    run.file->closeFails = c.closeFails;
    run.state.setResultFileLimit(c.limit);
    ASSERT_TRUE(run.begin());
    for (const char* bytes : {"ab\n", "", "cd\n", "ef\n"}) run.state.onOutput(bytes);
    EXPECT_EQ(run.file->isOpen(), c.end != RunEnd::Cut);
    run.toolEnds();
    EXPECT_EQ(std::tuple(run.file->content, run.shown, run.file->writes, run.file->isOpen()),
              std::tuple(c.file, c.shown, c.writes, false));
    EXPECT_EQ(std::tuple(run.ends, run.host.asked), std::tuple(std::vector<RunEnd>{c.end}, c.asked));
  }
}

TEST(RunState, StopAsksTheToolFirstAndEndsItOnlyAfterTheGrace) {
  const struct {
    bool interruptReaches;
    bool endsInTheGrace;
    std::vector<std::string> asked;
  } cases[]{{true, true, {"interrupt", "arm 250", "cancel"}},
            {true, false, {"interrupt", "arm 250", "end now"}},
            {false, false, {"interrupt", "end now"}}};
  for (const auto& c : cases) {
    TestRun run;
    run.host.interruptReaches = c.interruptReaches;
    run.state.setStopGrace(std::chrono::milliseconds(250));
    run.state.stop();  // nothing runs yet
    EXPECT_TRUE(run.host.asked.empty());
    ASSERT_TRUE(run.begin());
    run.state.stop();
    if (c.interruptReaches) run.state.stop();  // asked once is enough while the grace runs
    if (!c.endsInTheGrace && c.interruptReaches) run.state.onKillTimer();
    run.toolEnds();
    EXPECT_EQ(std::tuple(run.host.asked, run.ends),
              std::tuple(c.asked, std::vector<RunEnd>{RunEnd::Stopped}));
    run.host.asked.clear();
    ASSERT_TRUE(run.begin());
    run.state.stop();  // the next run's Stop asks its own tool again
    EXPECT_EQ(run.host.asked, std::vector<std::string>(c.asked.begin(), c.asked.begin() + 2));
  }
}

TEST(RunState, ASecondStartWaitsAndAKilledRunReportsNothing) {
  TestRun run;
  ASSERT_TRUE(run.begin());
  EXPECT_FALSE(run.state.begin(Tool::Ping, "elsewhere"));
  EXPECT_EQ(run.file->opens, 1);
  run.state.onOutput("ab\n");
  run.state.stop();
  run.host.toolUp = false;
  run.state.abandon();
  EXPECT_EQ(std::tuple(run.file->isOpen(), run.state.running(), run.host.asked),
            std::tuple(false, false, std::vector<std::string>{"interrupt", "arm 1000", "cancel"}));

  // An end waiting for the loop is dropped too, even once the next run has begun.
  run.file->access = FileAccess::NotRegular;
  EXPECT_FALSE(run.begin());
  run.state.abandon();
  run.file->access = FileAccess::Ok;
  ASSERT_TRUE(run.begin());
  run.loop();
  EXPECT_EQ(std::tuple(run.ends.size(), run.shown), std::tuple(0U, "ab\n"));
}

// The counter is read back from its caption; a number too long to add 1 to safely starts again.
TEST(PingCounter, AddsOneToTheCaptionReadAsAWholeNumber) {
  const std::string nines(17, '9');
  const std::vector<std::pair<std::string, std::string>> rows{
      {"0", "1"},        {"40", "41"}, {"", "1"},
      {"x", "1"},        {"-3", "1"},  {nines, "1" + std::string(17, '0')},
      {nines + "9", "1"}};
  for (const auto& [caption, next] : rows) EXPECT_EQ(nextPingCount(caption), next) << caption;
}

std::string numberedLines(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

std::string withNote(const std::string& kept) {
  return std::string(kEarlierOutputLeftOut) + "\n" + kept;
}

TEST(OutputTail, KeepsEverythingWithinTheLimitsAndOnlyTheEndBeyondThem) {
  OutputTail ordinary;  // the designed limits: a long ping is kept whole
  const std::string ping = numberedLines(1, 5000) + "--- statistics ---";
  ordinary.append(ping);
  EXPECT_EQ(std::tuple(ordinary.text(), ordinary.leftOutEarlierOutput()), std::tuple(ping, false));

  OutputTail byLines({.maxLines = 3, .maxBytes = 1000, .maxLineBytes = 100});
  byLines.append(numberedLines(1, 3));
  EXPECT_EQ(byLines.text(), numberedLines(1, 3));  // exactly at the limit
  byLines.append("line 4\nline 5\nline");
  byLines.append(" 6 unfinished");
  EXPECT_EQ(std::tuple(byLines.text(), byLines.leftOutEarlierOutput()),
            std::tuple(withNote("line 4\nline 5\nline 6 unfinished"), true));

  OutputTail byBytes({.maxLines = 1000, .maxBytes = 21, .maxLineBytes = 10});
  byBytes.append(numberedLines(1, 9));  // 7 bytes a line: the last three fill the box exactly
  EXPECT_EQ(byBytes.text(), withNote(numberedLines(7, 9)));
}

TEST(OutputTail, BreaksAnOverlongLineWithoutSplittingACharacter) {
  OutputTail tail({.maxLines = 100, .maxBytes = 1000, .maxLineBytes = 8});
  tail.append("abcdefgh\n");          // exactly as long as a line may be: not broken
  tail.append("1234567\xC3\xA9xyz");  // the two bytes of "é" would straddle the break
  EXPECT_EQ(tail.text(), "abcdefgh\n1234567\n\xC3\xA9xyz");
  tail.append("\n");
  tail.append(std::string(20, 'w') + "\n");  // its own line break does not keep it whole
  EXPECT_EQ(tail.text(), "abcdefgh\n1234567\n\xC3\xA9xyz\nwwwwwwww\nwwwwwwww\nwwww\n");
  // A line that grows piece by piece is broken at the same length.
  for (const char* piece : {"zzzzzz", "zzzz", "zzzzzz", "y"}) tail.append(piece);
  EXPECT_TRUE(tail.text().ends_with("\nwwww\nzzzzzzzz\nzzzzzzzz\ny"));

  // A character without room goes to the next line whole; bytes that are no text (X) are cut
  // at the length, and a lead byte before them starts the next line.
  OutputTail odd({.maxLines = 100, .maxBytes = 1000, .maxLineBytes = 4});
  for (const char* piece : {"abc", "\xC3\xA9", "\nXXXXXX", "x", "XXXXX", "XXXX", "\nabXXXX"}) {
    std::string bytes = piece;
    std::replace(bytes.begin(), bytes.end(), 'X', '\x80');
    odd.append(bytes);
  }
  std::string shown = odd.text();
  std::replace(shown.begin(), shown.end(), '\x80', 'X');
  EXPECT_EQ(shown, "abc\n\xC3\xA9\nXXXX\nXXx\nXXXX\nX\nXXXX\na\nbXXX\nX");
}

TEST(OutputTail, OutputBetweenTwoLooksIsToldAsLinesToDropAndAddNotAsANewText) {
  OutputTail tail({.maxLines = 2, .maxBytes = 30, .maxLineBytes = 10});
  tail.append("aaaa");
  tail.takeChange();  // the view holds the start of a line
  tail.append("bb\nc\n");
  for (int i = 0; i < 20; ++i) tail.append("d\n");  // more than the box keeps, all told
  const OutputTail::Change change = tail.takeChange();
  EXPECT_EQ(std::tuple(change.rebuild, change.addNote, change.dropLines, change.appended),
            std::tuple(false, true, 1U, std::string("d\nd\n")));
}

std::string written(ResultCap& cap, const std::vector<std::string>& pieces) {
  std::string file;
  for (const std::string& piece : pieces) {
    const ResultCap::Piece taken = cap.take(piece);
    file.append(taken.keep);
    file += taken.note;
  }
  return file;
}

TEST(ResultCap, StopsTheFileAtItsLimitWithALastLineThatSaysSo) {
  const std::string note(kOutputCutNote);
  ResultCap roomy(1000);
  EXPECT_EQ(written(roomy, {"one\n", "two\n"}), "one\ntwo\n");
  EXPECT_FALSE(roomy.full());

  const std::uint64_t limit = 200;
  const std::size_t room = limit - note.size() - 1;
  ResultCap atLineEnd(limit);
  const std::string lines = std::string(room - 1, 'a') + "\n";  // the output fills the room exactly
  EXPECT_EQ(written(atLineEnd, {lines, "more\n", "and more\n"}), lines + note);
  EXPECT_TRUE(atLineEnd.full());
  ResultCap exactly(limit);
  EXPECT_EQ(written(exactly, {lines}), lines);  // nothing was cut: no note

  ResultCap midLine(limit);
  const std::string file = written(midLine, {"c" + std::string(499, 'b'), "later\n"});
  EXPECT_EQ(file, "c" + std::string(room - 1, 'b') + "\n" + note);  // the note is a line of its own
  EXPECT_LE(file.size(), limit);
}

}  // namespace
}  // namespace lumeno::iptools
