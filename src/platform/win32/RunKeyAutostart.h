// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/Autostart.h"

namespace lumeno::platform {

// Start at log-in through the registry's "Run" key. A program run by an ordinary user cannot
// write under HKEY_LOCAL_MACHINE, so the machine-wide key is asked for but the current user's
// own "Run" key is written: the user's tick then works, and starts the program for that user.
class RunKeyAutostart : public Autostart {
 public:
  bool writeValue(Hive hive, const std::string& keyPath, const std::string& valueName,
                  const std::string& data) override;
  bool deleteValue(Hive hive, const std::string& keyPath, const std::string& valueName) override;
};

}  // namespace lumeno::platform
