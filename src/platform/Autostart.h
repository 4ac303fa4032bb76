// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>

namespace lumeno::platform {

// Starting this program when the current user logs in. Where the registration lives is the
// platform's business. Each call opens, uses and closes what it needs. The callers do not report
// failures; the result is there for tests and for callers that want it.
class Autostart {
 public:
  virtual ~Autostart() = default;
  // Registers the program to start at log-in, replacing an older registration.
  virtual bool enable() = 0;
  // Removes the registration. Removing one that does not exist changes nothing and succeeds.
  virtual bool disable() = 0;
  [[nodiscard]] virtual bool isEnabled() const = 0;
};

// The registration for the program at `executable` (the running one), for the current user, as
// the environment describes it.
std::unique_ptr<Autostart> makeAutostart(const std::filesystem::path& executable);

}  // namespace lumeno::platform
