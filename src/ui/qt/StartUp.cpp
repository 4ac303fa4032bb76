// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/StartUp.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "app/FirstStart.h"

namespace lumeno::app {

SingleInstance::SingleInstance(const QString& lockFile)
    : lock_(std::filesystem::path(QFile::encodeName(lockFile).toStdString())) {}

QString SingleInstance::defaultLockFile() {
  // The session's runtime folder is this user's alone.
  if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty()) return folder + QStringLiteral("/lumeno.lock");
  }
  // Without one, a folder of this user's own in the shared temporary folder, where any user
  // could otherwise leave a lock that stops every start. Empty (no lock) when it is not safe.
  const std::filesystem::path file =
      platform::InstanceLock::fileInPrivateFolder(QFile::encodeName(QDir::tempPath()).toStdString());
  return QFile::decodeName(file.c_str());
}

StartCheck checkBeforeStart(const AppContext& context, const SingleInstance& instance) {
  if (!instance.acquired()) return StartCheck::AlreadyRunning;
  switch (prepareUserFiles(context)) {
    case FilesReady::Yes: return StartCheck::Go;
    case FilesReady::SettingsMissing: return StartCheck::SettingsMissing;
    case FilesReady::Failed: break;
  }
  return StartCheck::FilesFailed;
}

}  // namespace lumeno::app
