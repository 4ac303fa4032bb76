// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <windows.h>

namespace lumeno::win32ui {

// The tooltips of one window's controls, in one tooltip control.
class ToolTips {
 public:
  void create(HWND owner);
  void set(HWND control, const std::string& text);
  [[nodiscard]] std::string text(HWND control) const;
  [[nodiscard]] HWND handle() const { return tips_; }

 private:
  HWND owner_ = nullptr;
  HWND tips_ = nullptr;
};

}  // namespace lumeno::win32ui
