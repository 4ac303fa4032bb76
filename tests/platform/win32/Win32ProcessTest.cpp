// SPDX-License-Identifier: GPL-3.0-or-later
// Processes under Windows: the tools' runner, the single-instance mutex and the program's folder.
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "common/PathText.h"
#include "platform/win32/SingleInstance.h"
#include "platform/win32/Win32ToolProcess.h"

namespace lumeno::platform {
namespace {

namespace fs = std::filesystem;

// The build names its files by their Linux paths; Wine shows the Linux root as drive Z:.
fs::path built(const wchar_t* linuxPath) {
  return fs::path(L"Z:" + std::wstring(linuxPath));
}

// Collects what a run reports, from the reader thread, and lets the test wait for it.
struct RunRecord {
  std::mutex lock;
  std::condition_variable changed;
  std::string output;
  bool ended = false;
  unsigned exitCode = 0;

  ToolProcess::Output onOutput() {
    return [this](std::string_view bytes) {
      const std::lock_guard guard(lock);
      output += bytes;
      changed.notify_all();
    };
  }
  ToolProcess::Ended onEnded() {
    return [this](unsigned code) {
      const std::lock_guard guard(lock);
      ended = true;
      exitCode = code;
      changed.notify_all();
    };
  }
  void waitForOutput(std::string_view text) {
    std::unique_lock guard(lock);
    changed.wait(guard, [&] { return output.find(text) != std::string::npos || ended; });
  }
};

TEST(Win32ToolProcess, EachArgumentArrivesWholeAndNoneIsReadAsAnOption) {
  test::TempFolder temp;
  const fs::path folder = temp.path() / fs::path(u8"R\u00E9sultats \u540D\u524D");
  fs::create_directories(folder);
  Win32ToolProcess process;
  RunRecord record;
  std::string error;
  const std::vector<std::string> arguments = {
      "-n",         "4",           "two words", "quote\"inside",
      "trailing\\", "-t /? & | >", "",          reinterpret_cast<const char*>(u8"\u0416\u0443\u0440")};
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

TEST(Win32ToolProcess, StopEndsAToolThatWouldRunForEverAndAMissingToolSaysWhy) {
  Win32ToolProcess process;
  RunRecord record;
  std::string error;
  ASSERT_TRUE(
      process.start(built(LUMENO_STAND_IN_BLOCK), {}, {}, record.onOutput(), record.onEnded(), error));
  record.waitForOutput("started\n");  // its first output arrived while it still runs
  EXPECT_EQ(record.output, "started\n");
  EXPECT_TRUE(process.running());
  process.stop();
  process.wait();
  EXPECT_TRUE(record.ended);
  EXPECT_FALSE(process.running());

  RunRecord never;
  EXPECT_FALSE(process.start(fs::path(L"C:\\no such folder\\ping.exe"), {"127.0.0.1"}, {}, never.onOutput(),
                             never.onEnded(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(never.ended);
}

TEST(Win32ToolProcess, AnInterruptReachesTheToolAsCtrlCWouldSoItsSummaryStillComes) {
  Win32ToolProcess process;
  RunRecord record;
  std::string error;
  EXPECT_FALSE(process.interrupt());  // nothing runs
  ASSERT_TRUE(
      process.start(built(LUMENO_STAND_IN_SUMMARY), {}, {}, record.onOutput(), record.onEnded(), error));
  record.waitForOutput("TTL=128\r\n");
  EXPECT_NE(process.processId(), 0U);
  EXPECT_TRUE(process.interrupt());
  process.wait();
  EXPECT_EQ(record.output,
            "Reply from 127.0.0.1: bytes=32 time<1ms TTL=128\r\n\r\nPing statistics for 127.0.0.1:\r\n"
            "    Packets: Sent = 1, Received = 1, Lost = 0 (0% loss),\r\nControl-C\r\n");
  EXPECT_EQ(record.exitCode, 0xC000013AU);
  EXPECT_EQ(process.processId(), 0U);

  // This program went on through the Ctrl+C, and the next tool still hears one.
  RunRecord again;
  ASSERT_TRUE(
      process.start(built(LUMENO_STAND_IN_SUMMARY), {}, {}, again.onOutput(), again.onEnded(), error));
  again.waitForOutput("TTL=128\r\n");
  EXPECT_TRUE(process.interrupt());
  process.wait();
  EXPECT_NE(again.output.find("Control-C"), std::string::npos) << again.output;
}

TEST(Win32SingleInstance, ASecondCopyIsRefusedUntilTheFirstHasGone) {
  const std::wstring name = L"Local\\Lumeno.Test." + std::to_wstring(::GetCurrentProcessId());
  {
    const SingleInstance first(name);
    EXPECT_TRUE(first.acquired());
    const SingleInstance second(name);
    EXPECT_FALSE(second.acquired());
  }
  const SingleInstance afterwards(name);
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
