// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FirstStart.h"

#include <optional>
#include <string>

#include "common/FilePlaces.h"
#include "common/MessageBoxes.h"
#include "platform/Files.h"
#include "platform/UserFolders.h"

namespace lumeno::app {
namespace {

FilesReady fail(MessageBoxes& boxes, std::string text) {
  BoxRequest request;
  request.text = std::move(text);
  request.icon = BoxIcon::Critical;
  boxes.show(request);
  return FilesReady::Failed;
}

}  // namespace

FilesReady prepareUserFiles(const AppContext& context) {
  const FilePlaces& places = context.places;
  MessageBoxes& boxes = *context.boxes;
  const std::filesystem::path settings = context.file(kSettingsFileName);
  if (!platform::fileExists(settings)) {
    if (places.mode == FileMode::Portable || !platform::fileExists(places.packagedSettings())) {
      boxes.show({std::string(kSettingsMissingMessage)});
      return FilesReady::SettingsMissing;
    }
    if (const auto why = platform::makeFolders(places.settingsFolder)) {
      return fail(boxes, settingsFolderFailedMessage(places.settingsFolder, *why));
    }
    if (const auto why = platform::copyNewFile(places.packagedSettings(), settings)) {
      return fail(boxes, settingsCopyFailedMessage(places.packagedSettings(), settings, *why));
    }
  }
  if (places.mode == FileMode::Installed) {
    // Not fatal: the log skips its entries and the IP tools say they cannot write.
    if (const auto why = platform::makeFolders(places.stateFolder)) {
      BoxRequest request;
      request.text = stateFolderFailedMessage(places.stateFolder, *why);
      request.icon = BoxIcon::Exclamation;
      boxes.show(request);
    }
  }
  return FilesReady::Yes;
}

}  // namespace lumeno::app
