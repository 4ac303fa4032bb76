#pragma once

#include <filesystem>

namespace lumeno {

class MessageBoxes;
namespace platform {
class Clock;
class NetworkInfo;
class Launcher;
class Autostart;
}  // namespace platform

// What every window needs from outside itself. main() fills it with the real services; tests
// fill it with fakes and a temporary program folder.
struct AppContext {
  std::filesystem::path programFolder;  // holds the executable, Lumeno.ini, log.txt, result files
  std::filesystem::path executable;     // the running program, for start-at-log-in
  MessageBoxes* boxes = nullptr;
  platform::Clock* clock = nullptr;
  platform::NetworkInfo* network = nullptr;
  platform::Launcher* launcher = nullptr;
  platform::Autostart* autostart = nullptr;

  [[nodiscard]] std::filesystem::path file(const char* name) const { return programFolder / name; }
};

}  // namespace lumeno
