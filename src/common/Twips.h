// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumeno {

// A control's place as designed, in twips (1/1440 inch); each face turns it into pixels.
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

}  // namespace lumeno
