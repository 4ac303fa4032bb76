// SPDX-License-Identifier: GPL-3.0-or-later
// A log.txt that is a named pipe must never block the program, whether anyone holds the other
// end or not; nothing is written into it and the monitor says why it shows nothing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "FakeClock.h"
#include "FakeLogSource.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "log/ActivityLog.h"
#include "log/FileLogSource.h"
#include "log/LogEntry.h"
#include "log/LogMonitorPresenter.h"

namespace lumeno::log {
namespace {

using test::ChildEnd;
using test::runInChild;

struct NamedPipeLogTest : ::testing::Test {
  void SetUp() override { ASSERT_EQ(::mkfifo(pipe().c_str(), 0600), 0); }
  [[nodiscard]] std::filesystem::path pipe() const { return folder / "log.txt"; }

  // Every way the program touches log.txt, each expected to give up at once.
  [[nodiscard]] bool everyUseGivesUp() const {
    platform::FakeClock clock;
    const ActivityLog writer(pipe(), clock, [] { return true; });
    writer.writeStamped(kLumenoLoaded);
    writer.writeValued(kRefreshedLocalIp, [] { return std::string("10.0.0.1"); });
    writer.writeStampedAlways(kErrorApiIni);
    if (writer.clear()) return false;
    if (platform::readFile(pipe())) return false;

    FileLogSource source(pipe());
    RecordingView view;
    test::ScriptedMessageBoxes boxes;
    boxes.answers = {BoxAnswer::Yes};
    LogMonitorPresenter monitor(source, view, boxes);
    monitor.load();
    monitor.tick();
    monitor.clearLog();
    return view.count == 0 && view.note == LogMonitorPresenter::kNotRegularNote && boxes.shown.size() == 2;
  }

  test::TempFolder folder;
};

TEST_F(NamedPipeLogTest, NothingBlocksWithNoOneAtTheOtherEndAndNothingIsWrittenIntoAPipeSomeoneReads) {
  EXPECT_EQ(runInChild([this] { return everyUseGivesUp(); }), ChildEnd::Passed);
  // A reader (and a writer) at the other end: opens succeed, so only the file-type check keeps
  // entries out of the pipe and reads from hanging on it.
  const int end = ::open(pipe().c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(end, 0);
  EXPECT_EQ(runInChild([this] { return everyUseGivesUp(); }), ChildEnd::Passed);
  char byte = 0;
  EXPECT_EQ(::read(end, &byte, 1), -1);  // empty: nothing was written
  ::close(end);
}

}  // namespace
}  // namespace lumeno::log
