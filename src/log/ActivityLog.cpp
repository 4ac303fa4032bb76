// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/ActivityLog.h"

#include <utility>

#include "log/LogEntry.h"
#include "platform/Files.h"

namespace lumeno::log {

ActivityLog::ActivityLog(std::filesystem::path file, const platform::Clock& clock,
                         std::function<bool()> loggingOn)
    : file_(std::move(file)), clock_(clock), loggingOn_(std::move(loggingOn)) {}

void ActivityLog::writeStamped(std::string_view head, std::string_view tail) const {
  if (loggingOn_()) platform::appendToFile(file_, stampedEntry(head, clock_.now(), tail));
}

void ActivityLog::writeStampedAlways(std::string_view head) const {
  platform::appendToFile(file_, stampedEntry(head, clock_.now()));
}

void ActivityLog::writeValued(std::string_view head, const std::function<std::string()>& value) const {
  if (!loggingOn_()) return;
  const std::string text = value();
  platform::appendToFile(file_, valuedEntry(head, text, clock_.now()));
}

}  // namespace lumeno::log
