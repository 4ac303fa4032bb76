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

}  // namespace lumeno::test
