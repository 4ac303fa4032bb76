// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/ColorChooser.h"

#include <QColorDialog>

namespace lumeno::app {

std::optional<QColor> QtColorChooser::choose(const QColor& current) {
  QColorDialog dialog(current);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedColor();
}

}  // namespace lumeno::app
