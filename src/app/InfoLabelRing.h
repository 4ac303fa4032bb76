// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace lumeno::app {

// The four info labels lie on top of each other; a click on the one in front brings the next.
// The ring runs status -> version -> time -> date -> status.
enum class InfoLabel { Status, Version, Time, Date };

struct InfoLabelStep {
  std::vector<InfoLabel> hide;  // also clears labels that are still visible behind the front one
  InfoLabel show;
  bool refreshClock;  // the time label is brought up to date before it is shown
};

InfoLabelStep nextInfoLabel(InfoLabel clicked);

}  // namespace lumeno::app
