// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Read access to the system registry, for the few values the program looks up there (where the
// system-information tool lives). Platforms without a registry have an empty one.
namespace lumeno::platform {

// The predefined root keys the program reads under.
enum class RegistryRoot : std::uint32_t {
  LocalMachine = 0x80000002U,  // HKEY_LOCAL_MACHINE
};

// Access masks for opening a key.
inline constexpr std::uint32_t kKeyRead = 0x20019U;  // KEY_READ: query, enumerate, notify, read control

// Value types the program understands.
inline constexpr std::uint32_t kRegString = 1U;  // REG_SZ, a zero-terminated string
inline constexpr std::uint32_t kRegDword = 4U;   // REG_DWORD, a little-endian 32-bit number

// A value as stored: its type and its bytes (a string keeps its terminating NUL when it was
// stored with one).
struct RegistryValue {
  std::uint32_t type = 0;
  std::string bytes;
};

// An open key. Destroying it closes it.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // The named value, or nothing when the key has no such value or it cannot be read.
  [[nodiscard]] virtual std::optional<RegistryValue> queryValue(const std::string& name) const = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `subKey` under `root` with the access rights in `accessMask`; nothing when the key is
  // missing or the rights are refused.
  [[nodiscard]] virtual std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::string& subKey,
                                                             std::uint32_t accessMask) const = 0;
};

// This system's registry.
const Registry& systemRegistry();

}  // namespace lumeno::platform
