// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/SingleInstance.h"
#include "platform/win32/Handle.h"

namespace lumeno::platform {

// Keeps a second copy from running: a named mutex in this user's log-on session. The system
// drops it with the last handle, so a copy that crashed never blocks the next start, and a
// running copy is never displaced.
class NamedMutexInstance : public SingleInstance {
 public:
  explicit NamedMutexInstance(const std::wstring& name = L"Local\\Lumeno.SingleInstance");
  [[nodiscard]] bool acquired() const override { return acquired_; }

 private:
  Handle mutex_;
  bool acquired_ = false;
};

}  // namespace lumeno::platform
