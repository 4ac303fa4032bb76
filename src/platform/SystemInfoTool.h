// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace lumeno::platform {

// Where this system keeps its system-information tool.
class SystemInfoTool {
 public:
  virtual ~SystemInfoTool() = default;
  // The tool's full path, looked up afresh; nothing when the system names none or its entry
  // cannot be read. Starting it may still fail.
  [[nodiscard]] virtual std::optional<std::string> find() const = 0;
};

// This system's.
const SystemInfoTool& systemInfoTool();

}  // namespace lumeno::platform
