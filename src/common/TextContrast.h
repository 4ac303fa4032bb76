// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// Text in a colour of the program's own design, on a background the desktop or the user decides:
// both faces show such text in the same readable shade.
namespace lumeno {

struct TextRgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const TextRgb&, const TextRgb&) = default;
};

// How much the lighter of two colours outshines the darker, from 1 to 21, by the relative
// luminance that guidelines for readable screens use.
inline double contrastRatio(TextRgb one, TextRgb other) {
  const auto luminance = [](TextRgb colour) {
    const auto linear = [](std::uint8_t channel) {
      const double c = channel / 255.0;
      return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
  };
  const double first = luminance(one);
  const double second = luminance(other);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The colour itself where text in it reads well on the background (4.5:1 or more); else the
// nearest shade of it that does, mixed toward white on a dark background, toward black on a
// light one.
inline TextRgb readableOn(TextRgb text, TextRgb background) {
  constexpr double kReadable = 4.5;
  if (contrastRatio(text, background) >= kReadable) return text;
  const bool darkBackground =
      contrastRatio(background, {0, 0, 0}) < contrastRatio(background, {255, 255, 255});
  const double toward = darkBackground ? 255.0 : 0.0;
  const auto mix = [toward](std::uint8_t from, double share) {
    return static_cast<std::uint8_t>(std::lround(from + (toward - from) * share));
  };
  TextRgb mixed = text;
  for (int step = 1; step <= 20 && contrastRatio(mixed, background) < kReadable; ++step) {
    const double share = step / 20.0;
    mixed = {mix(text.red, share), mix(text.green, share), mix(text.blue, share)};
  }
  return mixed;
}

}  // namespace lumeno
