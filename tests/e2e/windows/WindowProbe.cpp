// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the program's windows under Wine, where X sees no texts inside them. Prints, in pixels:
//   texts <title>   "<class>|<title>" per shown top-level window so titled, "  <class>|<text>" per child
//   places <title>  "window <l> <t> <r> <b> <top of menu bar or client area>" per shown top-level window
//                   of that title or class, "<l> <t> <r> <b> <enabled 0|1> <id> <class>|<text>" per child
//   menus / tips    "menu|tip <l> <t> <r> <b>" per shown drop-down or pop-up menu / tooltip
#include <algorithm>
#include <string>

#include <windows.h>

#include "platform/win32/Text.h"

namespace {

using lumeno::platform::toUtf8;

std::wstring title;
std::string out;

std::wstring titleOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string describe(HWND window) {
  wchar_t className[256]{};
  ::GetClassNameW(window, className, 256);
  // Asked of the control itself: an edit box of another program keeps what was typed to itself.
  wchar_t text[512]{};
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 500,
                        &length);
  return toUtf8(className) + "|" + toUtf8(std::wstring(text, std::min<std::size_t>(length, 511)));
}

std::string placeOf(HWND window) {
  RECT frame{};
  ::GetWindowRect(window, &frame);
  return std::to_string(frame.left) + " " + std::to_string(frame.top) + " " + std::to_string(frame.right) +
         " " + std::to_string(frame.bottom);
}

BOOL CALLBACK eachChild(HWND child, LPARAM placing) {
  if (placing == 0)
    out += "  " + describe(child) + "\n";
  else if (::IsWindowVisible(child) != FALSE)
    out += placeOf(child) + " " + (::IsWindowEnabled(child) != FALSE ? "1 " : "0 ") +
           std::to_string(::GetDlgCtrlID(child)) + " " + describe(child) + "\n";
  return TRUE;
}

// "places" finds a window by its class as well as by its title.
BOOL CALLBACK eachWindow(HWND window, LPARAM placing) {
  wchar_t className[256]{};
  ::GetClassNameW(window, className, 256);
  if (::IsWindowVisible(window) == FALSE ||
      (titleOf(window) != title && (placing == 0 || className != title)))
    return TRUE;
  if (placing == 0) {
    out += describe(window) + "\n";
  } else {
    POINT clientTop{0, 0};
    ::ClientToScreen(window, &clientTop);
    if (::GetMenu(window) != nullptr) clientTop.y -= ::GetSystemMetrics(SM_CYMENU);
    out += "window " + placeOf(window) + " " + std::to_string(clientTop.y) + "\n";
  }
  ::EnumChildWindows(window, eachChild, placing);
  return TRUE;
}

// Tooltips and menus are top-level windows of system classes; `kind` is "menu" or "tip".
std::string kind;

BOOL CALLBACK eachOfKind(HWND window, LPARAM) {
  wchar_t className[32]{};
  ::GetClassNameW(window, className, 32);
  const std::wstring wanted = kind == "menu" ? L"#32768" : L"tooltips_class32";
  if (::IsWindowVisible(window) != FALSE && className == wanted) out += kind + " " + placeOf(window) + "\n";
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc >= 2 ? argv[1] : L"";
  if (argc == 2 && (mode == L"menus" || mode == L"tips")) {
    kind = mode == L"menus" ? "menu" : "tip";
    ::EnumWindows(eachOfKind, 0);
  } else if (argc == 3 && (mode == L"places" || mode == L"texts")) {
    title = argv[2];
    ::EnumWindows(eachWindow, mode == L"places" ? 1 : 0);
  } else {
    return 2;
  }
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written,
              nullptr);
  return 0;
}
