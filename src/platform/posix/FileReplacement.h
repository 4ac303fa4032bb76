// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "platform/posix/Descriptor.h"

namespace lumeno::platform {

// The new content of a file, built in a file of the same folder that has no name (O_TMPFILE), so
// that a crash while it is written leaves nothing behind. commit() flushes it to disk, gives it a
// temporary name ".<name>.XXXXXX" and renames that over the file in one step: a reader sees the
// old or the new file, never a mix. Where the file system has no unnamed files, the temporary is
// named from the start. A temporary that was not committed is removed.
class FileReplacement {
 public:
  enum class Temporary { Unnamed, Named };

  FileReplacement(std::filesystem::path file, mode_t mode, Temporary kind = Temporary::Unnamed);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  [[nodiscard]] bool valid() const { return fd_.valid(); }
  bool append(std::string_view bytes);
  // Appends `length` bytes of the open file `from`, starting at `offset`.
  bool appendFrom(int from, std::uint64_t offset, std::uint64_t length);
  // Puts the new content in place of the file, with the mode given. False, and the file
  // untouched, when that cannot be done.
  bool commit();

 private:
  bool openNamed();
  bool giveName();

  std::filesystem::path file_;
  std::filesystem::path folder_;
  mode_t mode_;
  Descriptor fd_;
  std::string named_;  // the temporary's name, once it has one
};

// Whether this user may change an existing file of this mode: a file without any write permission
// is read-only for everyone, root included, and otherwise the system judges it for this user (a
// file of another owner that the user may not write is read-only too, even in the user's own
// folder, where a rename could take its place).
bool userMayChange(const std::filesystem::path& file, mode_t mode);

// A symbolic link stays a link: the file it points to is the one that is replaced.
std::filesystem::path replacedFile(const std::filesystem::path& file);

// Whether `name` is one of the temporary names of `fileName`: "." fileName "." and six letters
// or digits.
bool isTemporaryNameOf(std::string_view name, std::string_view fileName);

}  // namespace lumeno::platform
