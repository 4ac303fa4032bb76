// SPDX-License-Identifier: GPL-3.0-or-later
// Processes under Windows: the tools' runner, the single-instance mutex and the program's folder.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MessagePump.h"
#include "TempFolder.h"
#include "common/PathText.h"
#include "platform/win32/NamedMutexInstance.h"
#include "platform/win32/Win32ToolProcess.h"

namespace lumeno::platform {
namespace {

namespace fs = std::filesystem;

using test::built;

// Runs the program from the folder and returns all it printed, once it has ended with `exitCode`.
std::string runToEnd(const fs::path& program, const std::vector<std::string>& arguments,
                     const fs::path& folder, unsigned exitCode) {
  Win32ToolProcess process;
  std::string output;
  std::optional<unsigned> ended;
  std::string error;
  EXPECT_TRUE(process.start(
      program, arguments, folder, [&output](std::string_view bytes) { output += bytes; },
      [&ended](unsigned code) { ended = code; }, error))
      << error;
  process.wait();
  EXPECT_FALSE(process.running());
  EXPECT_EQ(ended, exitCode);
  return output;
}

// The command line is quoted so that the system's own splitting (the stand-in's) reads each
// argument back whole; the launcher quotes its arguments the same way. (Stopping and Ctrl+C are
// checked through the tools' runner, which drives this process.)
TEST(Win32ToolProcess, EachArgumentArrivesWholeInAFolderNamedInAnyScriptAndFindsItsSettingsThere) {
  test::TempFolder temp;
  const fs::path folder =
      temp.path() / fs::path(u8"Lum\u00E9no \u0416\u0443\u0440\u043D\u0430\u043B \u540D\u524D");
  fs::create_directories(folder);
  const std::vector<std::string> arguments = {"-n",
                                              "4",
                                              "two words",
                                              "quote\"inside",
                                              "trailing\\",
                                              "-t /? & | >",
                                              "",
                                              "back\\\\\"slash",
                                              "C:\\Program Files\\",
                                              reinterpret_cast<const char*>(u8"\u0416\u0443\u0440")};
  std::string expected;
  for (const std::string& argument : arguments) expected += "[" + argument + "]\n";
  const std::string folderText = pathText(folder);
  EXPECT_EQ(runToEnd(built(LUMENO_STAND_IN_ECHO), arguments, folder, 3),
            expected + "cwd: " + folderText + "\n");

  // The program started from there finds its folder, its settings and its own Run value.
  const fs::path probe = folder / "Lumeno.exe";
  fs::copy_file(built(LUMENO_FOLDER_PROBE), probe);
  for (const bool withSettings : {false, true}) {
    if (withSettings) std::ofstream(folder / "Lumeno.ini") << "[Options]\n";
    EXPECT_EQ(runToEnd(probe, {}, {}, 0), folderText + "\n" + (withSettings ? "ini found" : "no ini") + "\n" +
                                              folderText + "\\Lumeno.exe\n");
  }
}

TEST(Win32SingleInstance, ASecondCopyIsRefusedUntilTheFirstHasGone) {
  const std::wstring name = L"Local\\Lumeno.Test." + std::to_wstring(::GetCurrentProcessId());
  {
    const NamedMutexInstance first(name);
    EXPECT_TRUE(first.acquired());
    EXPECT_FALSE(NamedMutexInstance(name).acquired());
  }
  EXPECT_TRUE(NamedMutexInstance(name).acquired());
}

}  // namespace
}  // namespace lumeno::platform
