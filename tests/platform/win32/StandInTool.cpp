// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for ping, tracert and netstat under Windows, one behaviour per kind (STAND_IN_* below).
// FLOOD prints LUMENO_STAND_IN_BYTES bytes (100 MiB when unset) in numbered CR LF lines of 100 bytes.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/Text.h"

namespace {

void writeBytes(const std::string& bytes) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

[[maybe_unused]] void write(const std::wstring& text) {
  writeBytes(lumeno::platform::toUtf8(text));
}

#if defined(STAND_IN_SUMMARY)
BOOL WINAPI onInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT) return FALSE;
  writeBytes(
      "\r\nPing statistics for 127.0.0.1:\r\n    Packets: Sent = 1, Received = 1, Lost = 0 (0% loss),\r\n"
      "Control-C\r\n");
  ::ExitProcess(0xC000013A);
  return TRUE;
}
#endif

}  // namespace

int main() {
#if defined(STAND_IN_BLOCK) || defined(STAND_IN_SUMMARY) || defined(STAND_IN_STUBBORN)
#if defined(STAND_IN_BLOCK)
  writeBytes("started\n");
#elif defined(STAND_IN_SUMMARY)
  ::SetConsoleCtrlHandler(&onInterrupt, TRUE);
  writeBytes("Reply from 127.0.0.1: bytes=32 time<1ms TTL=128\r\n");
#else
  ::SetConsoleCtrlHandler(nullptr, TRUE);  // Ctrl+C ignored
  writeBytes("started\r\n");
#endif
  ::Sleep(INFINITE);
  return 0;
#elif defined(STAND_IN_FLOOD)
  const char* wanted = std::getenv("LUMENO_STAND_IN_BYTES");
  const unsigned long bytes = wanted != nullptr ? std::strtoul(wanted, nullptr, 10) : 100UL * 1024 * 1024;
  std::string lines;
  for (unsigned long line = 1; line * 100 <= bytes; ++line) {
    char text[101];
    std::snprintf(text, sizeof text, "line %010lu %082d\r\n", line, 0);
    lines += text;
    if (lines.size() >= 64 * 1024) {
      writeBytes(lines);
      lines.clear();
    }
  }
  writeBytes(lines);
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
