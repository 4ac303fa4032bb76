// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

namespace lumeno::platform {
namespace {

// A POSIX system keeps no registry: every key is missing. Callers fall back to what the
// desktop offers (for the system-information tool, a program found on the search path).
class PosixRegistry : public Registry {
 public:
  [[nodiscard]] std::unique_ptr<RegistryKey> openKey(RegistryRoot /*root*/, const std::string& /*subKey*/,
                                                     std::uint32_t /*accessMask*/) const override {
    return nullptr;
  }
};

}  // namespace

const Registry& systemRegistry() {
  static const PosixRegistry registry;
  return registry;
}

}  // namespace lumeno::platform
