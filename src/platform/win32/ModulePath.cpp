// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/ModulePath.h"

#include <string>

#include <windows.h>

namespace lumeno::platform {

std::filesystem::path modulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    // A cut name fills the buffer: try again with more room.
    if (length < buffer.size()) {
      buffer.resize(length);
      return {buffer};
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace lumeno::platform
