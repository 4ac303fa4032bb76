// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' result files under Windows: never a device, a pipe or a link.
#include <filesystem>
#include <string>

#include <windows.h>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/Files.h"
#include "platform/RegularFile.h"
#include "platform/win32/Handle.h"

namespace lumeno::platform {
namespace {

namespace fs = std::filesystem;

TEST(Win32RegularFile, ADeviceOrAPipeInTheFilesPlaceIsRefusedAtOnce) {
  test::TempFolder temp;
  // A device answers to its name in any folder.
  RegularFileWriter writer;
  EXPECT_EQ(writer.open(temp / "NUL"), FileAccess::NotRegular);
  EXPECT_FALSE(writer.isOpen());
  EXPECT_EQ(readRegularFile(temp / "NUL", [](std::string_view) {}), FileAccess::NotRegular);

  // A named pipe whose server waits for a client: neither the write nor the read waits for it.
  const std::wstring name = L"\\\\.\\pipe\\lumeno-test-" + std::to_wstring(::GetCurrentProcessId());
  const Handle server(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 2,
                                         4096, 4096, 0, nullptr));
  ASSERT_TRUE(server.valid());
  EXPECT_EQ(writeRegularFile(fs::path(name), "text"), FileAccess::NotRegular);
  std::string read;
  EXPECT_EQ(readRegularFile(fs::path(name), [&](std::string_view piece) { read += piece; }),
            FileAccess::NotRegular);
  EXPECT_EQ(read, "");
}

// A link planted in the place of a result file or the log would have the program write into the
// file it points to.
TEST(Win32RegularFile, NoWriteGoesThroughASymbolicLink) {
  test::TempFolder temp;
  temp.write("notes.txt", "the user's notes");
  const fs::path link = temp / "ping.txt";
  const DWORD attributes = ::CreateSymbolicLinkW(link.c_str(), (temp / "notes.txt").c_str(),
                                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)
                               ? ::GetFileAttributesW(link.c_str())
                               : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    GTEST_SKIP() << "no symbolic links here (Wine 8 makes none; Windows needs the right to)";
  EXPECT_EQ(writeRegularFile(link, "ping output"), FileAccess::NotRegular);
  EXPECT_FALSE(appendToFile(link, "an entry\r\n"));
  EXPECT_FALSE(writeFile(link, {}));
  EXPECT_EQ(temp.read("notes.txt"), "the user's notes");
}

}  // namespace
}  // namespace lumeno::platform
