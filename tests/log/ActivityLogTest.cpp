// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/ActivityLog.h"
#include "log/LogEntry.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>
#include <string>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FakeClock.h"
#include "TempFolder.h"

namespace lumeno::log {
namespace {

// What a child on a nearly full disk wrote, and which kind of full disk it had.
struct FullDiskRun {
  std::string written;
  bool onTmpfs = false;
};

// Runs `work` in a child process on a nearly full disk and returns what the child wrote to the
// descriptor it is given. As root the folder becomes a file system of two pages of its own
// (mounted in the child's own mount namespace, so it goes with the child), one page taken by a
// filler; otherwise a file size limit of one page has the same effect on every write. `makeRoom`
// (called in the child) removes the filler or lifts the limit. `onTmpfs` says which it was.
FullDiskRun onANearlyFullDisk(
    const std::filesystem::path& folder,
    const std::function<void(int out, const std::function<void()>& makeRoom)>& work) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {"<no pipe>"};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails rather than ending the process
    const bool small = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                       ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=8k") == 0;
    const std::filesystem::path filler = folder / "filler";
    const std::string page(4096, 'x');
    if (small) {
      FILE* file = std::fopen(filler.c_str(), "wb");
      if (file == nullptr || std::fwrite(page.data(), 1, page.size(), file) != page.size()) ::_exit(3);
      std::fclose(file);
    }
    // The size this process may give a file; none: as large as it is allowed to.
    const auto limitFileSize = [](std::optional<rlim_t> size) {
      rlimit limit{};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = size.value_or(limit.rlim_max);
      ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    if (!small) limitFileSize(page.size());
    work(pipeEnds[1], [&] { small ? void(std::filesystem::remove(filler)) : limitFileSize(std::nullopt); });
    ::_exit(small ? 0 : 1);
  }
  ::close(pipeEnds[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t n = 0; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) return {"<the child failed>"};
  return {out, WEXITSTATUS(status) == 0};
}

class ActivityLogTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  platform::FakeClock clock;
  bool loggingOn = true;
  ActivityLog log{folder / "log.txt", clock, [this] { return loggingOn; }};
};

TEST_F(ActivityLogTest, EntriesAppendAsCrLfLinesInOrderAndClearEmptiesOrCreatesTheFile) {
  EXPECT_TRUE(log.clear());
  EXPECT_EQ(folder.read("log.txt"), "");
  log.writeStamped(kLumenoLoaded);
  clock.value = {"05/12/2026", "11:27:00"};
  log.writeValued(kRefreshedLocalIp, [] { return std::string("10.1.2.3"); });
  log.writeStamped(kProgramExit);
  EXPECT_EQ(folder.read("log.txt"),
            "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n"
            "[Refreshed Local IP] : 10.1.2.3 , Date : 05/12/2026 , Time : 11:27:00\r\n"
            "[Program Exit] , Date : 05/12/2026 , Time : 11:27:00\r\n");
  EXPECT_TRUE(log.clear());
  EXPECT_EQ(folder.read("log.txt"), "");
  log.writeStamped(kProgramExit);
  EXPECT_EQ(folder.read("log.txt"), "[Program Exit] , Date : 05/12/2026 , Time : 11:27:00\r\n");
}

TEST_F(ActivityLogTest, AnUnwritableOrLinkedLogIsSkippedAndAFailedClearIsReported) {
  // A folder where the log should be: no write can succeed, whoever runs the test.
  std::filesystem::create_directory(folder / "log.txt");
  log.writeStamped(kLumenoLoaded);  // must neither throw nor crash
  log.writeStampedAlways(kErrorApiIni);
  EXPECT_FALSE(log.clear());
  EXPECT_TRUE(std::filesystem::is_empty(folder / "log.txt"));

  // A link planted in the log's place: neither an entry nor a clear goes through it.
  std::filesystem::remove(folder / "log.txt");
  folder.write("other.txt", "another file of the user\n");
  std::filesystem::create_symlink(folder / "other.txt", folder / "log.txt");
  log.writeStamped(kLumenoLoaded);
  EXPECT_FALSE(log.clear());
  EXPECT_EQ(folder.read("other.txt"), "another file of the user\n");
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "log.txt"));
}

TEST_F(ActivityLogTest, OnAFullDiskAnEntryGoesInWholeOrNotAtAllAndTheNextOneStartsALine) {
  const auto [written, onTmpfs] =
      onANearlyFullDisk(folder.path(), [this](int out, const std::function<void()>& makeRoom) {
        // Values of many lengths, so that the disk fills in the middle of an entry.
        for (int i = 0; i < 200; ++i) {
          log.writeValued(kRefreshedLocalIp,
                          [i] { return std::string(static_cast<std::size_t>(i % 37), '9'); });
        }
        makeRoom();
        log.writeStamped(kProgramExit);
        const std::string bytes = folder.read("log.txt");
        [[maybe_unused]] const auto n = ::write(out, bytes.data(), bytes.size());
      });
  RecordProperty("disk", onTmpfs ? "an 8 KiB tmpfs" : "a file size limit");
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

TEST_F(ActivityLogTest, TheSwitchIsAskedAtEachWriteAndOffWritesNothingButTheSettingsErrorEntry) {
  log.writeStamped(kLumenoLoaded);
  loggingOn = false;
  bool valueRead = false;
  log.writeStamped(kConnectionLost);
  log.writeValued(kRequestedHostname, [&] {
    valueRead = true;
    return std::string("box");
  });
  EXPECT_FALSE(valueRead);
  log.writeStampedAlways(kErrorApiIni);
  loggingOn = true;
  log.writeStamped(kProgramExit);
  EXPECT_EQ(folder.read("log.txt"),
            "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n"
            "[Error API ini] , Date : 05/12/2026 , Time : 11:26:06\r\n"
            "[Program Exit] , Date : 05/12/2026 , Time : 11:26:06\r\n");
}

}  // namespace
}  // namespace lumeno::log
