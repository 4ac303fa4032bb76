// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include "common/TextContrast.h"

// The program's readable-text rule for Qt colours.
namespace lumeno::app {

inline TextRgb textRgb(const QColor& colour) {
  return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
          static_cast<std::uint8_t>(colour.blue())};
}

inline double contrastRatio(const QColor& one, const QColor& other) {
  return lumeno::contrastRatio(textRgb(one), textRgb(other));
}

inline QColor readableOn(const QColor& text, const QColor& background) {
  const TextRgb shade = lumeno::readableOn(textRgb(text), textRgb(background));
  return {shade.red, shade.green, shade.blue};
}

}  // namespace lumeno::app
