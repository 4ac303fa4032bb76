// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/StartUp.h"

#include "app/FirstStart.h"

namespace lumeno::app {

StartCheck checkBeforeStart(const AppContext& context, const platform::SingleInstance& instance) {
  if (!instance.acquired()) return StartCheck::AlreadyRunning;
  switch (prepareUserFiles(context)) {
    case FilesReady::Yes: return StartCheck::Go;
    case FilesReady::SettingsMissing: return StartCheck::SettingsMissing;
    case FilesReady::Failed: break;
  }
  return StartCheck::FilesFailed;
}

}  // namespace lumeno::app
