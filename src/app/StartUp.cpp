#include "app/StartUp.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "common/MessageBoxes.h"
#include "platform/Files.h"

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
  if (!platform::fileExists(context.file("Lumeno.ini"))) {
    context.boxes->show({"Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno"});
    return StartCheck::SettingsMissing;
  }
  return StartCheck::Go;
}

}  // namespace lumeno::app
