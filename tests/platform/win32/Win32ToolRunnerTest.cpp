// SPDX-License-Identifier: GPL-3.0-or-later
// What the Windows build's IP tools runner adds to a run's rules (RunStateTest): the system folder's
// tools, the refusal of a host like an option, a tool that ignores Ctrl+C.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "MessagePump.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "ui/win32/Win32ToolRunner.h"

namespace lumeno::win32ui {
namespace {

namespace fs = std::filesystem;
using iptools::RunEnd;

iptools::ToolRequest ping(const std::string& host) {
  iptools::ToolRequest request;
  request.count = "4";  // a ping by default
  request.host = host;
  return request;
}

struct RunnerFixture {
  explicit RunnerFixture(const wchar_t* standIn) : runner(&boxes) {
    runner.setProgramFinder([this, program = test::built(standIn)](const std::string& name) {
      asked.push_back(name);
      return program;
    });
    runner.setHandlers({[this](std::string_view bytes) {
                          output += bytes;
                          reportsFromOtherThreads += std::this_thread::get_id() != windowThread;
                        },
                        [this](RunEnd end) {
                          ended = end;
                          reportsFromOtherThreads += std::this_thread::get_id() != windowThread;
                        }});
  }
  bool waitForEnd() {
    return test::pumpUntil([this] { return ended.has_value(); });
  }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  Win32ToolRunner runner;
  std::vector<std::string> asked;
  std::string output;
  std::optional<RunEnd> ended;
  int reportsFromOtherThreads = 0;
  std::thread::id windowThread = std::this_thread::get_id();
};

TEST(Win32ToolRunner, TheToolsComeFromTheSystemFolderAndARefusedOrMissingOneSaysWhy) {
  // Never from the program's own folder, where a file of the same name could stand in for them.
  const fs::path system = Win32ToolRunner::systemProgram("ping.exe");
  wchar_t folderName[MAX_PATH]{};
  ::GetSystemDirectoryW(folderName, MAX_PATH);
  EXPECT_EQ(system, fs::path(folderName) / "ping.exe");

  RunnerFixture f(LUMENO_STAND_IN_ECHO);
  f.runner.start(ping("/?"), f.folder.path());
  EXPECT_TRUE(f.boxes.shown.empty());  // the message comes from the loop
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::NotStarted);
  EXPECT_EQ(f.boxes.takeTexts(), std::vector<std::string>{std::string(iptools::kOptionLikeTargetMessage)});
  EXPECT_EQ(f.folder.read("ping.txt"), std::string(iptools::kOptionLikeTargetMessage) + "\r\n");
  EXPECT_TRUE(f.asked.empty());

  f.runner.setProgramFinder([](const std::string& name) { return fs::path(L"C:\\no such folder") / name; });
  f.ended.reset();
  f.runner.start(ping("127.0.0.1"), f.folder.path());
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::NotStarted);
  // One line, ended as the tools end theirs.
  const std::string note = f.folder.read("ping.txt");
  EXPECT_TRUE(note.starts_with("ping.exe could not be started: ") && note.find('\n') == note.size() - 1 &&
              note.ends_with("\r\n"))
      << note;
  EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(Win32ToolRunner, AToolThatIgnoresCtrlCIsEndedAfterTheGraceAndAllIsReportedOnTheWindowsThread) {
  RunnerFixture f(LUMENO_STAND_IN_STUBBORN);
  f.runner.setStopGrace(std::chrono::milliseconds(50));
  f.runner.start(ping("127.0.0.1"), f.folder.path());
  ASSERT_TRUE(test::pumpUntil([&] { return f.output == "started\r\n" || f.ended; }));
  const auto id = static_cast<unsigned long>(f.runner.processId());
  f.runner.stop();
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::Stopped);
  EXPECT_EQ(f.folder.read("ping.txt"), "started\r\n");
  EXPECT_TRUE(test::processEnded(id));
  EXPECT_EQ(f.reportsFromOtherThreads, 0);
}

}  // namespace
}  // namespace lumeno::win32ui
