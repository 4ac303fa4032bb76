// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

namespace lumeno::tray {

// The program's own pictures, by key:
//   "mainicon"     the tray and window icon while online and at start-up (16 and 32 px)
//   "offlineicon"  the tray icon while offline (16 and 32 px)
//   "lumeno"       the program's large icon, as in its desktop entry (48 and 128 px)
// They live under :/icons/<key>/<size>.png. An unknown key gives a null icon.
[[nodiscard]] QIcon trayImage(const QString& key);

}  // namespace lumeno::tray
