// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/MessageBoxes.h"

namespace lumeno {

// Message boxes as QMessageBox shows them: modal, without an owner window.
class QtMessageBoxes : public MessageBoxes {
 public:
  BoxAnswer show(const BoxRequest& request) override;
};

}  // namespace lumeno
