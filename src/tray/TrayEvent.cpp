// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/TrayEvent.h"

namespace lumeno::tray {

bool NotificationDispatcher::dispatch(TrayEvent event) {
  if (busy_) return false;
  // Cleared again however the handler leaves, so one failing handler cannot deafen the icon.
  struct BusyGuard {
    bool& flag;
    explicit BusyGuard(bool& f) : flag(f) { flag = true; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    ~BusyGuard() { flag = false; }
  } guard(busy_);
  if (handler_) handler_(event);
  return true;
}

}  // namespace lumeno::tray
