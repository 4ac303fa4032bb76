// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lumeno::settings {

// The options dialog's connection options as the main window's status checks read them. The
// main presenter holds them, read at start; the dialog keeps them current while it is loaded.
struct ConnectionOptions {
  bool followAddress = false;         // "Follow address changes"
  bool logConnectionChanges = false;  // "Log connection changes"
  std::string interfaceName;          // the chosen interface; empty: automatic (default route)
  // (not "interface": the Windows headers make that word a macro)
};

}  // namespace lumeno::settings
