// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegularFile.h"

#include <algorithm>
#include <array>

#include <windows.h>

#include "platform/win32/Handle.h"

namespace lumeno::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileAccess failedWith(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return FileAccess::Missing;
    case ERROR_BAD_DEV_TYPE:  // a named pipe, looked at
    case ERROR_PIPE_BUSY:     // a named pipe with no instance free
    case ERROR_DIRECTORY: return FileAccess::NotRegular;
    default: return FileAccess::Failed;
  }
}

// Looked at before any open, so that a folder is refused without being touched. A file about to
// be written must not be a reparse point either (a symbolic link, a junction): the program never
// writes into the file a planted link points to.
constexpr DWORD kNotWritable = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
FileAccess lookBeforeOpening(const std::filesystem::path& file, DWORD refused) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return failedWith(::GetLastError());
  return (attributes & refused) != 0 ? FileAccess::NotRegular : FileAccess::Ok;
}

// What was opened may be a device or a pipe under a file's name (NUL, CON, \\.\pipe\...), or the
// file may have been swapped for a folder or a link between the look and the open.
bool isRegular(HANDLE file, DWORD refused) {
  if (::GetFileType(file) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  return ::GetFileInformationByHandle(file, &info) != FALSE && (info.dwFileAttributes & refused) == 0;
}

HANDLE asHandle(std::intptr_t value) {
  return reinterpret_cast<HANDLE>(value);  // NOLINT(performance-no-int-to-ptr): kept as a number
}

}  // namespace

RegularFileWriter::~RegularFileWriter() {
  close();
}

FileAccess RegularFileWriter::open(const std::filesystem::path& file) {
  close();
  const FileAccess look = lookBeforeOpening(file, kNotWritable);
  if (look != FileAccess::Ok && look != FileAccess::Missing) return look;
  // No CREATE_ALWAYS here: only a file known to be regular is emptied. A link is opened itself,
  // never what it points to, and refused below.
  Handle opened(::CreateFileW(file.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!opened.valid()) return failedWith(::GetLastError());
  if (!isRegular(opened.get(), kNotWritable)) return FileAccess::NotRegular;
  if (::SetEndOfFile(opened.get()) == FALSE) return FileAccess::Failed;  // at its start, just opened
  handle_ = reinterpret_cast<std::intptr_t>(opened.release());
  return FileAccess::Ok;
}

bool RegularFileWriter::write(std::string_view bytes) {
  if (!isOpen()) return false;
  while (!bytes.empty()) {
    const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), std::size_t{1} << 30));
    DWORD written = 0;
    // A full disk fails here (ERROR_DISK_FULL) or writes less than asked.
    if (::WriteFile(asHandle(handle_), bytes.data(), piece, &written, nullptr) == FALSE || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool RegularFileWriter::close() {
  if (!isOpen()) return true;
  const HANDLE file = asHandle(handle_);
  handle_ = kClosed;
  return ::CloseHandle(file) != FALSE;
}

FileAccess readRegularFile(const std::filesystem::path& file,
                           const std::function<void(std::string_view)>& sink) {
  const FileAccess look = lookBeforeOpening(file, FILE_ATTRIBUTE_DIRECTORY);
  if (look != FileAccess::Ok) return look;
  const Handle opened(::CreateFileW(file.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!opened.valid()) return failedWith(::GetLastError());
  if (!isRegular(opened.get(), FILE_ATTRIBUTE_DIRECTORY)) return FileAccess::NotRegular;
  std::array<char, std::size_t{64} * 1024> buffer{};
  for (;;) {
    DWORD read = 0;
    if (::ReadFile(opened.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) == FALSE)
      return FileAccess::Failed;
    if (read == 0) return FileAccess::Ok;
    sink(std::string_view(buffer.data(), read));
  }
}

}  // namespace lumeno::platform
