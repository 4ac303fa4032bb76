// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPalette>

namespace lumeno::test {

// A dark desktop scheme (light text on dark grey, as qt6ct's "darker") for as long as it lives.
class DarkPalette {
 public:
  DarkPalette() : light_(QApplication::palette()) {
    QPalette dark = light_;
    dark.setColor(QPalette::Window, QColor(0x22, 0x20, 0x20));
    dark.setColor(QPalette::Button, QColor(0x42, 0x42, 0x45));
    dark.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
      dark.setColor(role, Qt::white);
    QApplication::setPalette(dark);
  }
  ~DarkPalette() { QApplication::setPalette(light_); }
  DarkPalette(const DarkPalette&) = delete;
  DarkPalette& operator=(const DarkPalette&) = delete;

 private:
  QPalette light_;
};

}  // namespace lumeno::test
