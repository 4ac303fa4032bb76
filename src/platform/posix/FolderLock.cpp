#include "platform/posix/FolderLock.h"

#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <sys/file.h>

namespace lumeno::platform {

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (!fd_.valid()) return;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) {
      state_ = State::Held;
      return;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return;  // no locks here: nobody to wait for either
    if (std::chrono::steady_clock::now() >= deadline) {
      state_ = State::Busy;
      return;
    }
    // Another copy is writing, which takes milliseconds: look again shortly.
    const timespec pause{0, 5'000'000};
    ::nanosleep(&pause, nullptr);
  }
}

}  // namespace lumeno::platform
