// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lumeno::settings {

// The options dialog's connection options as the main window's status checks read them. The
// dialog keeps them current while it is loaded; they stay after it is closed, as they are in the
// file, so a check never has to load the dialog.
struct ConnectionOptions {
  bool read = false;                  // set once the dialog has loaded them from the file
  bool followAddress = false;         // "Follow address changes"
  bool logConnectionChanges = false;  // "Log connection changes"
  std::string interfaceName;          // the chosen interface; empty: automatic (default route)
  // (not "interface": the Windows headers make that word a macro)
};

}  // namespace lumeno::settings
