// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/TrayIcon.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "tray/TrayTip.h"
#include "ui/win32/Controls.h"

namespace lumeno::win32ui {
namespace {

constexpr const wchar_t* kHookClass = L"LumenoTrayHook";

void registerHookClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;  // replaced per window below
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kHookClass;
    return ::RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
}

// The mouse messages that mean something on the icon; the others (a move, the middle button)
// mean nothing.
std::optional<tray::TrayEvent> trayEventOf(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDOWN: return tray::TrayEvent::LeftDown;
    case WM_LBUTTONUP: return tray::TrayEvent::LeftUp;
    case WM_LBUTTONDBLCLK: return tray::TrayEvent::LeftDoubleClick;
    case WM_RBUTTONDOWN: return tray::TrayEvent::RightDown;
    case WM_RBUTTONUP: return tray::TrayEvent::RightUp;
    case WM_RBUTTONDBLCLK: return tray::TrayEvent::RightDoubleClick;
    default: return std::nullopt;
  }
}

}  // namespace

TrayIcon::TrayIcon(HWND owner, int hookId, EventHandler onEvent, Notify notify)
    : owner_(owner),
      onEvent_(std::move(onEvent)),
      notify_(notify ? std::move(notify) : Notify(&::Shell_NotifyIconW)),
      dispatcher_([this](tray::TrayEvent event) { onNotification(event); }) {
  registerHookClass();
  hook_ = ::CreateWindowExW(0, kHookClass, L"pichook", WS_CHILD, 0, 0, 0, 0, owner,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(hookId)),
                            ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(hook_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(hook_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayIcon::hookProcedure));
  // The record as the component holds it from its creation: one icon, the callback message,
  // the icon and the tip valid; the tip field of 64 characters.
  record_.cbSize = NOTIFYICONDATAW_V1_SIZE;
  record_.hWnd = hook_;
  record_.uID = 1;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = WM_MOUSEMOVE;
}

TrayIcon::~TrayIcon() {
  if (hook_ != nullptr) ::SetWindowLongPtrW(hook_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK TrayIcon::hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TrayIcon*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message == WM_MOUSEMOVE) {
    if (const auto event = trayEventOf(LOWORD(static_cast<DWORD>(lParam))))
      self->dispatcher_.dispatch(*event);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void TrayIcon::onNotification(tray::TrayEvent event) {
  if (event == tray::TrayEvent::LeftDoubleClick) {
    ::ShowWindow(owner_, SW_RESTORE);
    ::ShowWindow(owner_, SW_SHOW);
    removeFromSysTray();
  }
  if (onEvent_) onEvent_(event);
  if (event == tray::TrayEvent::LeftDoubleClick) setWindowText(owner_, "Lumeno");
}

void TrayIcon::changeIcon(HICON icon) {
  record_.hIcon = icon;
  notify_(NIM_MODIFY, &record_);
}

void TrayIcon::changeToolTip(const std::string& tip) {
  toolTip_ = tip;
  const std::wstring cut = wide(tray::cutTip(tip));
  std::fill(std::begin(record_.szTip), std::end(record_.szTip), L'\0');
  std::copy_n(cut.begin(), std::min<std::size_t>(cut.size(), 63), record_.szTip);
  notify_(NIM_MODIFY, &record_);
  if (::IsIconic(owner_) != FALSE) setWindowText(owner_, tip);
}

void TrayIcon::minToSysTray() {
  shown_ = notify_(NIM_ADD, &record_) != FALSE;
  // Without a notification area the window would be lost for good if hidden.
  if (shown_) ::ShowWindow(owner_, SW_HIDE);
}

void TrayIcon::showBalloon(const std::string& text) {
  if (!shown_) return;
  NOTIFYICONDATAW balloon{};
  balloon.cbSize = NOTIFYICONDATAW_V2_SIZE;  // the first record has no balloon fields
  balloon.hWnd = hook_;
  balloon.uID = 1;
  balloon.uFlags = NIF_INFO;
  const std::wstring info = wide(text);
  std::copy_n(info.begin(), std::min<std::size_t>(info.size(), std::size(balloon.szInfo) - 1),
              balloon.szInfo);
  std::copy_n(L"Lumeno", 6, balloon.szInfoTitle);
  balloon.dwInfoFlags = NIIF_INFO;
  notify_(NIM_MODIFY, &balloon);
}

void TrayIcon::removeFromSysTray() {
  NOTIFYICONDATAW remove{};
  remove.cbSize = NOTIFYICONDATAW_V1_SIZE;
  remove.hWnd = hook_;
  remove.uID = 1;
  notify_(NIM_DELETE, &remove);
  shown_ = false;
}

}  // namespace lumeno::win32ui
