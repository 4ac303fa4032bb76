#include "platform/ProfileFile.h"

#include <optional>
#include <string>
#include <system_error>

#include <sys/stat.h>

#include "platform/Files.h"
#include "common/ProfileText.h"

namespace lumeno::platform {
namespace {

// A symbolic link stays a link: the file it points to is the one that changes.
std::filesystem::path resolved(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_symlink(file, error)) return file;
  const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
  return error ? file : target;
}

}  // namespace

ProfileRead readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultText, std::size_t size) {
  const std::optional<std::string> bytes = readFile(file);
  settings::ProfileString read = settings::readProfileText(
      bytes ? std::string_view(*bytes) : std::string_view(), section, key, defaultText, size);
  return {read.count, std::move(read.text)};
}

bool writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::filesystem::path target = resolved(file);
  std::string old;
  struct stat status {};
  const bool exists = ::stat(target.c_str(), &status) == 0;
  if (exists) {
    if (!S_ISREG(status.st_mode)) return false;
    std::optional<std::string> bytes = readFile(target);
    if (!bytes) return false;  // never replace a file we could not read with a near-empty one
    old = std::move(*bytes);
  }
  const std::optional<std::string> updated = settings::writeProfileText(old, section, key, value);
  if (!updated) return false;
  if (exists && *updated == old) return true;  // it already says so: nothing to replace
  // Read-only means read-only, also for a program that runs with the rights to ignore it.
  if (exists && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return replaceFileAtomically(target, *updated);
}

}  // namespace lumeno::platform
