// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace lumeno {

// A control's place as designed, in twips (1/1440 inch); each face turns it into pixels.
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// A plain control of a designed window: its objectName, place, caption or initial text and tip.
struct PlacedControl {
  std::string_view name;
  Twips place;
  std::string_view text;
  std::string_view tip;
};

}  // namespace lumeno
