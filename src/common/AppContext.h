// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

#include "common/FilePlaces.h"

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
  std::filesystem::path programFolder;  // holds the executable; portable, also every file below
  MessageBoxes* boxes = nullptr;
  platform::Clock* clock = nullptr;
  platform::NetworkInfo* network = nullptr;
  platform::Launcher* launcher = nullptr;
  platform::Autostart* autostart = nullptr;
  FilePlaces places;  // where the settings, log and result files live; unset: the program's folder

  // Every reader and writer of the program's files asks here.
  [[nodiscard]] std::filesystem::path file(std::string_view name) const {
    return places.folderFor(name, programFolder) / name;
  }
  // The folder the IP tools run in and write their result files to.
  [[nodiscard]] const std::filesystem::path& resultFolder() const {
    return places.folderFor("ping.txt", programFolder);
  }
};

}  // namespace lumeno
