// SPDX-License-Identifier: GPL-3.0-or-later
// The activity log on a real disk: full, unwritable, a link or a named pipe in its place.
#include "log/ActivityLog.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>

#include "FakeClock.h"
#include "FakeLogSource.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "log/FileLogSource.h"
#include "log/LogEntry.h"
#include "log/LogMonitorPresenter.h"

namespace lumeno::log {
namespace {

// Runs `body` in a child process, so that code which blocks for good fails the test instead of
// hanging it: true when the body ended by the deadline and returned true.
bool passesInChild(const std::function<bool()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) ::_exit(body() ? 0 : 1);
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  bool ended = true;
  if (pidfd >= 0) {
    pollfd child{pidfd, POLLIN, 0};
    ended = ::poll(&child, 1, 10000) == 1;  // ten seconds
    ::close(pidfd);
  }
  if (!ended) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class ActivityLogTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  platform::FakeClock clock;
  bool loggingOn = true;
  ActivityLog log{folder / "log.txt", clock, [this] { return loggingOn; }};
};

// The logging switch is asked at each write; off, only the settings error entry is written.
TEST_F(ActivityLogTest, EntriesAppendAsCrLfLinesWhileTheSwitchIsOn) {
  log.writeStamped(kLumenoLoaded);
  clock.value = {"05/12/2026", "11:27:00"};
  log.writeValued(kRefreshedLocalIp, [] { return std::string("10.1.2.3"); });
  loggingOn = false;
  bool valueRead = false;
  log.writeStamped(kConnectionLost);
  log.writeValued(kRequestedHostname, [&] { return valueRead = true, std::string("box"); });
  EXPECT_FALSE(valueRead);
  log.writeStampedAlways(kErrorApiIni);
  loggingOn = true;
  log.writeStamped(kProgramExit);
  EXPECT_EQ(folder.read("log.txt"),
            "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n"
            "[Refreshed Local IP] : 10.1.2.3 , Date : 05/12/2026 , Time : 11:27:00\r\n"
            "[Error API ini] , Date : 05/12/2026 , Time : 11:27:00\r\n"
            "[Program Exit] , Date : 05/12/2026 , Time : 11:27:00\r\n");
}

TEST_F(ActivityLogTest, AnUnwritableOrLinkedLogIsSkippedAndNoClearGoesThroughALink) {
  // A folder where the log should be: no write can succeed, whoever runs the test.
  std::filesystem::create_directory(folder / "log.txt");
  log.writeStamped(kLumenoLoaded);  // must neither throw nor crash
  log.writeStampedAlways(kErrorApiIni);
  EXPECT_TRUE(std::filesystem::is_empty(folder / "log.txt"));

  // A link planted in the log's place: neither an entry nor a clear goes through it.
  std::filesystem::remove(folder / "log.txt");
  folder.write("other.txt", "another file of the user\n");
  std::filesystem::create_symlink(folder / "other.txt", folder / "log.txt");
  log.writeStamped(kLumenoLoaded);
  EXPECT_FALSE(FileLogSource(folder / "log.txt").clear());  // the log monitor's "Clear log"
  EXPECT_EQ(folder.read("other.txt"), "another file of the user\n");
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "log.txt"));
}

TEST_F(ActivityLogTest, OnAFullDiskAnEntryGoesInWholeOrNotAtAllAndTheNextOneStartsALine) {
  const test::TempFolder elsewhere;  // where the child leaves a copy of what it wrote
  ASSERT_TRUE(passesInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails rather than ending the process
    // As root the folder becomes a file system of two pages (in the child's own mount namespace,
    // so it goes with the child), one page taken by a filler; otherwise a file size limit of one
    // page has the same effect on every write.
    const bool small = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                       ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       ::mount("tmpfs", folder.path().c_str(), "tmpfs", 0, "size=8k") == 0;
    const std::string page(4096, 'x');
    if (small) folder.write("filler", page);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t unlimited = limit.rlim_cur;
    limit.rlim_cur = small ? unlimited : page.size();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    // Values of many lengths, so that the disk fills in the middle of an entry.
    for (int i = 0; i < 200; ++i)
      log.writeValued(kRefreshedLocalIp, [i] { return std::string(static_cast<std::size_t>(i % 37), '9'); });
    std::filesystem::remove(folder / "filler");
    limit.rlim_cur = unlimited;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    log.writeStamped(kProgramExit);
    elsewhere.write("log.txt", folder.read("log.txt"));
    return true;
  }));
  const std::string written = elsewhere.read("log.txt");
  ASSERT_GT(written.size(), 2000U) << written;
  ASSERT_LT(written.size(), 4096U + 100U) << "the disk was never full";
  const std::string exit = "[Program Exit] , Date : 05/12/2026 , Time : 11:26:06\r\n";
  ASSERT_EQ(written.substr(written.size() - exit.size()), exit);
  for (std::size_t at = 0; at < written.size();) {
    const std::size_t end = written.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    const std::string line = written.substr(at, end - at);
    EXPECT_EQ(line.rfind('[', 0), 0U) << line;
    EXPECT_EQ(line.find('[', 1), std::string::npos) << "two entries glued into one line: " << line;
    EXPECT_TRUE(line.ends_with(" , Time : 11:26:06")) << line;
    at = end + 2;
  }
}

// A log.txt that is a named pipe never blocks the program, whether anyone holds the other end or
// not; nothing is written into it and the monitor says why it shows nothing.
TEST_F(ActivityLogTest, ANamedPipeInTheLogsPlaceBlocksNothingAndGetsNothingWhoeverReadsIt) {
  const std::filesystem::path pipe = folder / "log.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto everyUseGivesUp = [&] {  // each expected to give up at once
    log.writeStamped(kLumenoLoaded);
    log.writeValued(kRefreshedLocalIp, [] { return std::string("10.0.0.1"); });
    log.writeStampedAlways(kErrorApiIni);
    if (platform::readFile(pipe)) return false;
    FileLogSource source(pipe);
    RecordingView view;
    test::ScriptedMessageBoxes boxes;
    boxes.answers = {BoxAnswer::Yes};
    LogMonitorPresenter monitor(source, view, boxes);
    monitor.load();
    monitor.tick();
    monitor.clearLog();
    return view.count == 0 && view.note == LogMonitorPresenter::kNotRegularNote && boxes.shown.size() == 2;
  };
  EXPECT_TRUE(passesInChild(everyUseGivesUp));
  // A reader (and a writer) at the other end: opens succeed, so only the file-type check keeps
  // entries out of the pipe and reads from hanging on it.
  const int end = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(end, 0);
  EXPECT_TRUE(passesInChild(everyUseGivesUp));
  char byte = 0;
  EXPECT_EQ(::read(end, &byte, 1), -1);  // empty: nothing was written
  ::close(end);
}

}  // namespace
}  // namespace lumeno::log
