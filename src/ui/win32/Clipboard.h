// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include <windows.h>

namespace lumeno::win32ui {

// Puts UTF-8 text on the clipboard as Unicode text, each line break as CR LF as Windows programs
// expect. False when the clipboard could not be had (another program holds it open).
bool putTextOnClipboard(HWND owner, std::string_view utf8Text);

}  // namespace lumeno::win32ui
