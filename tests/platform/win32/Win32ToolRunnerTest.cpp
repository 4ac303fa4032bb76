// SPDX-License-Identifier: GPL-3.0-or-later
// The IP tools' runner under Windows, with stand-ins for ping, tracert and netstat.
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
#include "SmallDisk.h"
#include "TempFolder.h"
#include "common/PathText.h"
#include "iptools/ResultCap.h"
#include "ui/win32/Win32ToolRunner.h"

namespace lumeno::win32ui {
namespace {

namespace fs = std::filesystem;
using iptools::RunEnd;
using iptools::Tool;
using iptools::ToolRequest;

ToolRequest ping(const std::string& host, const std::string& count = "4") {
  ToolRequest request;
  request.tool = Tool::Ping;
  request.count = count;
  request.host = host;
  return request;
}

// One runner over a temporary program folder, and everything it reported.
struct RunnerFixture {
  explicit RunnerFixture(const wchar_t* standIn) : runner(&boxes) {
    runner.setProgramFinder([this, program = test::built(standIn)](const std::string& name) {
      asked.push_back(name);
      return program;
    });
    runner.setHandlers({[this](std::string_view bytes) {
                          output += bytes;
                          if (std::this_thread::get_id() != windowThread) ++reportsFromOtherThreads;
                        },
                        [this](RunEnd end) {
                          ended = end;
                          if (std::this_thread::get_id() != windowThread) ++reportsFromOtherThreads;
                        }});
  }
  bool waitForEnd() {
    return test::pumpUntil([this] { return ended.has_value(); });
  }
  bool waitForOutput(const std::string& text) {
    return test::pumpUntil([&] { return output.find(text) != std::string::npos || ended.has_value(); });
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

TEST(Win32ToolRunner, EachTypedTextIsOneArgumentAndTheOutputReachesTheWindowsThreadAndFile) {
  RunnerFixture f(LUMENO_STAND_IN_ECHO);
  const fs::path folder = f.folder.path() / fs::path(u8"R\u00E9sultats \u540D\u524D");
  fs::create_directories(folder);
  f.runner.start(ping("my host \"x\" & | >", "2"), folder);
  EXPECT_FALSE(f.ended.has_value());  // reported from the message loop, never from start()
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::Ran);
  EXPECT_EQ(f.asked, std::vector<std::string>{"ping.exe"});
  EXPECT_EQ(f.output, "[-n]\n[2]\n[my host \"x\" & | >]\ncwd: " + pathText(folder) + "\n");
  std::string file;
  ASSERT_EQ(platform::readRegularFile(folder / "ping.txt", [&](std::string_view bytes) { file += bytes; }),
            platform::FileAccess::Ok);
  EXPECT_EQ(file, f.output);
  EXPECT_EQ(f.reportsFromOtherThreads, 0);
  EXPECT_FALSE(f.runner.isRunning());
  EXPECT_TRUE(f.boxes.shown.empty());

  // The tools themselves come from the system folder, never from the program's own.
  const fs::path system = Win32ToolRunner::systemProgram("ping.exe");
  EXPECT_EQ(system.filename(), "ping.exe");
  wchar_t folderName[MAX_PATH]{};
  ::GetSystemDirectoryW(folderName, MAX_PATH);
  EXPECT_EQ(system.parent_path(), fs::path(folderName));
}

TEST(Win32ToolRunner, AnOptionLikeHostAMissingToolOrAFolderAsResultFileRunNothingAndSayWhy) {
  RunnerFixture f(LUMENO_STAND_IN_ECHO);
  f.runner.start(ping("/?"), f.folder.path());
  EXPECT_TRUE(f.boxes.shown.empty());  // the message comes from the loop too
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::NotStarted);
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0].text, iptools::kOptionLikeTargetMessage);
  EXPECT_EQ(f.folder.read("ping.txt"), std::string(iptools::kOptionLikeTargetMessage) + "\r\n");
  EXPECT_TRUE(f.asked.empty());

  f.runner.setProgramFinder([](const std::string& name) { return fs::path(L"C:\\no such folder") / name; });
  f.ended.reset();
  f.runner.start(ping("127.0.0.1"), f.folder.path());
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::NotStarted);
  const std::string note = f.folder.read("ping.txt");
  EXPECT_EQ(note.rfind("ping.exe could not be started: ", 0), 0U) << note;
  // One line, ended as every other line of the output.
  EXPECT_EQ(note.find('\n'), note.size() - 1) << note;
  EXPECT_TRUE(note.ends_with("\r\n")) << note;

  fs::remove(f.folder / "netstat.txt");
  fs::create_directory(f.folder / "netstat.txt");
  ToolRequest netstat;
  netstat.tool = Tool::Netstat;
  f.ended.reset();
  f.runner.start(netstat, f.folder.path());
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::ResultNotRegular);
  EXPECT_TRUE(fs::is_directory(f.folder / "netstat.txt"));
}

// Ctrl+C on Stop, and the end of the tool on closing, are checked through the IP tools window.
TEST(Win32ToolRunner, AToolThatIgnoresCtrlCIsEndedAfterTheGrace) {
  RunnerFixture f(LUMENO_STAND_IN_STUBBORN);
  f.runner.setStopGrace(std::chrono::milliseconds(50));
  f.runner.start(ping("127.0.0.1"), f.folder.path());
  ASSERT_TRUE(f.waitForOutput("started\r\n"));
  const auto id = static_cast<unsigned long>(f.runner.processId());
  f.runner.stop();
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::Stopped);
  EXPECT_EQ(f.output, "started\r\n");
  EXPECT_TRUE(test::processEnded(id));
}

TEST(Win32ToolRunner, ARunawayToolsResultFileEndsAtItsLimitWithANote) {
  ::SetEnvironmentVariableW(L"LUMENO_STAND_IN_BYTES", L"400000");
  RunnerFixture f(LUMENO_STAND_IN_FLOOD);
  f.runner.start(ping("127.0.0.1"), f.folder.path());
  ASSERT_TRUE(f.waitForEnd());
  EXPECT_EQ(f.ended, RunEnd::Ran);
  const std::string whole = f.folder.read("ping.txt");
  EXPECT_EQ(whole.size(), 400'000U);
  EXPECT_EQ(f.output, whole);

  f.runner.setResultFileLimit(50'000);
  f.ended.reset();
  f.output.clear();
  f.runner.start(ping("127.0.0.1"), f.folder.path());
  ASSERT_TRUE(f.waitForEnd());
  ::SetEnvironmentVariableW(L"LUMENO_STAND_IN_BYTES", nullptr);
  EXPECT_EQ(f.ended, RunEnd::Cut);
  const std::string cut = f.folder.read("ping.txt");
  EXPECT_LE(cut.size(), 50'000U);
  const std::string note(iptools::kOutputCutNote);
  ASSERT_GT(cut.size(), note.size());
  EXPECT_EQ(cut.substr(cut.size() - note.size()), note);
  EXPECT_EQ(cut.substr(0, 40'000), whole.substr(0, 40'000));
  EXPECT_EQ(f.output, cut);
}

TEST(Win32ToolRunner, OnAFullDiskTheRunGoesOnAndEndsSayingItsOutputWasNotStored) {
  const auto disk = test::nearlyFullDisk(LUMENO_SMALL_DISK);
  if (!disk) GTEST_SKIP() << "no small file system mounted (the tests run as root mount one)";
  ::SetEnvironmentVariableW(L"LUMENO_STAND_IN_BYTES", L"100000");
  RunnerFixture f(LUMENO_STAND_IN_FLOOD);
  f.runner.start(ping("127.0.0.1"), *disk);
  ASSERT_TRUE(f.waitForEnd());
  ::SetEnvironmentVariableW(L"LUMENO_STAND_IN_BYTES", nullptr);
  EXPECT_EQ(f.ended, RunEnd::NotStored);
  EXPECT_EQ(f.output.size(), 100'000U);  // all of it reached the window
  ::DeleteFileW((*disk / "ping.txt").c_str());
}

}  // namespace
}  // namespace lumeno::win32ui
