// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QtMath>

// The windows were designed in twips: 1440 to an inch, so 15 to a pixel at 96 dpi. Converting
// with the screen's logical dpi keeps their designed proportions on every screen.
namespace lumeno::app {

inline int twipsX(const QWidget& widget, int twips) {
  return qRound(twips * widget.logicalDpiX() / 1440.0);
}
inline int twipsY(const QWidget& widget, int twips) {
  return qRound(twips * widget.logicalDpiY() / 1440.0);
}

// A control's place given in twips as left, top, width, height.
inline QRect twipsRect(const QWidget& widget, int left, int top, int width, int height) {
  return {twipsX(widget, left), twipsY(widget, top), twipsX(widget, width), twipsY(widget, height)};
}

// Centres a window, frame included, on the screen it is on.
inline void centreOnScreen(QWidget& window) {
  if (const QScreen* screen = window.screen()) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
}

}  // namespace lumeno::app
