// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfoLookup.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace lumeno::about {

bool GetKeyValue(const platform::Registry& registry, platform::RegistryRoot KeyRoot,
                 const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal) {
  // Reading is all we do, so reading is all we ask for: a user who may not write the
  // machine-wide keys can still find the tool.
  const std::unique_ptr<platform::RegistryKey> key = registry.openKey(KeyRoot, KeyName, platform::kKeyRead);
  if (!key) {
    KeyVal.clear();
    return false;
  }
  const std::optional<platform::RegistryValue> value = key->queryValue(SubKeyRef);
  if (!value || value->bytes.size() > kValueBufferSize) {
    KeyVal.clear();
    return false;
  }
  if (value->bytes.empty()) throw RegistryValueError("registry value " + SubKeyRef + " has no bytes");

  std::string_view text = value->bytes;
  // A string stored with its terminating NUL reads the same as one stored without.
  if (text.back() == '\0') text.remove_suffix(1);
  switch (value->type) {
    case platform::kRegString: KeyVal.assign(text); break;
    case platform::kRegDword: {
      std::uint32_t number = 0;
      const std::size_t count = std::min<std::size_t>(4, value->bytes.size());
      for (std::size_t i = 0; i < count; ++i) {
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->bytes[i])) << (8 * i);
      }
      KeyVal = std::to_string(number);
      break;
    }
    default: break;
  }
  return true;
}

std::optional<std::string> sysInfoProgramFromRegistry(const platform::Registry& registry,
                                                      const std::function<bool(const std::string&)>& isFile) {
  std::string path;
  if (GetKeyValue(registry, platform::RegistryRoot::LocalMachine, std::string(kMsinfoKey),
                  std::string(kMsinfoPathValue), path)) {
    return path;
  }
  if (!GetKeyValue(registry, platform::RegistryRoot::LocalMachine, std::string(kToolsLocationKey),
                   std::string(kToolsLocationValue), path)) {
    return std::nullopt;
  }
  path += static_cast<char>(std::filesystem::path::preferred_separator);
  path += kMsinfoProgram;
  if (isFile(path)) return path;
  return std::nullopt;
}

std::span<const std::string_view> desktopSysInfoTools() {
  // Dedicated system-information viewers first, then the desktops' own information centres,
  // then general system monitors that also show the hardware.
  static constexpr std::array<std::string_view, 6> kTools{
      "hardinfo2", "hardinfo", "kinfocenter", "cpu-x", "gnome-system-monitor", "lshw-gtk",
  };
  return kTools;
}

}  // namespace lumeno::about
