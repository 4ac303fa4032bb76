// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace lumeno::platform {

// A registry a test fills with keys and values. It remembers every open (with the rights asked
// for) and how many keys are still open, and can refuse rights beyond reading, as Windows does
// for a user who may only read the machine-wide keys.
class FakeRegistry : public Registry {
 public:
  struct Open {
    RegistryRoot root;
    std::string subKey;
    std::uint32_t accessMask;
  };

  void set(const std::string& subKey, const std::string& name, RegistryValue value) {
    keys_[subKey][name] = std::move(value);
  }
  void setString(const std::string& subKey, const std::string& name, const std::string& text) {
    set(subKey, name, {kRegString, text + '\0'});
  }

  [[nodiscard]] std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& subKey,
                                                     std::uint32_t accessMask) const override {
    opens.push_back({root, subKey, accessMask});
    if (readOnlyUser && (accessMask & ~kKeyRead) != 0) return nullptr;
    if (root != RegistryRoot::LocalMachine) return nullptr;
    const auto it = keys_.find(subKey);
    if (it == keys_.end()) return nullptr;
    return std::make_unique<Key>(it->second, openKeys);
  }

  mutable std::vector<Open> opens;
  mutable int openKeys = 0;  // opened and not yet closed
  bool readOnlyUser = false;

 private:
  using Values = std::map<std::string, RegistryValue>;

  class Key : public RegistryKey {
   public:
    Key(const Values& values, int& openKeys) : values_(values), openKeys_(openKeys) { ++openKeys_; }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() override { --openKeys_; }
    [[nodiscard]] std::optional<RegistryValue> queryValue(const std::string& name) const override {
      const auto it = values_.find(name);
      if (it == values_.end()) return std::nullopt;
      return it->second;
    }

   private:
    const Values& values_;
    int& openKeys_;
  };

  std::map<std::string, Values> keys_;
};

}  // namespace lumeno::platform
