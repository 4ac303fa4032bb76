// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace lumeno::tray {

// Mouse message numbers the notification area reports for the tray icon.
inline constexpr std::uint32_t kMouseMove = 512;  // also the icon's callback message
inline constexpr std::uint32_t kLButtonDown = 513;
inline constexpr std::uint32_t kLButtonUp = 514;
inline constexpr std::uint32_t kLButtonDblClk = 515;
inline constexpr std::uint32_t kRButtonDown = 516;
inline constexpr std::uint32_t kRButtonUp = 517;
inline constexpr std::uint32_t kRButtonDblClk = 518;

// What a mouse message on the icon means to the owner. LButtonDblClk is the double-click
// handling (restore the owner), which then raises the event of the same name.
enum class TrayEvent { None, LButtonDown, LButtonUp, LButtonDblClk, RButtonDown, RButtonUp, RButtonDblClk };

// 513..518 map to their event; every other number (mouse move, middle button, ...) to None.
[[nodiscard]] TrayEvent decodeMouseMessage(std::uint32_t message);

// Hands decoded mouse messages to the component, one at a time. While a message is being
// handled (a pop-up menu or a message box runs its own loop inside the handler) further
// messages are dropped, not queued: the user's click on the menu must not also reach the icon.
class NotificationDispatcher {
 public:
  using Handler = std::function<void(TrayEvent)>;

  explicit NotificationDispatcher(Handler handler) : handler_(std::move(handler)) {}

  // Runs the handler for the message; false when the message was dropped because another one
  // is still being handled.
  bool dispatch(std::uint32_t message);

  [[nodiscard]] bool busy() const { return busy_; }

 private:
  Handler handler_;
  bool busy_ = false;
};

}  // namespace lumeno::tray
