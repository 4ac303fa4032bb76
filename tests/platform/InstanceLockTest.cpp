// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance lock on real files: whatever a killed copy leaves behind never stops a start,
// a live holder always does, and of many copies started at once exactly one runs.

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/posix/InstanceLock.h"

namespace lumeno::platform {
namespace {

using Outcome = InstanceLock::Outcome;

// A process of its own that takes the lock, says what it got on a pipe, and holds the lock until
// told to end (its end of the other pipe closed).
class OtherCopy {
 public:
  explicit OtherCopy(const std::filesystem::path& file) {
    int said[2];
    int told[2];
    if (::pipe(said) != 0 || ::pipe(told) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      // Only its own two pipe ends: an inherited end of another copy's pipe would keep that copy
      // from ever seeing its release.
      for (int fd = 3; fd < 1024; ++fd) {
        if (fd != said[1] && fd != told[0]) ::close(fd);
      }
      const InstanceLock lock(file);
      const char got = static_cast<char>('0' + static_cast<int>(lock.outcome()));
      [[maybe_unused]] auto w = ::write(said[1], &got, 1);
      char ignored = 0;
      [[maybe_unused]] auto r = ::read(told[0], &ignored, 1);  // returns when the parent lets go
      ::_exit(0);
    }
    ::close(said[1]);
    ::close(told[0]);
    said_ = said[0];
    release_ = told[1];
  }
  OtherCopy(const OtherCopy&) = delete;
  OtherCopy& operator=(const OtherCopy&) = delete;
  ~OtherCopy() { end(); }

  // What the copy got; waits for it to have tried.
  Outcome outcome() {
    char got = 0;
    if (said_ < 0 || ::read(said_, &got, 1) != 1) return Outcome::Unavailable;
    return static_cast<Outcome>(got - '0');
  }
  void end() {
    if (release_ >= 0) ::close(release_);
    if (said_ >= 0) ::close(said_);
    release_ = said_ = -1;
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int said_ = -1;
  int release_ = -1;
};

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

TEST(InstanceLock, ALiveHolderStopsEveryOtherCopyUntilItEnds) {
  const test::TempFolder folder;
  const auto file = folder / "lumeno.lock";
  {
    OtherCopy running(file);
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
  std::vector<std::unique_ptr<OtherCopy>> copies;
  for (int i = 0; i < 20; ++i) copies.push_back(std::make_unique<OtherCopy>(folder / "lumeno.lock"));
  std::vector<Outcome> outcomes;
  outcomes.reserve(copies.size());
  for (auto& copy : copies) outcomes.push_back(copy->outcome());
  EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), Outcome::Acquired), 1);
  EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), Outcome::HeldByAnother), 19);
}

// Gives an environment variable a value (none for nullptr) for as long as it lives.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(InstanceLock, NoOtherUserCanHoldThisUsersLock) {
  const test::TempFolder shared;
  const auto own = shared / ("lumeno-" + std::to_string(::geteuid()));
  {
    // Without a session runtime folder: a folder of this user's own in the shared temporary one.
    const ScopedVariable noRuntime("XDG_RUNTIME_DIR", nullptr);
    const ScopedVariable temporary("TMPDIR", shared.path().c_str());
    EXPECT_EQ(InstanceLock::defaultFile(), own / "lumeno.lock");
  }
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
