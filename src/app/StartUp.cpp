// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartUp.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "app/FirstStart.h"

namespace lumeno::app {

SingleInstance::SingleInstance(const QString& lockFile)
    : lock_(std::filesystem::path(QFile::encodeName(lockFile).toStdString())) {}

QString SingleInstance::defaultLockFile() {
  // Qt gives every user a runtime folder of their own (making one under the temporary folder
  // when the session has none).
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/lumeno.lock");
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
