#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/Files.h"

namespace lumeno::log {

// The activity log file as the log monitor sees it. The real one is log.txt on disk; tests give
// one in memory.
class LogSource {
 public:
  virtual ~LogSource() = default;
  // What the file is right now (never blocks, reads nothing).
  [[nodiscard]] virtual platform::FileIdentity look() const = 0;
  // Up to buffer.size() bytes at `offset` of `file` (the identity look() gave); the number read,
  // fewer at the end, or nothing when it cannot be read or is another file by now.
  virtual std::optional<std::size_t> read(const platform::FileIdentity& file, std::uint64_t offset,
                                          std::span<char> buffer) const = 0;
  // Empties the file, creating it empty when missing; false when that did not happen.
  virtual bool clear() = 0;
  // The file's name as the user knows it, for messages.
  [[nodiscard]] virtual std::string name() const = 0;
};

}  // namespace lumeno::log
