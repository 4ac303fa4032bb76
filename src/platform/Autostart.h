// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

namespace lumeno::platform {

// Where a start-at-log-in value lives; on Windows the registry hive of the "Run" key.
enum class Hive { LocalMachine, CurrentUser };

// Start-at-log-in registration, shaped like the registry's "Run" key: named values under a key,
// each holding the program to start. Each call opens, uses and closes what it needs. The callers
// do not report failures; the result is there for tests and for callers that want it.
class Autostart {
 public:
  virtual ~Autostart() = default;
  // Makes `valueName` start `data` (the program's full path) at log-in, replacing what was there.
  virtual bool writeValue(Hive hive, const std::string& keyPath, const std::string& valueName,
                          const std::string& data) = 0;
  // Removes `valueName`. Removing a value that does not exist changes nothing and succeeds.
  virtual bool deleteValue(Hive hive, const std::string& keyPath, const std::string& valueName) = 0;
};

// The registration of this platform for the current user, as the environment describes it.
std::unique_ptr<Autostart> makeAutostart();

}  // namespace lumeno::platform
