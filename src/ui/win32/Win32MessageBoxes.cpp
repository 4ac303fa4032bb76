// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/Win32MessageBoxes.h"

#include <windows.h>

#include "ui/win32/Controls.h"

namespace lumeno::win32ui {

BoxAnswer Win32MessageBoxes::show(const BoxRequest& request) {
  UINT type = MB_TASKMODAL | MB_SETFOREGROUND;
  type |= request.buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
  switch (request.icon) {
    case BoxIcon::None: break;
    case BoxIcon::Exclamation: type |= MB_ICONEXCLAMATION; break;
    case BoxIcon::Critical: type |= MB_ICONHAND; break;
    case BoxIcon::Information: type |= MB_ICONINFORMATION; break;
    case BoxIcon::Question: type |= MB_ICONQUESTION; break;
  }
  const int answer = ::MessageBoxW(nullptr, wide(request.text).c_str(), wide(request.title).c_str(), type);
  if (request.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
  return answer == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace lumeno::win32ui
