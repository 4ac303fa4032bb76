// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/posix/Descriptor.h"

namespace lumeno::platform {
namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path accountHome() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

std::string reason(int error) {
  return std::strerror(error);
}

}  // namespace

UserEnvironment readUserEnvironment() {
  UserEnvironment environment;
  const std::string home = variable("HOME");
  environment.home = (!home.empty() && home.front() == '/') ? std::filesystem::path(home) : accountHome();
  environment.xdgConfigHome = variable("XDG_CONFIG_HOME");
  environment.xdgStateHome = variable("XDG_STATE_HOME");
  return environment;
}

std::optional<std::string> makeFolders(const std::filesystem::path& folder) {
  std::filesystem::path partial;
  for (const auto& part : folder) {
    partial /= part;
    if (part.empty()) continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return reason(errno);
  }
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0) return reason(errno);
  if (!S_ISDIR(status.st_mode)) return reason(ENOTDIR);
  return std::nullopt;
}

std::optional<std::string> copyNewFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  errno = 0;
  const std::optional<std::string> bytes = readFile(from);
  if (!bytes) return reason(errno != 0 ? errno : EIO);
  const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : ".";
  std::string pattern = (folder / ("." + to.filename().string() + ".XXXXXX")).string();
  Descriptor fd(::mkstemp(pattern.data()));
  if (!fd.valid()) return reason(errno);
  int error = 0;
  const char* data = bytes->data();
  std::size_t left = bytes->size();
  while (left > 0 && error == 0) {
    const ssize_t n = ::write(fd.get(), data, left);
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) {
      data += n;
      left -= static_cast<std::size_t>(n);
    }
  }
  // The user's own file: readable and writable by the user, as the umask allows for others.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (error == 0 && ::fchmod(fd.get(), 0666 & ~mask) != 0) error = errno;
  if (error == 0 && ::fsync(fd.get()) != 0) error = errno;
  if (!fd.close() && error == 0) error = errno != 0 ? errno : EIO;
  // link() never replaces: a file that appeared meanwhile is kept, and counts as done.
  if (error == 0 && ::link(pattern.c_str(), to.c_str()) != 0 && errno != EEXIST) error = errno;
  ::unlink(pattern.c_str());
  if (error != 0) return reason(error);
  return std::nullopt;
}

}  // namespace lumeno::platform
