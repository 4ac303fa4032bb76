// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

namespace lumeno::platform {

// This user's claim to run the program, held until it goes. Only a live copy holding the claim
// stops a start: whatever a killed copy left behind is taken over, and a claim that cannot be
// made at all lets the program run rather than end unseen.
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  // False when another copy of the program runs for this user.
  [[nodiscard]] virtual bool acquired() const = 0;
};

[[nodiscard]] std::unique_ptr<SingleInstance> claimSingleInstance();

}  // namespace lumeno::platform
