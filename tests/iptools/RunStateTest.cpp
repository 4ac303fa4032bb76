// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a tool run, the same for every face, over a fake process, loop and result file.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "iptools/RunState.h"

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
    EXPECT_EQ(run.file->path, std::filesystem::path("results") / "netstat.txt");
    EXPECT_EQ(run.file->content, c.note != nullptr ? c.note : "");
    EXPECT_FALSE(run.file->isOpen());
    EXPECT_TRUE(run.ends.empty());  // never inside start()
    EXPECT_TRUE(run.state.running());
    run.loop();
    EXPECT_EQ(run.ends, std::vector<RunEnd>{c.end});
    EXPECT_FALSE(run.state.running());
    EXPECT_TRUE(run.shown.empty());
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
    EXPECT_EQ(run.file->content, c.file);
    EXPECT_EQ(run.shown, c.shown);
    EXPECT_EQ(run.file->writes, c.writes);
    EXPECT_FALSE(run.file->isOpen());
    EXPECT_EQ(run.ends, std::vector<RunEnd>{c.end});
    EXPECT_EQ(run.host.asked, c.asked);
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
    EXPECT_EQ(run.host.asked, c.asked);
    EXPECT_EQ(run.ends, std::vector<RunEnd>{RunEnd::Stopped});
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
  EXPECT_FALSE(run.file->isOpen());
  EXPECT_FALSE(run.state.running());
  EXPECT_EQ(run.host.asked, (std::vector<std::string>{"interrupt", "arm 1000", "cancel"}));

  // An end waiting for the loop is dropped too, even once the next run has begun.
  run.file->access = FileAccess::NotRegular;
  EXPECT_FALSE(run.begin());
  run.state.abandon();
  run.file->access = FileAccess::Ok;
  ASSERT_TRUE(run.begin());
  run.loop();
  EXPECT_TRUE(run.ends.empty());
  EXPECT_EQ(run.shown, "ab\n");
}

TEST(RunState, AProcessThatFailsToStartShowsWhyAndEndsAtOnce) {
  TestRun run;
  ASSERT_TRUE(run.begin());
  run.state.failedToStart("netstat could not be started: no such file\n");
  EXPECT_EQ(run.shown, "netstat could not be started: no such file\n");
  EXPECT_EQ(run.file->content, run.shown);
  EXPECT_FALSE(run.file->isOpen());
  EXPECT_EQ(run.ends, std::vector<RunEnd>{RunEnd::NotStarted});
}

}  // namespace
}  // namespace lumeno::iptools
