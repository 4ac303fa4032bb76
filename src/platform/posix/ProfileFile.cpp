// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <cerrno>
#include <memory>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/ProfileScan.h"
#include "formats/ProfileText.h"
#include "platform/posix/Descriptor.h"
#include "platform/posix/FileReplacement.h"
#include "platform/posix/FolderLock.h"

namespace lumeno::platform {
namespace {

constexpr std::size_t kPiece = std::size_t{256} * 1024;

// Opens a regular file for reading; never blocks on a pipe or device in its place. -1 (and errno)
// when that cannot be done.
int openRegular(const std::filesystem::path& file, struct stat& status) {
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) return -1;
  if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    errno = EINVAL;
    return -1;
  }
  return fd.release();
}

// Feeds the file to the scanner in pieces until the scanner has what it needs or the file ends.
// False on a read error.
bool scanFile(int fd, settings::ProfileScanner& scanner) {
  const std::unique_ptr<char[]> buffer(new char[kPiece]);
  for (;;) {
    const ssize_t n = ::read(fd, buffer.get(), kPiece);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      scanner.finish();
      return true;
    }
    scanner.feed(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
    if (scanner.settled()) return true;
  }
}

}  // namespace

ProfileRead readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultText, std::size_t size) {
  settings::ProfileScanner scanner(section, key, size, 0);
  struct stat status {};
  const Descriptor fd(openRegular(file, status));
  settings::ProfileString read = fd.valid() && scanFile(fd.get(), scanner)
                                     ? settings::profileReadResult(scanner.findings(), defaultText, size)
                                     : settings::readProfileText({}, section, key, defaultText, size);
  return {read.count, std::move(read.text)};
}

bool writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value, std::chrono::milliseconds lockWait) {
  if (!settings::canWriteProfileText(section, key, value)) return false;
  const std::filesystem::path target = replacedFile(file);
  const FolderLock lock(target.has_parent_path() ? target.parent_path() : ".", lockWait);
  // Without the lock the file can still be read (it is only ever replaced whole), which is enough
  // to see that it already holds the value; anything else must wait for the lock.
  const bool locked = lock.state() != FolderLock::State::Busy;

  struct stat status {};
  const Descriptor old(openRegular(target, status));
  const bool exists = old.valid();
  // Never replace a file we could not read (or that is no regular file) with a near-empty one.
  if (!exists && errno != ENOENT) return false;
  settings::ProfileScanner scanner(section, key, 0, value.size());
  if (!exists) {
    scanner.finish();
  } else if (!scanFile(old.get(), scanner)) {
    return false;
  }
  const std::optional<settings::ProfileEdit> edit =
      settings::profileEdit(scanner.findings(), section, key, value);
  if (!edit) return true;  // it already says so: nothing to replace
  if (!locked) return false;
  // Read-only means read-only, also for a program that runs with the rights to ignore it, and a
  // file the user may not write is never replaced by one of the user's own.
  if (exists && !userMayChange(target, status.st_mode)) return false;

  std::uint64_t size = 0;
  if (exists) {
    if (::fstat(old.get(), &status) != 0) return false;
    size = static_cast<std::uint64_t>(status.st_size);
  }
  const std::uint64_t rest = edit->at + edit->removed;
  if (rest > size) return false;  // the file changed under us
  FileReplacement replacement(target, exists ? status.st_mode & 07777 : 0644);
  return (!exists || replacement.appendFrom(old.get(), 0, edit->at)) && replacement.append(edit->inserted) &&
         (!exists || replacement.appendFrom(old.get(), rest, size - rest)) && replacement.commit();
}

}  // namespace lumeno::platform
