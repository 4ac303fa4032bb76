// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include <string>
#include <vector>

#include <windows.h>

namespace lumeno::platform {
namespace {

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;
  ~Win32RegistryKey() override { ::RegCloseKey(key_); }

  [[nodiscard]] std::optional<RegistryValue> queryValue(const std::string& name) const override {
    // The value's bytes as the 8-bit functions return them, so the rules above see one format.
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    std::vector<BYTE> data(size);
    if (size > 0 &&
        ::RegQueryValueExA(key_, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
      return std::nullopt;
    return RegistryValue{type, std::string(data.begin(), data.begin() + size)};
  }

 private:
  HKEY key_;
};

// The system's own handle of a root key. The enum's number is the 32-bit value the documentation
// gives; on 64-bit Windows the handle is that value sign-extended, so it is never cast across.
HKEY predefinedKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
  }
  return nullptr;  // not a root key: opening under it fails
}

class Win32Registry : public Registry {
 public:
  [[nodiscard]] std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& subKey,
                                                     std::uint32_t accessMask) const override {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(predefinedKey(root), subKey.c_str(), 0, accessMask, &key) != ERROR_SUCCESS)
      return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
  }
};

}  // namespace

const Registry& systemRegistry() {
  static const Win32Registry registry;
  return registry;
}

}  // namespace lumeno::platform
