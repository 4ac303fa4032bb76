#include "app/ConnectionWatch.h"

#include <cstdio>

namespace lumeno::app {

std::optional<ConnectionChange> ConnectionWatch::observe(bool online, std::chrono::milliseconds at) {
  const std::optional<bool> before = online_;
  online_ = online;
  if (!online && before != false) offlineSince_ = at;  // also when the first check sees offline
  if (!before || *before == online) return std::nullopt;
  ConnectionChange change{online};
  if (online) change.offlineFor = at - offlineSince_;
  return change;
}

std::string durationText(std::chrono::milliseconds duration) {
  // A steady clock never goes back, but a reading from before a suspend may be odd: never negative.
  const long long seconds = duration.count() < 0 ? 0 : duration.count() / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace lumeno::app
