// SPDX-License-Identifier: GPL-3.0-or-later
// Windows runs portable only, so the start-up check never reaches these steps; they are here
// so the one start-up rule links on both systems, and do what the interface says.
#include "platform/UserFolders.h"

#include <system_error>

#include <windows.h>

namespace lumeno::platform {

std::optional<std::string> makeFolders(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return error.message();
  if (!std::filesystem::is_directory(folder, error)) return "not a folder";
  return std::nullopt;
}

std::optional<std::string> copyNewFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  if (std::filesystem::exists(to, error)) return std::nullopt;
  // Copied beside the target first, then moved into place only where nothing is.
  std::filesystem::path part = to;
  part += L".part";
  if (!std::filesystem::copy_file(from, part, std::filesystem::copy_options::overwrite_existing, error))
    return error.message();
  const bool moved = ::MoveFileExW(part.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
  std::filesystem::remove(part, error);
  if (!moved && !std::filesystem::exists(to, error)) return "the copy could not be moved into place";
  return std::nullopt;
}

}  // namespace lumeno::platform
