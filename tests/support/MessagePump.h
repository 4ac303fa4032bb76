// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include <windows.h>

namespace lumeno::test {

// Handles what is waiting in the queue (posted work of the windows), without waiting for more.
inline void handlePending() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// Handles the thread's messages as they come until `done` holds. The deadline only catches a
// run that never gets there (false then); it never decides what a test sees.
inline bool pumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    handlePending();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
  }
}

// The build names its files by their Linux paths; Wine shows the Linux root as drive Z:.
inline std::filesystem::path built(const wchar_t* linuxPath) {
  return std::filesystem::path(L"Z:" + std::wstring(linuxPath));
}

// Whether the process of that id has ended (or is gone altogether).
inline bool processEnded(unsigned long id) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) return true;
  const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  ::CloseHandle(process);
  return ended;
}

}  // namespace lumeno::test
