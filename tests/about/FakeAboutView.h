// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "about/AboutView.h"

namespace lumeno::about {

// Shows nothing; remembers what the about box was told to show and how often it was unloaded.
struct FakeAboutView : AboutView {
  void setTitle(const std::string& text) override { title = text; }
  void setVersionText(const std::string& text) override { versionText = text; }
  void unload() override { ++unloads; }

  std::string title = "app";
  std::string versionText = "Ver";
  int unloads = 0;
};

}  // namespace lumeno::about
