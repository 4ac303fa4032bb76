// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/ToolTips.h"

#include <array>

#include <commctrl.h>

#include "ui/win32/Controls.h"

namespace lumeno::win32ui {

void ToolTips::create(HWND owner) {
  owner_ = owner;
  tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
}

void ToolTips::set(HWND control, const std::string& text) {
  std::wstring shown = wide(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = shown.data();
  // A control gets its tool once; later texts replace the text.
  TOOLINFOW known{};
  known.cbSize = sizeof(known);
  known.hwnd = owner_;
  known.uId = tool.uId;
  const bool exists = ::SendMessageW(tips_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known)) != FALSE;
  ::SendMessageW(tips_, exists ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string ToolTips::text(HWND control) const {
  std::array<wchar_t, 512> buffer{};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = buffer.data();
  ::SendMessageW(tips_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
  return utf8(buffer.data());
}

}  // namespace lumeno::win32ui
