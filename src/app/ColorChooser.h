// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QColor>

namespace lumeno::app {

// The standard colour dialog, behind a seam so tests can pick or cancel.
class ColorChooser {
 public:
  virtual ~ColorChooser() = default;
  // Opens the dialog modally; the chosen colour, or nothing when the user cancelled.
  virtual std::optional<QColor> choose() = 0;
};

class QtColorChooser : public ColorChooser {
 public:
  std::optional<QColor> choose() override;
};

}  // namespace lumeno::app
