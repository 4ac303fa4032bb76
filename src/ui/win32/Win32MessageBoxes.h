// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/MessageBoxes.h"

namespace lumeno::win32ui {

// Message boxes through MessageBoxW, modal for the whole program, brought to the front.
class Win32MessageBoxes : public MessageBoxes {
 public:
  BoxAnswer show(const BoxRequest& request) override;
};

}  // namespace lumeno::win32ui
