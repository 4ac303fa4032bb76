// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Autostart.h"

namespace lumeno::platform {

// Remembers the registration and how often it was asked to change.
class FakeAutostart : public Autostart {
 public:
  bool enable() override { return change(true); }
  bool disable() override { return change(false); }
  [[nodiscard]] bool isEnabled() const override { return enabled; }

  bool enabled = false;
  int changes = 0;       // calls of enable and disable
  bool succeeds = true;  // false: like a registration the user has no right to write

 private:
  bool change(bool on) {
    ++changes;
    if (succeeds) enabled = on;
    return succeeds;
  }
};

}  // namespace lumeno::platform
