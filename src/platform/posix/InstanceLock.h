// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "platform/SingleInstance.h"
#include "platform/posix/Descriptor.h"

namespace lumeno::platform {

// The per-user lock that lets one copy of the program run at a time.
//
// The lock is the kernel's flock() on the lock file, held for the life of the process. The kernel
// drops it when the owner ends in any way, a SIGKILL included, so what the file holds never
// matters: an empty, garbled or old file, or one naming a process that is gone, is simply locked
// again. The file is never removed, so every copy locks the same file and two copies starting at
// once cannot both win. A file that another user owns is never taken for a lock: where another
// user can make files, such a file could otherwise stop every start.
class InstanceLock : public SingleInstance {
 public:
  enum class Outcome {
    Acquired,       // this copy is the one that runs
    HeldByAnother,  // a live copy holds the lock
    Unavailable,    // no lock could be made here at all (e.g. a folder that cannot be written)
  };

  // An empty path makes no lock (Unavailable).
  explicit InstanceLock(const std::filesystem::path& file);

  // The lock file in this user's own folder "lumeno-<uid>" in `parent` (a shared folder such as
  // the temporary one), made with mode 0700 when missing. Empty when the folder is no folder, or
  // not this user's alone: then no lock is better than one another user may hold.
  static std::filesystem::path fileInPrivateFolder(const std::filesystem::path& parent);
  // Where this user's lock lives: the session's runtime folder, or this user's own folder in the
  // temporary folder; empty (no lock) when neither can be had safely.
  static std::filesystem::path defaultFile();

  [[nodiscard]] Outcome outcome() const { return outcome_; }
  [[nodiscard]] bool acquired() const override { return outcome_ != Outcome::HeldByAnother; }

 private:
  Descriptor fd_{-1};
  Outcome outcome_ = Outcome::Unavailable;
};

}  // namespace lumeno::platform
