// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cmath>

#include <QColor>

// Text in a colour of the program's own design, on a background the desktop's scheme decides.
namespace lumeno::app {

// How much the lighter of two colours outshines the darker, from 1 to 21, by the relative
// luminance that guidelines for readable screens use.
inline double contrastRatio(const QColor& one, const QColor& other) {
  const auto luminance = [](const QColor& color) {
    const auto linear = [](double c) {
      return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
  };
  const double first = luminance(one);
  const double second = luminance(other);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The colour itself where text in it reads well on the background (4.5:1 or more); else the
// nearest shade of it that does, mixed toward white on a dark background, toward black on a
// light one.
inline QColor readableOn(const QColor& text, const QColor& background) {
  constexpr double kReadable = 4.5;
  if (contrastRatio(text, background) >= kReadable) return text;
  const QColor toward = background.lightnessF() < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
  QColor mixed = text;
  for (int step = 1; step <= 20 && contrastRatio(mixed, background) < kReadable; ++step) {
    const double share = step / 20.0;
    mixed = QColor::fromRgbF(static_cast<float>(text.redF() + (toward.redF() - text.redF()) * share),
                             static_cast<float>(text.greenF() + (toward.greenF() - text.greenF()) * share),
                             static_cast<float>(text.blueF() + (toward.blueF() - text.blueF()) * share));
  }
  return mixed;
}

}  // namespace lumeno::app
