// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance lock on real files.

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/posix/InstanceLock.h"

namespace lumeno::platform {
namespace {

using Outcome = InstanceLock::Outcome;

// A process id that surely belonged to a process that has ended.
pid_t pidOfEndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(InstanceLock, WhateverAKilledCopyLeftIsTakenOver) {
  const test::TempFolder folder;
  const auto file = folder / "lumeno.lock";
  const std::vector<std::pair<std::string, std::string>> leftovers = {
      {"empty", ""},
      {"garbage", std::string("\x01\xff\0zz\n\n", 7)},
      {"owner gone", std::to_string(pidOfEndedProcess()) + "\nlumeno\nhost\n"},
      {"an old copy's own lock", std::to_string(::getppid()) + "\nlumeno\n"},  // a live pid, no lock held
  };
  std::array<char, 256> host{};
  ASSERT_EQ(::gethostname(host.data(), host.size() - 1), 0);
  for (const auto& [what, bytes] : leftovers) {
    folder.write("lumeno.lock", bytes);
    const InstanceLock lock(file);
    EXPECT_EQ(lock.outcome(), Outcome::Acquired) << what;
    EXPECT_EQ(folder.read("lumeno.lock"), std::to_string(::getpid()) + "\nlumeno\n" + host.data() + "\n")
        << what << ": the file names its new owner";
  }

  // Unreadable: no permissions left, or something that is not a file at all. None may block.
  const std::pair<const char*, std::function<int()>> unreadable[] = {
      {"no permissions",
       [&] {
         folder.write("lumeno.lock", "");
         return ::chmod(file.c_str(), 0);
       }},
      {"a named pipe", [&] { return ::mkfifo(file.c_str(), 0600); }},
      {"a folder", [&] { return ::mkdir(file.c_str(), 0700); }},
      {"a dangling link", [&] { return ::symlink("/nonexistent/lumeno.lock", file.c_str()); }}};
  for (const auto& [what, make] : unreadable) {
    ASSERT_EQ(make(), 0) << what;
    EXPECT_EQ(InstanceLock(file).outcome(), Outcome::Acquired) << what;
    std::filesystem::remove(file);
  }
}

// Each lock opens the file afresh, and flock() holds between open files whether they are one
// process's or many: the copies here are locks of this process, a second real copy the e2e's.
TEST(InstanceLock, ALiveHolderStopsEveryOtherCopyUntilItEnds) {
  const test::TempFolder folder;
  const auto file = folder / "lumeno.lock";
  {
    const InstanceLock running(file);
    ASSERT_EQ(running.outcome(), Outcome::Acquired);
    EXPECT_EQ(InstanceLock(file).outcome(), Outcome::HeldByAnother);
    folder.write("lumeno.lock", "");  // the content is no part of the lock
    EXPECT_EQ(InstanceLock(file).outcome(), Outcome::HeldByAnother);
  }
  EXPECT_EQ(InstanceLock(file).outcome(), Outcome::Acquired) << "the holder has ended";

  // A copy that cannot make a lock at all reports it rather than posing as a held lock.
  EXPECT_EQ(InstanceLock(folder / "missing-folder" / "lumeno.lock").outcome(), Outcome::Unavailable);
}

TEST(InstanceLock, OfTwentyCopiesStartedAtOnceOverAStaleLockExactlyOneRuns) {
  const test::TempFolder folder;
  folder.write("lumeno.lock", "");
  std::vector<std::optional<InstanceLock>> copies(20);
  std::vector<std::thread> starts;
  starts.reserve(copies.size());
  for (auto& copy : copies) starts.emplace_back([&copy, &folder] { copy.emplace(folder / "lumeno.lock"); });
  for (auto& start : starts) start.join();
  std::map<Outcome, int> outcomes;
  for (const auto& copy : copies) ++outcomes[copy->outcome()];
  EXPECT_EQ(outcomes, (std::map<Outcome, int>{{Outcome::Acquired, 1}, {Outcome::HeldByAnother, 19}}));
}

TEST(InstanceLock, NoOtherUserCanHoldThisUsersLock) {
  const test::TempFolder shared;
  const auto own = shared / ("lumeno-" + std::to_string(::geteuid()));
  // Without a session runtime folder: a folder of this user's own in the shared temporary one.
  const pid_t child = ::fork();
  if (child == 0) {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", shared.path().c_str(), 1);
    ::_exit(InstanceLock::defaultFile() == own / "lumeno.lock" ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0) << "the lock is not in " << own;
  struct stat info {};
  ASSERT_EQ(::lstat(own.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700U);
  EXPECT_EQ(InstanceLock::fileInPrivateFolder(shared.path()), own / "lumeno.lock") << "found again";
  // One that others may enter, or a link, gives no place for a lock rather than one they could hold.
  ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
  EXPECT_EQ(InstanceLock::fileInPrivateFolder(shared.path()), std::filesystem::path());
  std::filesystem::remove(own);
  std::filesystem::create_directory(shared / "elsewhere");
  std::filesystem::create_symlink(shared / "elsewhere", own);
  EXPECT_EQ(InstanceLock::fileInPrivateFolder(shared.path()), std::filesystem::path());
  EXPECT_EQ(InstanceLock(std::filesystem::path()).outcome(), Outcome::Unavailable);

  const passwd* other = ::getpwnam("nobody");
  if (::geteuid() != 0 || other == nullptr) return;  // the rest needs a file of another user
  std::filesystem::remove(own);
  std::filesystem::create_directory(own);
  ASSERT_EQ(::chown(own.c_str(), other->pw_uid, other->pw_gid), 0);
  EXPECT_EQ(InstanceLock::fileInPrivateFolder(shared.path()), std::filesystem::path()) << "another's folder";
  // Another user's lock file, open to all and locked by its owner, stops no start.
  const auto squatted = shared / "lumeno.lock";
  shared.write("lumeno.lock", "");
  ASSERT_EQ(::chown(squatted.c_str(), other->pw_uid, other->pw_gid), 0);
  ASSERT_EQ(::chmod(squatted.c_str(), 0666), 0);
  const Descriptor held(::open(squatted.c_str(), O_RDONLY));
  ASSERT_EQ(::flock(held.get(), LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(InstanceLock(squatted).outcome(), Outcome::Acquired);
}

}  // namespace
}  // namespace lumeno::platform
