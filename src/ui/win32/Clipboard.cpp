// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/Clipboard.h"

#include <algorithm>
#include <string>

#include "ui/win32/Controls.h"

namespace lumeno::win32ui {

bool putTextOnClipboard(HWND owner, std::string_view utf8Text) {
  std::wstring text;
  const std::wstring given = wide(utf8Text);
  text.reserve(given.size());
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (given[i] == L'\n' && (i == 0 || given[i - 1] != L'\r')) text += L'\r';
    text += given[i];
  }
  if (::OpenClipboard(owner) == FALSE) return false;
  ::EmptyClipboard();
  bool placed = false;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (memory != nullptr) {
    auto* target = static_cast<wchar_t*>(::GlobalLock(memory));
    std::copy(text.c_str(), text.c_str() + text.size() + 1, target);
    ::GlobalUnlock(memory);
    placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!placed) ::GlobalFree(memory);
  }
  ::CloseClipboard();
  return placed;
}

}  // namespace lumeno::win32ui
