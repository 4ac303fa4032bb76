#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace lumeno::app {

// A change of the connection state between two status checks.
struct ConnectionChange {
  bool online = false;                      // the new state
  std::chrono::milliseconds offlineFor{0};  // on the way back: since offline was first seen
};

// Remembers the state the status checks saw and tells when it changes. The first check after
// start only learns the state: it is no change.
class ConnectionWatch {
 public:
  // `at` is a steady clock reading; only differences between readings count.
  std::optional<ConnectionChange> observe(bool online, std::chrono::milliseconds at);

 private:
  std::optional<bool> online_;
  std::chrono::milliseconds offlineSince_{0};
};

// "HH:MM:SS", whole seconds rounded down; hours keep counting past a day ("25:00:01").
std::string durationText(std::chrono::milliseconds duration);

}  // namespace lumeno::app
