#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// The profile (INI) file on disk, read and written the way the Windows private-profile functions
// do it (GetPrivateProfileStringA, WritePrivateProfileStringA).
namespace lumeno::platform {

struct ProfileRead {
  std::size_t count = 0;  // characters copied
  std::string text;
};

// Reads `key` of `section` into a buffer of `size` characters (at most size - 1 come back). A
// missing or unreadable file (or one that is not a regular file), section or key yields
// `defaultText`; a key with nothing after its "=" yields 0 characters. The file is read as a
// stream and only as far as needed: memory and time do not depend on the lines of other sections.
ProfileRead readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultText, std::size_t size);

// Sets `key` of `section` to `value`, changing nothing else in the file; a missing file is created.
// The file is replaced as a whole (see replaceFileAtomically), so a crash leaves either the old or
// the new file. The read and the write happen under the folder's lock, so two copies of the
// program writing different keys both keep theirs; the lock is waited for up to `lockWait`.
// False, with the old file untouched, when it cannot be read or replaced (a read-only file or
// folder, a folder in its place, the lock held by another for the whole wait) or the names or
// value cannot be written. A write that would change nothing touches nothing and succeeds.
bool writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value, std::chrono::milliseconds lockWait = std::chrono::seconds(2));

}  // namespace lumeno::platform
