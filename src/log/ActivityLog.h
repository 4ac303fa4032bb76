// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace lumeno::log {

// Appends entries to log.txt. Each entry reaches the file in one append, so no reader ever sees
// a head without its stamp. An entry that cannot be written (read-only folder, full disk) is
// skipped and the program carries on.
class ActivityLog {
 public:
  // `loggingOn` is asked at the moment of each write (the options dialog's "Use log file" box).
  ActivityLog(std::filesystem::path file, const platform::Clock& clock, std::function<bool()> loggingOn);

  // A head without a value ("[Program Exit] ,"), written only while logging is on; a tail goes
  // after the time (" , Offline for : 00:00:05").
  void writeStamped(std::string_view head, std::string_view tail = {}) const;
  // The same, whatever the logging switch says (a failed settings read is always logged).
  void writeStampedAlways(std::string_view head) const;
  // A head with a value ("[Refreshed Local IP] : "); the value is read only when logging is on.
  void writeValued(std::string_view head, const std::function<std::string()>& value) const;

  [[nodiscard]] const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  const platform::Clock& clock_;
  std::function<bool()> loggingOn_;
};

}  // namespace lumeno::log
