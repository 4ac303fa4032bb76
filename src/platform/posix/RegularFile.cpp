// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegularFile.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/Descriptor.h"

namespace lumeno::platform {
namespace {

// Looked at before any open, so that not even an open touches a pipe or a device. A file about
// to be written is looked at itself: a symbolic link in its place is refused, never followed.
enum class Look { Followed, Itself };
FileAccess lookBeforeOpening(const std::filesystem::path& file, Look look) {
  struct stat st {};
  const int looked = look == Look::Itself ? ::lstat(file.c_str(), &st) : ::stat(file.c_str(), &st);
  if (looked != 0) return errno == ENOENT ? FileAccess::Missing : FileAccess::Failed;
  return S_ISREG(st.st_mode) ? FileAccess::Ok : FileAccess::NotRegular;
}

// The file may have been swapped between the look and the open: look again at what was opened.
bool isRegular(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

FileAccess failedOpen(int error) {
  switch (error) {
    case ENOENT: return FileAccess::Missing;
    case ENXIO:  // a named pipe without a reader
    case ELOOP:  // a symbolic link, refused by O_NOFOLLOW
    case EISDIR:
    case EWOULDBLOCK: return FileAccess::NotRegular;
    default: return FileAccess::Failed;
  }
}

}  // namespace

RegularFileWriter::~RegularFileWriter() {
  close();
}

FileAccess RegularFileWriter::open(const std::filesystem::path& file) {
  close();
  const FileAccess look = lookBeforeOpening(file, Look::Itself);
  if (look != FileAccess::Ok && look != FileAccess::Missing) return look;
  // No O_TRUNC here: only a file known to be regular is emptied.
  const int fd =
      ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) return failedOpen(errno);
  handle_ = fd;
  if (!isRegular(fd)) {
    close();
    return FileAccess::NotRegular;
  }
  if (::ftruncate(fd, 0) != 0) {
    close();
    return FileAccess::Failed;
  }
  return FileAccess::Ok;
}

bool RegularFileWriter::write(std::string_view bytes) {
  return isOpen() && writeAll(static_cast<int>(handle_), bytes);
}

bool RegularFileWriter::close() {
  if (!isOpen()) return true;
  const auto fd = static_cast<int>(handle_);
  handle_ = kClosed;
  return ::close(fd) == 0;
}

FileAccess readRegularFile(const std::filesystem::path& file,
                           const std::function<void(std::string_view)>& sink) {
  const FileAccess look = lookBeforeOpening(file, Look::Followed);
  if (look != FileAccess::Ok) return look;
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return failedOpen(errno);
  if (!isRegular(fd.get())) return FileAccess::NotRegular;
  std::array<char, std::size_t{64} * 1024> buffer{};
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileAccess::Failed;
    }
    if (n == 0) return FileAccess::Ok;
    sink(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
}

}  // namespace lumeno::platform
