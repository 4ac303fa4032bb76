#pragma once

#include <chrono>
#include <filesystem>

#include "platform/posix/Descriptor.h"

namespace lumeno::platform {

// An advisory lock (flock) on a folder, held while the object lives. Every copy of the program
// takes it around each change it makes to a file in that folder, so that two copies never
// interleave their reads and writes of one file.
class FolderLock {
 public:
  enum class State {
    Held,         // ours until the object goes
    Busy,         // another holder kept it for the whole wait
    Unsupported,  // the folder cannot be locked here (unreadable, or a file system without locks)
  };

  FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait);

  [[nodiscard]] State state() const { return state_; }

 private:
  Descriptor fd_;
  State state_ = State::Unsupported;
};

}  // namespace lumeno::platform
