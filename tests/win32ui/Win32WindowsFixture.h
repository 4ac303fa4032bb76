// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <windows.h>

#include <gtest/gtest.h>

#include "FakeProgram.h"
#include "MessagePump.h"
#include "win32ui/Controls.h"

namespace lumeno::test {

// A program folder with a settings file and fake platform services for the real windows.
struct Win32WindowsFixture : FakeProgram {
  explicit Win32WindowsFixture(const std::string& ini = settingsWith("0", "0", "1"))
      : FakeProgram(ini, "Lumeno.exe") {}
};

// The control's place in its window's client area, in pixels.
inline RECT placeOf(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// What the place in twips comes to at the system's dpi.
inline RECT placeFromTwips(const win32ui::TwipsRect& twips) {
  const int left = win32ui::twips(twips.left);
  const int top = win32ui::twips(twips.top);
  return {left, top, left + win32ui::twips(twips.width), top + win32ui::twips(twips.height)};
}

inline bool samePlace(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace lumeno::test
