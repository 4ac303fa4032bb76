// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' result files: a shorter run replacing a longer one is the IP tools' end-to-end case.
#include <filesystem>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/RegularFile.h"

namespace lumeno::platform {
namespace {

namespace fs = std::filesystem;

std::pair<std::string, FileAccess> readAll(const fs::path& file) {
  std::string text;
  const FileAccess access = readRegularFile(file, [&](std::string_view piece) { text += piece; });
  return {text, access};
}

TEST(RegularFile, AResultFileInAFolderNamedInAnyScriptIsWrittenAndReadBack) {
  test::TempFolder temp;
  const fs::path folder = temp.path() / fs::path(u8"R\u00E9sultats \u0416\u0443\u0440 \u540D\u524D");
  fs::create_directories(folder);
  const fs::path file = folder / "ping.txt";
  ASSERT_EQ(writeRegularFile(file, "No ping has been done yet"), FileAccess::Ok);
  EXPECT_EQ(readAll(file).first, "No ping has been done yet");
  RegularFileWriter writer;
  ASSERT_EQ(writer.open(file), FileAccess::Ok);
  EXPECT_TRUE(writer.write("Reply from 127.0.0.1\r\n"));
  EXPECT_TRUE(writer.write(std::string(200'000, 'x')));  // more than one piece of the reader
  EXPECT_TRUE(writer.close());
  EXPECT_FALSE(writer.isOpen() || writer.write("more"));
  EXPECT_TRUE(writer.close());  // a second close has nothing to do
  EXPECT_EQ(readAll(file), std::pair("Reply from 127.0.0.1\r\n" + std::string(200'000, 'x'), FileAccess::Ok));
  EXPECT_EQ(readAll(folder / "netstat.txt"), std::pair(std::string(), FileAccess::Missing));
  EXPECT_EQ(writer.open(folder / "gone" / "ping.txt"), FileAccess::Missing);  // the folder is missing

#ifndef _WIN32  // counted where the process lists its descriptors
  // A writer opened anew, or gone, lets go of its file: a window runs one tool after another.
  const auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
  const auto before = openFiles();
  {
    RegularFileWriter again;
    ASSERT_EQ(again.open(file), FileAccess::Ok);
    ASSERT_EQ(again.open(folder / "netstat.txt"), FileAccess::Ok);
    EXPECT_EQ(openFiles(), before + 1);
  }
  EXPECT_EQ(openFiles(), before);
#endif

  // A folder in a file's place is refused at once and left as it is.
  fs::create_directories(folder / "trace.txt" / "inside");
  EXPECT_EQ(writeRegularFile(folder / "trace.txt", "text"), FileAccess::NotRegular);
  EXPECT_EQ(readAll(folder / "trace.txt"), std::pair(std::string(), FileAccess::NotRegular));
  EXPECT_TRUE(fs::is_directory(folder / "trace.txt" / "inside"));
}

}  // namespace
}  // namespace lumeno::platform
