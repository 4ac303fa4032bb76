#pragma once

namespace lumeno::app {

// Windows were designed in twips: 15 twips to a pixel at 96 dpi. Qt scales logical pixels with
// the screen, so the designed proportions hold on every screen.
constexpr int twips(int value) {
  return (value + 7) / 15;
}

}  // namespace lumeno::app
