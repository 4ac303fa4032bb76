// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/MouseNotification.h"

namespace lumeno::tray {

TrayEvent decodeMouseMessage(std::uint32_t message) {
  switch (message) {
    case kLButtonDown: return TrayEvent::LButtonDown;
    case kLButtonUp: return TrayEvent::LButtonUp;
    case kLButtonDblClk: return TrayEvent::LButtonDblClk;
    case kRButtonDown: return TrayEvent::RButtonDown;
    case kRButtonUp: return TrayEvent::RButtonUp;
    case kRButtonDblClk: return TrayEvent::RButtonDblClk;
    default: return TrayEvent::None;
  }
}

bool NotificationDispatcher::dispatch(std::uint32_t message) {
  if (busy_) return false;
  // Cleared again however the handler leaves, so one failing handler cannot deafen the icon.
  struct BusyGuard {
    bool& flag;
    explicit BusyGuard(bool& f) : flag(f) { flag = true; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    ~BusyGuard() { flag = false; }
  } guard(busy_);
  const TrayEvent event = decodeMouseMessage(message);
  if (event != TrayEvent::None && handler_) handler_(event);
  return true;
}

}  // namespace lumeno::tray
