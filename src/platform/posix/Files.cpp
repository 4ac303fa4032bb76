// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Files.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/Descriptor.h"
#include "platform/posix/FileReplacement.h"
#include "platform/posix/FolderLock.h"

namespace lumeno::platform {
namespace {

constexpr time_t kLeftoverAgeSeconds = 60;

std::filesystem::path folderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The whole file, its room reserved at once from its size.
std::optional<std::string> readWhole(int fd) {
  std::string out;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
  std::array<char, std::size_t{64} * 1024> buffer{};
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) return out;
    out.append(buffer.data(), static_cast<std::size_t>(n));
  }
}

// Opens a file the program writes or reads without ever blocking: a named pipe with no one at the
// other end would otherwise hang the open (and the whole program) for good. Only regular files
// are used; anything else is closed again and reported as a failure (-1). Files opened for
// writing are opened with O_NOFOLLOW by the callers: a link planted in their place would make the
// program write into whatever file it points to.
int openRegular(const std::filesystem::path& file, int flags) {
  const int fd = ::open(file.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

bool appendToFile(const std::filesystem::path& file, std::string_view bytes) {
  Descriptor fd(openRegular(file, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW));
  if (!fd.valid()) return false;
  // One write call as a rule: with O_APPEND the kernel places it whole at the end of the file.
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const ssize_t n = ::write(fd.get(), rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  if (rest.empty()) return fd.close();
  // A full disk took only the head of the bytes: cut it off again, or the next append would be
  // glued onto a torn line. Only while it is still the end of the file: with O_APPEND the offset
  // is where the head ends.
  const auto head = static_cast<off_t>(bytes.size() - rest.size());
  const off_t end = ::lseek(fd.get(), 0, SEEK_CUR);
  struct stat st {};
  if (head > 0 && end >= head && ::fstat(fd.get(), &st) == 0 && st.st_size == end) {
    [[maybe_unused]] const int cut = ::ftruncate(fd.get(), end - head);
  }
  return false;
}

bool replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                           std::chrono::milliseconds lockWait) {
  mode_t mode = 0644;
  struct stat old {};
  if (::stat(file.c_str(), &old) == 0) {
    // A read-only file stays as it is, as the user made it.
    if (!userMayChange(file, old.st_mode)) return false;
    mode = old.st_mode & 07777;
  }
  const FolderLock lock(folderOf(file), lockWait);
  if (lock.state() == FolderLock::State::Busy) return false;
  FileReplacement replacement(file, mode);
  return replacement.append(bytes) && replacement.commit();
}

void removeLeftoverTemporaries(const std::filesystem::path& file) {
  const std::filesystem::path target = replacedFile(file);
  const std::filesystem::path folder = folderOf(target);
  // Every writer holds the folder's lock while its temporary has a name, so when nobody holds it
  // every temporary there is a leftover. Otherwise a young one may be another copy's, at work.
  const FolderLock lock(folder, std::chrono::milliseconds(0));
  const bool nobodyWriting = lock.state() == FolderLock::State::Held;
  Descriptor dirFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dirFd.valid()) return;
  DIR* dir = ::fdopendir(::dup(dirFd.get()));
  if (dir == nullptr) return;
  const std::string name = target.filename().string();
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  while (const dirent* entry = ::readdir(dir)) {
    if (!isTemporaryNameOf(entry->d_name, name)) continue;
    struct stat st {};
    if (::fstatat(dirFd.get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
      continue;
    if (nobodyWriting || now.tv_sec - st.st_mtim.tv_sec > kLeftoverAgeSeconds) {
      ::unlinkat(dirFd.get(), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

bool writeFile(const std::filesystem::path& file, std::string_view bytes) {
  Descriptor fd(openRegular(file, O_WRONLY | O_TRUNC | O_CREAT | O_NOFOLLOW));
  if (!fd.valid()) return false;
  const bool ok = writeAll(fd.get(), bytes);
  return fd.close() && ok;
}

std::optional<std::string> readFile(const std::filesystem::path& file) {
  Descriptor fd(openRegular(file, O_RDONLY));
  if (!fd.valid()) return std::nullopt;
  return readWhole(fd.get());
}

FileIdentity identifyFile(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return {};
  FileIdentity id;
  id.exists = true;
  id.device = static_cast<std::uint64_t>(st.st_dev);
  id.inode = static_cast<std::uint64_t>(st.st_ino);
  id.size = static_cast<std::uint64_t>(st.st_size);
  id.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  id.regular = S_ISREG(st.st_mode);
  return id;
}

std::optional<std::size_t> readFileAt(const std::filesystem::path& file, const FileIdentity& expected,
                                      std::uint64_t offset, std::span<char> buffer) {
  Descriptor fd(openRegular(file, O_RDONLY));
  if (!fd.valid()) return std::nullopt;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || static_cast<std::uint64_t>(st.st_dev) != expected.device ||
      static_cast<std::uint64_t>(st.st_ino) != expected.inode) {
    return std::nullopt;
  }
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n =
        ::pread(fd.get(), buffer.data() + done, buffer.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool fileExists(const std::filesystem::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace lumeno::platform
