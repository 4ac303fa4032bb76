// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/InstanceLock.h"

#include <array>
#include <cerrno>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeno::platform {
namespace {

// Opens the lock file without ever blocking (a named pipe in its place would otherwise wait for a
// writer) and without following a link. A folder in its place is opened for reading: it can be
// locked just as well.
int openLockable(const std::filesystem::path& file) {
  constexpr int kCommon = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | kCommon, 0600);
  if (fd < 0 && errno == EISDIR) fd = ::open(file.c_str(), O_RDONLY | kCommon);
  if (fd < 0 && errno == EACCES) {
    // Our own file with its permissions taken away: give them back. The file stays the same
    // one, so copies starting meanwhile still meet on it.
    struct stat info {};
    if (::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        ::chmod(file.c_str(), 0600) == 0) {
      fd = ::open(file.c_str(), O_RDWR | kCommon);
    }
  }
  return fd;
}

// For people and tools that look: the owner's process id, program and host, one per line.
void writeOwner(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return;
  std::array<char, 256> host{};
  if (::gethostname(host.data(), host.size() - 1) != 0) host[0] = '\0';
  const std::string owner = std::to_string(::getpid()) + "\nlumeno\n" + host.data() + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const auto written = ::pwrite(fd, owner.data(), owner.size(), 0);
  }
}

// Another user's file is no lock of ours: it must not stop this user's program.
bool ownedByMe(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid();
}

}  // namespace

std::filesystem::path InstanceLock::fileInPrivateFolder(const std::filesystem::path& parent) {
  const std::filesystem::path folder = parent / ("lumeno-" + std::to_string(::geteuid()));
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  // Made now or found: either way it must be a folder (not a link to one) that is this user's and
  // that nobody else may enter or change.
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
      (info.st_mode & 077) != 0) {
    return {};
  }
  return folder / "lumeno.lock";
}

InstanceLock::InstanceLock(const std::filesystem::path& file) {
  if (file.empty()) return;  // no place for a lock: none is made
  // Something in the file's place that cannot be opened at all (a socket, a link) or that another
  // user owns is left alone; every copy then meets on the same second file beside it instead.
  for (const auto& candidate : {file, std::filesystem::path(file.string() + ".2")}) {
    Descriptor fd(openLockable(candidate));
    if (!fd.valid() || !ownedByMe(fd.get())) continue;
    int locked = -1;
    do {
      locked = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
      writeOwner(fd.get());
      fd_ = std::move(fd);
      outcome_ = Outcome::Acquired;
      return;
    }
    if (errno == EWOULDBLOCK) {
      outcome_ = Outcome::HeldByAnother;
      return;
    }
  }
  outcome_ = Outcome::Unavailable;
}

}  // namespace lumeno::platform
