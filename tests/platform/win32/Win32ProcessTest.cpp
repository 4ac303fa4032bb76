// SPDX-License-Identifier: GPL-3.0-or-later
// Processes under Windows: the tools' runner, the single-instance mutex and the program's folder.
#include <filesystem>
#include <fstream>
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

// What a run reports from the reader thread; read once the process has been waited for.
// (Stopping and Ctrl+C are checked through the tools' runner, which drives this process.)
struct RunRecord {
  std::string output;
  bool ended = false;
  unsigned exitCode = 0;

  ToolProcess::Output onOutput() {
    return [this](std::string_view bytes) { output += bytes; };
  }
  ToolProcess::Ended onEnded() {
    return [this](unsigned code) {
      ended = true;
      exitCode = code;
    };
  }
};

// The command line is quoted so that the system's own splitting (the stand-in's) reads each
// argument back whole; the launcher quotes its arguments the same way.
TEST(Win32ToolProcess, EachArgumentArrivesWholeAndNoneIsReadAsAnOption) {
  test::TempFolder temp;
  const fs::path folder = temp.path() / fs::path(u8"R\u00E9sultats \u540D\u524D");
  fs::create_directories(folder);
  Win32ToolProcess process;
  RunRecord record;
  std::string error;
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
  ASSERT_TRUE(process.start(built(LUMENO_STAND_IN_ECHO), arguments, folder, record.onOutput(),
                            record.onEnded(), error))
      << error;
  process.wait();
  EXPECT_TRUE(record.ended);
  EXPECT_FALSE(process.running());
  EXPECT_EQ(record.exitCode, 3U);
  std::string expected;
  for (const std::string& argument : arguments) expected += "[" + argument + "]\n";
  expected += "cwd: " + pathText(folder) + "\n";
  EXPECT_EQ(record.output, expected);
}

TEST(Win32SingleInstance, ASecondCopyIsRefusedUntilTheFirstHasGone) {
  const std::wstring name = L"Local\\Lumeno.Test." + std::to_wstring(::GetCurrentProcessId());
  {
    const NamedMutexInstance first(name);
    EXPECT_TRUE(first.acquired());
    const NamedMutexInstance second(name);
    EXPECT_FALSE(second.acquired());
  }
  const NamedMutexInstance afterwards(name);
  EXPECT_TRUE(afterwards.acquired());
}

TEST(Win32ProgramFolder, AFolderNamedInAnyScriptFindsItsSettingsAndStartsFromThere) {
  test::TempFolder temp;
  const fs::path folder =
      temp.path() / fs::path(u8"Lum\u00E9no \u0416\u0443\u0440\u043D\u0430\u043B \u540D\u524D");
  fs::create_directories(folder);
  const fs::path probe = folder / "Lumeno.exe";
  fs::copy_file(built(LUMENO_FOLDER_PROBE), probe);
  const std::string folderText = pathText(folder);

  for (const bool withSettings : {false, true}) {
    if (withSettings) std::ofstream(folder / "Lumeno.ini") << "[Options]\n";
    Win32ToolProcess process;
    RunRecord record;
    std::string error;
    ASSERT_TRUE(process.start(probe, {}, {}, record.onOutput(), record.onEnded(), error)) << error;
    process.wait();
    EXPECT_EQ(record.output, folderText + "\n" + (withSettings ? "ini found" : "no ini") + "\n" + folderText +
                                 "\\Lumeno.exe\n");
  }
}

}  // namespace
}  // namespace lumeno::platform
