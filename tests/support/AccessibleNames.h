// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>

namespace lumeno::test {

// What a screen reader calls the control.
inline std::string spokenName(QWidget* control) {
  QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(control);
  return spoken != nullptr ? spoken->text(QAccessible::Name).trimmed().toStdString() : std::string();
}

// The controls of a window the keyboard reaches whose spoken name is missing or is only a
// designer's placeholder, as "objectName: name; " each; empty when every one has a name.
inline std::string unnamedControls(const QWidget& window) {
  std::string unnamed;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->focusPolicy() == Qt::NoFocus) continue;
    const std::string name = spokenName(control);
    if (name.empty() || name == "Option1")
      unnamed += control->objectName().toStdString() + ": " + name + "; ";
  }
  return unnamed;
}

}  // namespace lumeno::test
