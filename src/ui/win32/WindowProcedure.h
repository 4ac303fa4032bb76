// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include "ui/win32/Resources.h"

namespace lumeno::win32ui {

// The window procedure of a window class whose windows belong to one C++ object: the object is
// handed over at creation (CreateWindowExW's last argument), kept with the window, and every
// message after that reaches `handle` on it. Messages before the object has its window go to
// the default procedure.
template <class Window>
LRESULT windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT (Window::*handle)(UINT, WPARAM, LPARAM), HWND Window::*ownWindow) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->*ownWindow == nullptr)
    return ::DefWindowProcW(window, message, wParam, lParam);
  return (self->*handle)(message, wParam, lParam);
}

// What sets the program's window classes apart; everything else about them is the same.
struct WindowClassLook {
  HBRUSH background = nullptr;  // none: the window paints all of itself
  bool arrowCursor = true;
  bool programIcon = false;  // the program's icon, large and small, in the caption and task bar
};

// Registers a window class of this program; true when it now exists. Callers keep the answer in
// a static, so each class is registered once.
inline bool registerWindowClass(const wchar_t* name, WNDPROC procedure, const WindowClassLook& look) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const auto icon = [instance](int size) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(LUMENO_ICON_PROGRAM), IMAGE_ICON, size,
                                           size, LR_DEFAULTCOLOR));
  };
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  if (look.arrowCursor) windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  if (look.programIcon) {
    windowClass.hIcon = icon(32);
    windowClass.hIconSm = icon(16);
  }
  windowClass.hbrBackground = look.background;
  windowClass.lpszClassName = name;
  return ::RegisterClassExW(&windowClass) != 0;
}

}  // namespace lumeno::win32ui
