// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

// Files the program writes and reads for its tools. Only regular files are ever used, and no
// open ever waits: a named pipe, a device or a folder in a file's place is refused at once. A
// symbolic link (on Windows any reparse point) in the place of a file to be written is refused
// too, as not regular: the program never writes into the file a planted link points to.
namespace lumeno::platform {

enum class FileAccess { Ok, Missing, NotRegular, Failed };

// A file opened for writing, emptied first (created if missing); closed when it goes.
class RegularFileWriter {
 public:
  RegularFileWriter() = default;
  RegularFileWriter(const RegularFileWriter&) = delete;
  RegularFileWriter& operator=(const RegularFileWriter&) = delete;
  ~RegularFileWriter();

  // Missing means that the folder is missing.
  FileAccess open(const std::filesystem::path& file);
  [[nodiscard]] bool isOpen() const { return handle_ != kClosed; }
  // Writes all the bytes; false when they could not all be written (a full disk).
  bool write(std::string_view bytes);
  bool close();

 private:
  // A file descriptor, or a Windows HANDLE; -1 is neither a descriptor nor a file's HANDLE.
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
};

// Replaces the file's content with the bytes: the writer's rules, the same on every platform.
inline FileAccess writeRegularFile(const std::filesystem::path& file, std::string_view bytes) {
  RegularFileWriter writer;
  const FileAccess opened = writer.open(file);
  if (opened != FileAccess::Ok) return opened;
  const bool written = writer.write(bytes);
  return writer.close() && written ? FileAccess::Ok : FileAccess::Failed;
}

// Hands the file's content to `sink` piece by piece, so that no caller needs it whole.
FileAccess readRegularFile(const std::filesystem::path& file,
                           const std::function<void(std::string_view)>& sink);

}  // namespace lumeno::platform
