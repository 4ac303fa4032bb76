// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/FileReplacement.h"

#include <array>
#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeno::platform {
namespace {

constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kNameTail = 6;

// Copies through a buffer, for the pairs of files the kernel cannot copy between by itself.
bool copyByReading(int from, std::uint64_t offset, std::uint64_t length, int to) {
  std::array<char, std::size_t{128} * 1024> buffer{};
  while (length > 0) {
    const std::size_t want = length < buffer.size() ? static_cast<std::size_t>(length) : buffer.size();
    const ssize_t n = ::pread(from, buffer.data(), want, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // an error, or the file got shorter
    if (!writeAll(to, std::string_view(buffer.data(), static_cast<std::size_t>(n)))) return false;
    offset += static_cast<std::uint64_t>(n);
    length -= static_cast<std::uint64_t>(n);
  }
  return true;
}

std::string temporaryPath(const std::filesystem::path& file) {
  static std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> letter(0, kNameLetters.size() - 1);
  std::string tail;
  for (std::size_t i = 0; i < kNameTail; ++i) tail += kNameLetters[letter(random)];
  return (file.parent_path() / ("." + file.filename().string() + "." + tail)).string();
}

}  // namespace

bool userMayChange(const std::filesystem::path& file, mode_t mode) {
  return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
         ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0;
}

std::filesystem::path replacedFile(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_symlink(file, error)) return file;
  const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
  return error ? file : target;
}

bool isTemporaryNameOf(std::string_view name, std::string_view fileName) {
  const std::size_t head = fileName.size() + 2;
  if (name.size() != head + kNameTail || name[0] != '.' || name.substr(1, fileName.size()) != fileName ||
      name[head - 1] != '.') {
    return false;
  }
  return name.substr(head).find_first_not_of(kNameLetters) == std::string_view::npos;
}

FileReplacement::FileReplacement(std::filesystem::path file, mode_t mode, Temporary kind)
    : file_(std::move(file)), mode_(mode), fd_(-1) {
  if (!file_.has_parent_path()) file_ = std::filesystem::path(".") / file_;
  folder_ = file_.parent_path();
  if (kind == Temporary::Unnamed) {
    fd_.reset(::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    // Only a file system without unnamed files gets a named temporary; other failures (a
    // read-only or full folder) would fail that way too.
    if (fd_.valid() || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return;
  }
  openNamed();
}

FileReplacement::~FileReplacement() {
  if (!named_.empty()) ::unlink(named_.c_str());
}

bool FileReplacement::openNamed() {
  std::string pattern = (folder_ / ("." + file_.filename().string() + ".XXXXXX")).string();
  fd_.reset(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!fd_.valid()) return false;
  named_ = pattern;
  return true;
}

bool FileReplacement::append(std::string_view bytes) {
  return fd_.valid() && writeAll(fd_.get(), bytes);
}

bool FileReplacement::appendFrom(int from, std::uint64_t offset, std::uint64_t length) {
  if (!fd_.valid()) return false;
  auto in = static_cast<off_t>(offset);
  while (length > 0) {
    const ssize_t n = ::copy_file_range(from, &in, fd_.get(), nullptr, static_cast<std::size_t>(length), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return copyByReading(from, static_cast<std::uint64_t>(in), length, fd_.get());
    if (n == 0) return false;  // the file got shorter
    length -= static_cast<std::uint64_t>(n);
  }
  return true;
}

bool FileReplacement::giveName() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = temporaryPath(file_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
        ::linkat(fd_.get(), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
      named_ = name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  // Neither way of naming it works here (no /proc, no right to name by descriptor): copy the
  // content into a named temporary instead.
  const off_t size = ::lseek(fd_.get(), 0, SEEK_END);
  if (size < 0) return false;
  Descriptor unnamed(fd_.release());
  if (!openNamed()) return false;
  return appendFrom(unnamed.get(), 0, static_cast<std::uint64_t>(size)) && ::fchmod(fd_.get(), mode_) == 0 &&
         ::fsync(fd_.get()) == 0;
}

bool FileReplacement::commit() {
  if (!fd_.valid()) return false;
  if (::fchmod(fd_.get(), mode_) != 0 || ::fsync(fd_.get()) != 0) return false;
  if (named_.empty() && !giveName()) return false;
  if (!fd_.close() || ::rename(named_.c_str(), file_.c_str()) != 0) return false;
  named_.clear();
  // Make the rename itself durable.
  Descriptor folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) ::fsync(folder.get());
  return true;
}

}  // namespace lumeno::platform
