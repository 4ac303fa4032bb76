#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace lumeno::platform {

// Turns SIGTERM, SIGHUP and SIGINT into a call of `onSignal` from the event loop, so that a
// log-out, a `kill` or Ctrl+C in the terminal end the program as a normal quit does: windows
// and their tools are closed, and nothing is left running. A SIGHUP or SIGINT that the program
// was started ignoring (nohup, a background job) stays ignored. One instance at a time.
class QuitSignals {
 public:
  explicit QuitSignals(std::function<void()> onSignal);
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;
  ~QuitSignals();

 private:
  void drain();

  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace lumeno::platform
