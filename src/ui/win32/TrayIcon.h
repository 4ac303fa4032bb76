// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include <windows.h>

#include <shellapi.h>

#include "tray/TrayEvent.h"

namespace lumeno::win32ui {

// The tray icon component of a window: one icon with its tip in the notification area through
// Shell_NotifyIconW. The notifications arrive at a hidden child window, "pichook", as the
// WM_MOUSEMOVE message with the mouse message in the low word of lParam; they become the program's
// tray events, one at a time (a pop-up menu opened by a handler drops the clicks made meanwhile).
// A left double-click restores the owner first.
class TrayIcon {
 public:
  using EventHandler = std::function<void(tray::TrayEvent)>;
  // The notification area's service; Shell_NotifyIconW unless a test watches the calls.
  using Notify = std::function<BOOL(DWORD command, NOTIFYICONDATAW* record)>;

  TrayIcon(HWND owner, int hookId, EventHandler onEvent, Notify notify = {});
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();

  // Kept whether or not the icon is in the tray; the next minToSysTray shows the latest.
  void changeIcon(HICON icon);
  // The tip, cut to the 63 characters the field holds; while the owner is minimised its caption
  // shows the same text.
  void changeToolTip(const std::string& tip);
  // Puts the icon into the notification area and hides the owner and its taskbar entry. Where
  // no notification area takes the icon, the owner stays minimised on the taskbar.
  void minToSysTray();
  void removeFromSysTray();
  // A balloon beside the icon, titled "Lumeno"; only while the icon is in the tray.
  void showBalloon(const std::string& text);

  [[nodiscard]] HWND hook() const { return hook_; }
  [[nodiscard]] const std::string& toolTip() const { return toolTip_; }
  [[nodiscard]] std::wstring tipField() const { return record_.szTip; }
  [[nodiscard]] HICON icon() const { return record_.hIcon; }
  [[nodiscard]] bool shown() const { return shown_; }

 private:
  static LRESULT CALLBACK hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void onNotification(tray::TrayEvent event);

  HWND owner_;
  HWND hook_ = nullptr;
  NOTIFYICONDATAW record_{};
  std::string toolTip_;
  bool shown_ = false;
  EventHandler onEvent_;
  Notify notify_;
  tray::NotificationDispatcher dispatcher_;
};

}  // namespace lumeno::win32ui
