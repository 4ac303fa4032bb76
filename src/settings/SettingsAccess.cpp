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

std::optional<std::string> readSetting(const AppContext& context, std::string_view section,
                                       std::string_view key) {
  const platform::ProfileRead read =
      platform::readProfileString(context.file(kSettingsFile), section, key, kDefaultText, kBufferSize);
  if (read.count == 0) {
    showApiError(context);
    return std::nullopt;
  }
  const std::string_view text = read.text;
  return trimmedCopy(text.substr(0, text.find('\0')));
}

std::string readTextSetting(const AppContext& context, std::string_view section, std::string_view key) {
  const platform::ProfileRead read =
      platform::readProfileString(context.file(kSettingsFile), section, key, {}, kBufferSize);
  const std::string_view text = read.text;
  return trimmedCopy(text.substr(0, std::min(read.count, text.find('\0'))));
}

bool writeSetting(const AppContext& context, std::string_view section, std::string_view key,
                  std::string_view value) {
  if (platform::writeProfileString(context.file(kSettingsFile), section, key, value)) return true;
  showApiError(context);
  return false;
}

}  // namespace lumeno::settings
