// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Files.h"

#include <array>
#include <string>

#include <windows.h>

#include "platform/win32/Handle.h"

namespace lumeno::platform {
namespace {

// Writes as much of the bytes as goes in; `at` is where (nullptr: at the file pointer). What
// was written, all of it unless the disk is full.
std::size_t writeAll(HANDLE file, std::string_view bytes, OVERLAPPED* at = nullptr) {
  const std::size_t size = bytes.size();
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000U ? 0x40000000U : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), chunk, &written, at) != FALSE;
    bytes.remove_prefix(written);
    if (!ok || written == 0) break;
  }
  return size - bytes.size();
}

// Opens a file that is a plain file on disk; a device or a pipe under a file's name is refused,
// so no open or read can wait on something that never answers.
Handle openFile(const std::filesystem::path& file, DWORD access, DWORD disposition) {
  Handle handle(::CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (handle.valid() && ::GetFileType(handle.get()) != FILE_TYPE_DISK) handle.close();
  return handle;
}

// Opens a file to be written (created if missing), the file itself: a reparse point in its place
// (a symbolic link, a junction) is refused like a folder or a device, so the program never writes
// into the file a planted link points to.
Handle openForWriting(const std::filesystem::path& file) {
  Handle handle(::CreateFileW(file.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle.valid() &&
      (::GetFileType(handle.get()) != FILE_TYPE_DISK ||
       ::GetFileInformationByHandle(handle.get(), &info) == FALSE ||
       (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)) {
    handle.close();
  }
  return handle;
}

}  // namespace

bool appendToFile(const std::filesystem::path& file, std::string_view bytes) {
  Handle handle = openForWriting(file);
  if (!handle.valid()) return false;
  // This offset writes at the end of the file, wherever it is by then.
  OVERLAPPED atTheEnd{};
  atTheEnd.Offset = 0xFFFFFFFFU;
  atTheEnd.OffsetHigh = 0xFFFFFFFFU;
  const std::size_t written = writeAll(handle.get(), bytes, &atTheEnd);
  if (written == bytes.size()) return handle.close();
  // A full disk took only the head of the bytes: cut it off again, or the next append would be
  // glued onto a torn line.
  LARGE_INTEGER size{};
  if (written > 0 && ::GetFileSizeEx(handle.get(), &size) != FALSE &&
      static_cast<std::uint64_t>(size.QuadPart) >= written) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size.QuadPart - static_cast<LONGLONG>(written);
    ::SetFileInformationByHandle(handle.get(), FileEndOfFileInfo, &end, sizeof(end));
  }
  return false;
}

bool replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                           std::chrono::milliseconds /*lockWait*/) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // A read-only settings file stays as it is, as the user made it.
  if (exists && ((attributes & FILE_ATTRIBUTE_READONLY) != 0 || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
    return false;
  // So does one the user may not write (its security says so), even in a folder of the user's,
  // where the replacement would otherwise take its place and become the user's file. Opening it
  // for writing, without changing it, lets the system judge.
  if (exists && !openFile(file, FILE_WRITE_DATA, OPEN_EXISTING).valid()) return false;
  std::filesystem::path temporary = file;
  temporary += L".new";
  {
    Handle handle = openFile(temporary, GENERIC_WRITE, CREATE_ALWAYS);
    if (!handle.valid()) return false;
    const bool written =
        writeAll(handle.get(), bytes) == bytes.size() && ::FlushFileBuffers(handle.get()) != FALSE;
    if (!handle.close() || !written) {
      ::DeleteFileW(temporary.c_str());
      return false;
    }
  }
  // ReplaceFileW keeps the old file's attributes and security; MoveFileExW for a new file.
  const bool replaced = exists ? ::ReplaceFileW(file.c_str(), temporary.c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE
                               : ::MoveFileExW(temporary.c_str(), file.c_str(),
                                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!replaced) ::DeleteFileW(temporary.c_str());
  return replaced;
}

void removeLeftoverTemporaries(const std::filesystem::path& file) {
  // The one temporary a replacement uses, left by a crash; one younger than a minute may be
  // another copy's, at work.
  std::filesystem::path temporary = file;
  temporary += L".new";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (::GetFileAttributesExW(temporary.c_str(), GetFileExInfoStandard, &data) == FALSE ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return;
  }
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32U) | time.dwLowDateTime;
  };
  constexpr std::uint64_t kMinute = 60ULL * 10'000'000ULL;  // in 100-nanosecond steps
  if (ticks(now) > ticks(data.ftLastWriteTime) + kMinute) ::DeleteFileW(temporary.c_str());
}

bool writeFile(const std::filesystem::path& file, std::string_view bytes) {
  // Emptied only once it is known to be a plain file.
  Handle handle = openForWriting(file);
  if (!handle.valid() || ::SetEndOfFile(handle.get()) == FALSE) return false;
  const bool ok = writeAll(handle.get(), bytes) == bytes.size();
  return handle.close() && ok;
}

std::optional<std::string> readFile(const std::filesystem::path& file) {
  Handle handle = openFile(file, GENERIC_READ, OPEN_EXISTING);
  if (!handle.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  std::string out;
  if (::GetFileSizeEx(handle.get(), &size) != FALSE && size.QuadPart > 0)
    out.reserve(static_cast<std::size_t>(size.QuadPart));
  std::array<char, std::size_t{64} * 1024> buffer{};
  for (;;) {
    DWORD read = 0;
    if (::ReadFile(handle.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) == FALSE)
      return std::nullopt;
    if (read == 0) return out;
    out.append(buffer.data(), read);
  }
}

FileIdentity identifyFile(const std::filesystem::path& file) {
  Handle handle(::CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.valid() || ::GetFileInformationByHandle(handle.get(), &info) == FALSE) return {};
  FileIdentity id;
  id.exists = true;
  id.regular = ::GetFileType(handle.get()) == FILE_TYPE_DISK &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  id.device = info.dwVolumeSerialNumber;
  id.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32U) | info.nFileIndexLow;
  id.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32U) | info.nFileSizeLow;
  // 100-nanosecond steps.
  id.modifiedNs =
      static_cast<std::int64_t>(((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32U) |
                                 info.ftLastWriteTime.dwLowDateTime) *
                                100U);
  return id;
}

std::optional<std::size_t> readFileAt(const std::filesystem::path& file, const FileIdentity& expected,
                                      std::uint64_t offset, std::span<char> buffer) {
  Handle handle = openFile(file, GENERIC_READ, OPEN_EXISTING);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.valid() || ::GetFileInformationByHandle(handle.get(), &info) == FALSE) return std::nullopt;
  const std::uint64_t index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32U) | info.nFileIndexLow;
  if (info.dwVolumeSerialNumber != expected.device || index != expected.inode) return std::nullopt;
  std::size_t done = 0;
  while (done < buffer.size()) {
    const std::uint64_t position = offset + done;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFU);
    at.OffsetHigh = static_cast<DWORD>(position >> 32U);
    const std::size_t left = buffer.size() - done;
    const DWORD chunk = left > 0x40000000U ? 0x40000000U : static_cast<DWORD>(left);
    DWORD read = 0;
    if (::ReadFile(handle.get(), buffer.data() + done, chunk, &read, &at) == FALSE) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;
      return std::nullopt;
    }
    if (read == 0) break;
    done += read;
  }
  return done;
}

bool fileExists(const std::filesystem::path& file) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace lumeno::platform
