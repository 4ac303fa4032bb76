// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "platform/posix/InstanceLock.h"

namespace lumeno::platform {

std::filesystem::path InstanceLock::defaultFile() {
  // The session's runtime folder is this user's alone.
  if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty())
      return std::filesystem::path(QFile::encodeName(folder).toStdString()) / "lumeno.lock";
  }
  // Without one, a folder of this user's own in the shared temporary folder, where any user
  // could otherwise leave a lock that stops every start.
  return fileInPrivateFolder(QFile::encodeName(QDir::tempPath()).toStdString());
}

std::unique_ptr<SingleInstance> claimSingleInstance() {
  return std::make_unique<InstanceLock>(InstanceLock::defaultFile());
}

}  // namespace lumeno::platform
