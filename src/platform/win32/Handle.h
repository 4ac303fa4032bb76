// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace lumeno::platform {

// Owns one Windows handle and closes it once.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  Handle& operator=(Handle&&) = delete;
  ~Handle() { close(); }

  // Closes the handle held and takes `handle`.
  void reset(HANDLE handle) {
    close();
    handle_ = handle;
  }

  [[nodiscard]] bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  [[nodiscard]] HANDLE get() const { return handle_; }
  // Hands the handle over to the caller, who closes it.
  [[nodiscard]] HANDLE release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  // Closes now; false when closing reported an error (a write may not have reached the disk).
  bool close() {
    if (!valid()) return true;
    const bool ok = ::CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

}  // namespace lumeno::platform
