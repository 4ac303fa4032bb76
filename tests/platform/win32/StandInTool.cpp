// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for ping, tracert and netstat under Windows: prints each argument in brackets as
// UTF-8, then its working folder, and ends with code 3; built with STAND_IN_BLOCKS, prints one
// line and waits until it is ended from outside.
#include <string>

#include <windows.h>

#include <shellapi.h>

namespace {

void write(const std::wstring& text) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

}  // namespace

int main() {
#ifdef STAND_IN_BLOCKS
  write(L"started\n");
  ::Sleep(INFINITE);
  return 0;
#else
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) write(L"[" + std::wstring(arguments[i]) + L"]\n");
  ::LocalFree(static_cast<HLOCAL>(arguments));
  std::wstring folder(MAX_PATH, L'\0');
  folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  write(L"cwd: " + folder + L"\n");
  return 3;
#endif
}
