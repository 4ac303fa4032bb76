// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Whole-file operations on the program's own files (settings, log, result files).
// Each call opens, uses and closes the file; nothing stays open between calls. No open ever
// blocks, and only regular files are read or written: a named pipe, a device or a folder under
// one of these names makes the call fail.
namespace lumeno::platform {

// Appends the bytes with one write to a file opened for appending (created if missing), so no
// reader ever sees part of them. They go in whole or not at all: what a full disk took of them is
// cut off again. False when the file cannot be created or written, or is a symbolic link.
bool appendToFile(const std::filesystem::path& file, std::string_view bytes);

// Replaces the whole file so that a crash leaves either the old or the new content, never a
// mix: a temporary file without a name in the same folder is written, flushed to disk, and put
// in the old one's place in one step, keeping the old file's permissions. Other copies of the
// program wait (up to `lockWait`) while the folder is locked. False (and the old file untouched) on
// failure, also when the existing file is read-only.
bool replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                           std::chrono::milliseconds lockWait = std::chrono::seconds(2));

// Removes what writes of `file` that were cut short (a crash, a kill) left beside it, as
// ".<name>.XXXXXX": all of them when no write is under way in the folder, otherwise those older
// than a minute. For a symbolic link, beside the file it points to.
void removeLeftoverTemporaries(const std::filesystem::path& file);

// Opens the file for writing with truncation (creating it), writes the bytes and closes it. A
// symbolic link in the file's place is refused, never followed.
bool writeFile(const std::filesystem::path& file, std::string_view bytes);

// The whole content, or nothing when the file is missing or unreadable.
std::optional<std::string> readFile(const std::filesystem::path& file);

// What a file is right now, cheaply: enough to tell "unchanged", "grew" and "replaced" apart.
struct FileIdentity {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool regular = true;  // false for a named pipe, a device, a folder...
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
FileIdentity identifyFile(const std::filesystem::path& file);

// Reads up to buffer.size() bytes at `offset` of the file, provided it is still the file
// `expected` describes (same device and inode). The number of bytes read (fewer at the end of
// the file), or nothing when the file cannot be read or is another file by now.
std::optional<std::size_t> readFileAt(const std::filesystem::path& file, const FileIdentity& expected,
                                      std::uint64_t offset, std::span<char> buffer);

bool fileExists(const std::filesystem::path& file);

}  // namespace lumeno::platform
