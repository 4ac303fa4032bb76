// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/Files.h"

namespace lumeno::test {

// The file system of a few pages that the test run mounts at `linuxPath` for the full-disk cases
// (tests/platform/win32/CMakeLists.txt; Wine shows the Linux root as drive Z:), filled but for one
// page. Nothing when no such file system is there (the tests then report themselves skipped).
inline std::optional<std::filesystem::path> nearlyFullDisk(const wchar_t* linuxPath) {
  const std::filesystem::path folder(L"Z:" + std::wstring(linuxPath));
  const std::filesystem::path filler = folder / "filler";
  ::DeleteFileW(filler.c_str());
  ULARGE_INTEGER free{};
  ULARGE_INTEGER total{};
  if (::GetDiskFreeSpaceExW(folder.c_str(), &free, &total, nullptr) == FALSE || total.QuadPart > 64 * 1024 ||
      free.QuadPart < 4096) {
    return std::nullopt;
  }
  if (!platform::writeFile(filler, std::string(static_cast<std::size_t>(free.QuadPart) - 4096, 'x')))
    return std::nullopt;
  return folder;
}

}  // namespace lumeno::test
