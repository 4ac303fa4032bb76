// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lumeno::about {

// What the about box can show or do. The window builds its controls, hands every user action
// to the presenter and shows what the presenter says; it decides nothing itself.
class AboutView {
 public:
  virtual ~AboutView() = default;

  // The application's title label ("lblTitle").
  virtual void setTitle(const std::string& text) = 0;
  // The version label ("lblVersion").
  virtual void setVersionText(const std::string& text) = 0;
  // Unloads the box: it goes from the screen, and the next showing loads it afresh.
  virtual void unload() = 0;
};

}  // namespace lumeno::about
