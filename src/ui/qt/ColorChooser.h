// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QColor>

namespace lumeno::app {

// The standard colour dialog, behind a seam so tests can pick or cancel.
class ColorChooser {
 public:
  virtual ~ColorChooser() = default;
  // Opens the dialog modally on the given colour; the chosen one, or nothing when cancelled.
  virtual std::optional<QColor> choose(const QColor& current) = 0;
};

class QtColorChooser : public ColorChooser {
 public:
  std::optional<QColor> choose(const QColor& current) override;
};

}  // namespace lumeno::app
