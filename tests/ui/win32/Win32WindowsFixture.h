// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "FakeProgram.h"
#include "MessagePump.h"
#include "common/Twips.h"
#include "ui/win32/Controls.h"

namespace lumeno::test {

// A program folder with a settings file and fake platform services for the real windows.
struct Win32WindowsFixture : FakeProgram {
  explicit Win32WindowsFixture(const std::string& ini = settingsWith("0", "0", "1")) : FakeProgram(ini) {}
};

// The control's place in its window's client area, in pixels.
inline RECT placeOf(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline RECT placeFromTwips(const Twips& twips) {
  const int left = win32ui::twips(twips.left);
  const int top = win32ui::twips(twips.top);
  return {left, top, left + win32ui::twips(twips.width), top + win32ui::twips(twips.height)};
}

inline bool samePlace(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The client area's width and height, and what a size in twips comes to.
inline std::pair<long, long> clientSize(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return {client.right, client.bottom};
}
inline std::pair<long, long> twipsSize(int width, int height) {
  return {win32ui::twips(width), win32ui::twips(height)};
}

// The notification a user's click (or pick) on the control sends its window.
inline void click(HWND control, WORD notification = BN_CLICKED) {
  ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), notification),
                 reinterpret_cast<LPARAM>(control));
}

// A menu item chosen, or a key's command (IDOK, IDCANCEL).
inline void command(HWND window, int id) {
  ::SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

inline bool checked(HWND box) {
  return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline bool styled(HWND window, LONG style) {
  return (::GetWindowLongW(window, GWL_STYLE) & style) == style;
}
inline bool grayed(HMENU menu, int id) {
  return (::GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// A menu by position: "name:caption" per item ("name:-" a separator, the name left out when
// `nameOf` is empty); a submenu's caption is followed by its items, indented.
inline std::vector<std::string> describeMenu(HMENU menu, const std::function<std::string(int)>& nameOf = {},
                                             const std::string& indent = "") {
  std::vector<std::string> items;
  for (int index = 0; index < ::GetMenuItemCount(menu); ++index) {
    wchar_t caption[64]{};
    ::GetMenuStringW(menu, static_cast<UINT>(index), caption, 64, MF_BYPOSITION);
    const HMENU sub = ::GetSubMenu(menu, index);
    // A submenu's state holds its item count where an item's holds MF_SEPARATOR.
    const bool separator =
        sub == nullptr && (::GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION) & MF_SEPARATOR) != 0;
    std::string line = separator ? "-" : win32ui::utf8(caption);
    if (nameOf && sub == nullptr) line = nameOf(static_cast<int>(::GetMenuItemID(menu, index))) + ":" + line;
    items.push_back(indent + line);
    if (sub != nullptr)
      for (const std::string& item : describeMenu(sub, nameOf, indent + "  ")) items.push_back(item);
  }
  return items;
}

}  // namespace lumeno::test
