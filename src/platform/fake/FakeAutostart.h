// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Autostart.h"

namespace lumeno::platform {

// Remembers every call and keeps the values like a registry key would.
class FakeAutostart : public Autostart {
 public:
  struct Call {
    enum class Kind { Write, Delete } kind;
    Hive hive;
    std::string keyPath;
    std::string valueName;
    std::string data;  // empty for a delete
  };

  bool writeValue(Hive hive, const std::string& keyPath, const std::string& valueName,
                  const std::string& data) override {
    calls.push_back({Call::Kind::Write, hive, keyPath, valueName, data});
    if (!succeeds) return false;
    values[valueName] = data;
    return true;
  }
  bool deleteValue(Hive hive, const std::string& keyPath, const std::string& valueName) override {
    calls.push_back({Call::Kind::Delete, hive, keyPath, valueName, {}});
    if (!succeeds) return false;
    values.erase(valueName);
    return true;
  }

  std::map<std::string, std::string> values;  // value name -> data
  std::vector<Call> calls;
  bool succeeds = true;  // false: like a key the user has no right to write
};

}  // namespace lumeno::platform
