// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/RegistrySystemInfoTool.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "common/PathText.h"

namespace lumeno::platform {

std::optional<std::string> readRegistryText(HKEY root, const std::string& keyName,
                                            const std::string& valueName) {
  // Reading is all we do, so reading is all we ask for: a user who may not write the
  // machine-wide keys can still find the tool.
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  // The value's bytes as the 8-bit functions return them, at most 1024 of them.
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = ::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size);
  std::string buffer(size, '\0');
  if (status == ERROR_SUCCESS && size > 0) {
    status = ::RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(buffer.data()), &size);
  }
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS || size > 1024) return std::nullopt;
  if (size == 0) throw RegistryValueError("registry value " + valueName + " has no bytes");

  std::string_view text(buffer.data(), size);
  // A string stored with its terminating NUL reads the same as one stored without.
  if (text.back() == '\0') text.remove_suffix(1);
  switch (type) {
    case REG_SZ: return std::string(text);
    case REG_DWORD: {
      std::uint32_t number = 0;
      for (DWORD i = 0; i < size && i < 4; ++i) {
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(buffer[i])) << (8 * i);
      }
      return std::to_string(number);
    }
    default: return std::string();
  }
}

std::optional<std::string> RegistrySystemInfoTool::find() const {
  try {
    if (auto path = readRegistryText(root_, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH")) return path;
    const auto folder = readRegistryText(root_, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    if (!folder) return std::nullopt;
    const std::string program = *folder + "\\MSINFO32.EXE";
    std::error_code error;
    if (std::filesystem::is_regular_file(pathFromText(program), error)) return program;
  } catch (const std::exception&) {
    // An unreadable entry ends the search: the second location is not tried.
  }
  return std::nullopt;
}

const SystemInfoTool& systemInfoTool() {
  static const RegistrySystemInfoTool tool;
  return tool;
}

}  // namespace lumeno::platform
