// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/SystemInfoTool.h"

namespace lumeno::platform {

// Finds what a test says, or fails as an unreadable entry would.
class FakeSystemInfoTool : public SystemInfoTool {
 public:
  [[nodiscard]] std::optional<std::string> find() const override {
    ++lookups;
    if (fails) throw std::runtime_error("unreadable entry");
    return program;
  }

  std::optional<std::string> program;
  bool fails = false;
  mutable int lookups = 0;
};

}  // namespace lumeno::platform
