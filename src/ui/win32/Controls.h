// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

// What every Win32 window of the program shares: places given in twips, controls that carry
// their control name, colours and UTF-8 text.
namespace lumeno::win32ui {

// The windows were designed in twips: 1440 to an inch, so 15 to a pixel at 96 dpi.
[[nodiscard]] int systemDpi();
[[nodiscard]] int twips(int value, int dpi = systemDpi());

// A place in twips: left, top, width, height.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

// One child control with the name callers and tests find it by.
struct NamedControl {
  std::string name;
  HWND handle = nullptr;
  int id = 0;
  TwipsRect place{};
};

// The controls of one window, in the order they were made.
class ControlSet {
 public:
  // Creates a child control of `parent` at its place converted with the system dpi.
  HWND add(HWND parent, const wchar_t* windowClass, std::string_view name, std::string_view caption,
           TwipsRect place, DWORD style, int id, DWORD exStyle = 0);
  [[nodiscard]] HWND find(std::string_view name) const;
  [[nodiscard]] const NamedControl* byName(std::string_view name) const;
  [[nodiscard]] std::string nameOf(int id) const;
  [[nodiscard]] const std::vector<NamedControl>& all() const { return controls_; }

 private:
  std::vector<NamedControl> controls_;
};

[[nodiscard]] std::wstring wide(std::string_view utf8);
[[nodiscard]] std::string utf8(std::wstring_view text);
[[nodiscard]] std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view utf8Text);

// The desktop's message font, which every control of the program uses unless it says otherwise.
[[nodiscard]] HFONT messageFont();
// A font of the given height in points (a fraction allowed) and weight. Where the face is not
// installed (Verdana away from Windows), a face of the same widths stands in for it, so that
// the text fits the boxes designed for it; otherwise the desktop's message font.
[[nodiscard]] HFONT makeFont(const wchar_t* face, double points, int weight);
[[nodiscard]] bool fontInstalled(const wchar_t* face);
// How far below the top of a line of this font its letters and digits end (the baseline).
[[nodiscard]] int ascentOf(HFONT font);

// A group box draws only its frame and caption. Over a tab control that clips its siblings,
// nothing would paint its inside (left black, or showing controls hidden long since): this one
// fills its inside with the dialog colour first. It goes below the controls inside it and
// clips them, so the fill never covers them.
void paintInsideOfGroupBox(HWND groupBox);

// Runs the main message loop, letting modeless windows handle Tab, Enter and Esc themselves.
int runMessageLoop();
// A modeless window takes part in the keyboard handling of the loop while it exists.
void addDialogWindow(HWND window);
void removeDialogWindow(HWND window);

}  // namespace lumeno::win32ui
