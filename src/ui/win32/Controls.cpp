// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/Controls.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <commctrl.h>

#include "platform/win32/Text.h"

namespace lumeno::win32ui {
namespace {

LRESULT CALLBACK groupBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                   DWORD_PTR /*data*/) {
  if (message != WM_PAINT || wParam != 0) return ::DefSubclassProc(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(window, &paint);
  RECT inside{};
  ::GetClientRect(window, &inside);
  ::FillRect(dc, &inside, ::GetSysColorBrush(COLOR_BTNFACE));
  // The button draws its frame and caption into the same device context.
  ::DefSubclassProc(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  ::EndPaint(window, &paint);
  return 0;
}

std::vector<HWND>& dialogWindows() {
  static std::vector<HWND> windows;
  return windows;
}

}  // namespace

int systemDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int twips(int value, int dpi) {
  return static_cast<int>(std::lround(value * dpi / 1440.0));
}

HWND ControlSet::add(HWND parent, const wchar_t* windowClass, std::string_view name, std::string_view caption,
                     TwipsRect place, DWORD style, int id, DWORD exStyle) {
  const int dpi = systemDpi();
  HWND handle = ::CreateWindowExW(
      exStyle, windowClass, wide(caption).c_str(), WS_CHILD | style, twips(place.left, dpi),
      twips(place.top, dpi), twips(place.width, dpi), twips(place.height, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont()), FALSE);
  controls_.push_back({std::string(name), handle, id, place});
  return handle;
}

const NamedControl* ControlSet::byName(std::string_view name) const {
  const auto found =
      std::find_if(controls_.begin(), controls_.end(), [&](const NamedControl& c) { return c.name == name; });
  return found == controls_.end() ? nullptr : &*found;
}

HWND ControlSet::find(std::string_view name) const {
  const NamedControl* control = byName(name);
  return control == nullptr ? nullptr : control->handle;
}

std::string ControlSet::nameOf(int id) const {
  for (const NamedControl& control : controls_)
    if (control.id == id) return control.name;
  return {};
}

std::wstring wide(std::string_view utf8Text) {
  return platform::toWide(utf8Text);
}

std::string utf8(std::wstring_view text) {
  return platform::toUtf8(text);
}

std::string windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return utf8(text);
}

void setWindowText(HWND window, std::string_view utf8Text) {
  // The timers set the same texts every tick; an unchanged text is not repainted.
  if (windowText(window) == utf8Text) return;
  ::SetWindowTextW(window, wide(utf8Text).c_str());
}

HFONT messageFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) == FALSE)
      return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
  }();
  return font;
}

bool fontInstalled(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(
      screen, &wanted,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM seen) -> int {
        *reinterpret_cast<bool*>(seen) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

int ascentOf(HFONT font) {
  HDC screen = ::GetDC(nullptr);
  const HGDIOBJ before = ::SelectObject(screen, font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen, &metrics);
  ::SelectObject(screen, before);
  ::ReleaseDC(nullptr, screen);
  return static_cast<int>(metrics.tmAscent);
}

HFONT makeFont(const wchar_t* face, double points, int weight) {
  // DejaVu Sans has Verdana's widths (digits among them) and Tahoma is its narrower sister.
  static constexpr std::array<const wchar_t*, 2> kVerdanaStandIns = {L"DejaVu Sans", L"Tahoma"};
  if (face != nullptr && !fontInstalled(face)) {
    const bool verdana = ::lstrcmpiW(face, L"Verdana") == 0;
    const auto standIn = std::find_if(kVerdanaStandIns.begin(), kVerdanaStandIns.end(), fontInstalled);
    face = verdana && standIn != kVerdanaStandIns.end() ? *standIn : nullptr;
  }
  LOGFONTW font{};
  if (face != nullptr) {
    ::lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  } else {
    ::GetObjectW(messageFont(), sizeof(font), &font);
  }
  if (points > 0) font.lfHeight = -static_cast<LONG>(std::lround(points * systemDpi() / 72.0));
  font.lfWeight = weight;
  return ::CreateFontIndirectW(&font);
}

void paintInsideOfGroupBox(HWND groupBox) {
  ::SetWindowLongW(groupBox, GWL_STYLE, ::GetWindowLongW(groupBox, GWL_STYLE) | WS_CLIPSIBLINGS);
  ::SetWindowSubclass(groupBox, &groupBoxProcedure, 0, 0);
}

int runMessageLoop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    const auto& windows = dialogWindows();
    const bool handled = std::any_of(windows.begin(), windows.end(), [&](HWND window) {
      return ::IsWindow(window) != FALSE && ::IsDialogMessageW(window, &message) != FALSE;
    });
    if (handled) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void addDialogWindow(HWND window) {
  dialogWindows().push_back(window);
}

void removeDialogWindow(HWND window) {
  auto& windows = dialogWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

}  // namespace lumeno::win32ui
