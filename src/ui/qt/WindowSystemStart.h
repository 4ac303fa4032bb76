// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumeno::app {

// Watches the window system come up while the application object is made. Where there is no
// display, or one that does not answer, Qt ends the program with a core dump after a page of
// plugin advice; instead the program says so in one line on stderr and ends with status 1,
// before it has written anything. Messages Qt gives meanwhile are held back and handed on once
// the window system is up.
class WindowSystemStart {
 public:
  WindowSystemStart();
  ~WindowSystemStart();
  WindowSystemStart(const WindowSystemStart&) = delete;
  WindowSystemStart& operator=(const WindowSystemStart&) = delete;
};

}  // namespace lumeno::app
