// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

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

}  // namespace lumeno::win32ui
