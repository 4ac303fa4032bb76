// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InfoLabelRing.h"

namespace lumeno::app {

InfoLabelStep nextInfoLabel(InfoLabel clicked) {
  switch (clicked) {
    case InfoLabel::Status: return {{InfoLabel::Status}, InfoLabel::Version, false};
    case InfoLabel::Version: return {{InfoLabel::Status, InfoLabel::Version}, InfoLabel::Time, true};
    case InfoLabel::Time: return {{InfoLabel::Time, InfoLabel::Version}, InfoLabel::Date, false};
    case InfoLabel::Date: break;
  }
  return {{InfoLabel::Date}, InfoLabel::Status, false};
}

}  // namespace lumeno::app
