// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace lumeno::tray {

// What the user did on the tray icon. Each face turns what its notification area reports into
// these; clicks with other buttons mean nothing to the program. LeftDoubleClick is also the
// double-click handling (restore the owner).
enum class TrayEvent { LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp, RightDoubleClick };

// Hands tray events to the component, one at a time. While one is being handled (a pop-up menu
// or a message box runs its own loop inside the handler) further events are dropped, not queued:
// the user's click on the menu must not also reach the icon.
class NotificationDispatcher {
 public:
  using Handler = std::function<void(TrayEvent)>;

  explicit NotificationDispatcher(Handler handler) : handler_(std::move(handler)) {}

  // Runs the handler for the event; false when it was dropped because another one is still
  // being handled.
  bool dispatch(TrayEvent event);

  [[nodiscard]] bool busy() const { return busy_; }

 private:
  Handler handler_;
  bool busy_ = false;
};

}  // namespace lumeno::tray
