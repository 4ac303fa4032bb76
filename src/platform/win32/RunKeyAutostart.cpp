// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/RunKeyAutostart.h"

#include <utility>

#include <windows.h>

namespace lumeno::platform {
namespace {

constexpr const wchar_t* kValueName = L"Lumeno.exe";

// Every value lands in the current user's hive; see the class comment.
HKEY openRunKey(const std::wstring& keyPath, REGSAM access) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

}  // namespace

std::wstring runValueData(const std::filesystem::path& executable) {
  std::wstring data = executable.parent_path().wstring();
  if (data.empty() || data.back() != L'\\') data += L'\\';
  return data + kValueName;
}

RunKeyAutostart::RunKeyAutostart(std::filesystem::path executable, std::wstring keyPath)
    : executable_(std::move(executable)), keyPath_(std::move(keyPath)) {}

bool RunKeyAutostart::enable() {
  HKEY key = openRunKey(keyPath_, KEY_SET_VALUE);
  if (key == nullptr) return false;
  const std::wstring text = runValueData(executable_);
  const LSTATUS status =
      ::RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool RunKeyAutostart::disable() {
  HKEY key = openRunKey(keyPath_, KEY_SET_VALUE);
  if (key == nullptr) return false;
  const LSTATUS status = ::RegDeleteValueW(key, kValueName);
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool RunKeyAutostart::isEnabled() const {
  std::wstring data(32768, L'\0');
  auto size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (::RegGetValueW(HKEY_CURRENT_USER, keyPath_.c_str(), kValueName, RRF_RT_REG_SZ, nullptr, data.data(),
                     &size) != ERROR_SUCCESS) {
    return false;
  }
  data.resize(size / sizeof(wchar_t) - 1);
  return data == runValueData(executable_);
}

std::unique_ptr<Autostart> makeAutostart(const std::filesystem::path& executable) {
  return std::make_unique<RunKeyAutostart>(executable);
}

}  // namespace lumeno::platform
