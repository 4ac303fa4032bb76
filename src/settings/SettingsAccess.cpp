// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsAccess.h"

#include <algorithm>
#include <string_view>

#include "common/MessageBoxes.h"
#include "platform/ProfileFile.h"

namespace lumeno::settings {
namespace {

constexpr const char* kSettingsFile = "Lumeno.ini";
constexpr std::size_t kBufferSize = 50;
constexpr std::string_view kDefaultText = "0";

void showApiError(const AppContext& context) {
  if (context.boxes == nullptr) return;
  context.boxes->show({"An error has occurred while calling the API function", "Lumeno", BoxIcon::Exclamation,
                       BoxButtons::Ok});
}

std::string trimmedCopy(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

bool readSetting(const AppContext& context, SettingFields& fields) {
  const platform::ProfileRead read = platform::readProfileString(
      context.file(kSettingsFile), fields.currentSection, fields.currentKey, kDefaultText, kBufferSize);
  if (read.count == 0) {
    showApiError(context);
    return false;
  }
  std::string_view text = read.text;
  text = text.substr(0, text.find('\0'));
  fields.currentValue = trimmedCopy(text);
  return true;
}

void readTextSetting(const AppContext& context, SettingFields& fields) {
  const platform::ProfileRead read = platform::readProfileString(
      context.file(kSettingsFile), fields.currentSection, fields.currentKey, {}, kBufferSize);
  std::string_view text = read.text;
  fields.currentValue = trimmedCopy(text.substr(0, std::min(read.count, text.find('\0'))));
}

bool writeSetting(const AppContext& context, const SettingFields& fields) {
  if (platform::writeProfileString(context.file(kSettingsFile), fields.currentSection, fields.currentKey,
                                   fields.currentValue)) {
    return true;
  }
  showApiError(context);
  return false;
}

}  // namespace lumeno::settings
