// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/RunKeyAutostart.h"

#include <windows.h>

#include "platform/win32/Text.h"

namespace lumeno::platform {
namespace {

// Every value lands in the current user's hive; see the class comment.
HKEY openRunKey(std::string keyPath, REGSAM access) {
  while (!keyPath.empty() && keyPath.back() == '\\') keyPath.pop_back();
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, toWide(keyPath).c_str(), 0, nullptr, 0, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

}  // namespace

bool RunKeyAutostart::writeValue(Hive /*hive*/, const std::string& keyPath, const std::string& valueName,
                                 const std::string& data) {
  HKEY key = openRunKey(keyPath, KEY_SET_VALUE);
  if (key == nullptr) return false;
  const std::wstring text = toWide(data);
  const LSTATUS status =
      ::RegSetValueExW(key, toWide(valueName).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool RunKeyAutostart::deleteValue(Hive /*hive*/, const std::string& keyPath, const std::string& valueName) {
  HKEY key = openRunKey(keyPath, KEY_SET_VALUE);
  if (key == nullptr) return false;
  const LSTATUS status = ::RegDeleteValueW(key, toWide(valueName).c_str());
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::unique_ptr<Autostart> makeAutostart() {
  return std::make_unique<RunKeyAutostart>();
}

}  // namespace lumeno::platform
