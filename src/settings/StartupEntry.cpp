// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StartupEntry.h"

#include "common/PathText.h"

namespace lumeno::settings {

std::string runValueData(std::string_view folder, std::string_view valueName) {
  std::string data(folder);
  if (data.empty() || data.back() != '\\') data += '\\';
  data += valueName;
  return data;
}

std::string startupProgram(const AppContext& context, std::string_view valueName) {
#ifdef _WIN32
  return runValueData(pathText(context.programFolder), valueName);
#else
  if (!context.executable.empty()) return pathText(context.executable);
  return pathText(context.programFolder / valueName);
#endif
}

void AddStartupEntry(const AppContext& context, const std::string& valueName) {
  WriteRegValue(context.autostart, kRunHive, std::string(kRunKeyPath), valueName,
                startupProgram(context, valueName));
}

void RemoveStartupEntry(const AppContext& context, const std::string& valueName) {
  DeleteRegValue(context.autostart, kRunHive, std::string(kRunKeyPath), valueName);
}

void WriteRegValue(platform::Autostart* autostart, platform::Hive hive, const std::string& keyPath,
                   const std::string& valueName, const std::string& data) {
  if (autostart != nullptr) autostart->writeValue(hive, keyPath, valueName, data);
}

void DeleteRegValue(platform::Autostart* autostart, platform::Hive hive, const std::string& keyPath,
                    const std::string& valueName) {
  if (autostart != nullptr) autostart->deleteValue(hive, keyPath, valueName);
}

}  // namespace lumeno::settings
