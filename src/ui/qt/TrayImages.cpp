// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/TrayImages.h"

#include <QDir>

// A static library keeps its resources only when something registers them; this must sit
// outside any namespace.
static void registerTrayIcons() {
  Q_INIT_RESOURCE(tray_icons);
}

namespace lumeno::tray {

QIcon trayImage(const QString& key) {
  static const bool registered = [] {
    registerTrayIcons();
    return true;
  }();
  Q_UNUSED(registered);

  QIcon icon;
  if (key.isEmpty() || key.contains(QLatin1Char('/'))) return icon;
  const QDir folder(QStringLiteral(":/icons/") + key);
  const QStringList files = folder.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
  for (const QString& file : files) icon.addFile(folder.filePath(file));
  return icon;
}

}  // namespace lumeno::tray
