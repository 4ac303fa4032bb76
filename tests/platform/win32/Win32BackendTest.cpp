// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows backend against the real system (Wine in the project's own runs).
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "SmallDisk.h"
#include "TempFolder.h"
#include "common/WebLinks.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/RegularFile.h"
#include "platform/win32/Handle.h"
#include "platform/win32/RegistrySystemInfoTool.h"
#include "platform/win32/RunKeyAutostart.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Launcher.h"

namespace lumeno::platform {
namespace {

namespace fs = std::filesystem;

TEST(Win32Files, AFolderNamedInAnyScriptHoldsTheSettingsAndTheLog) {
  test::TempFolder temp;
  const fs::path folder =
      temp.path() / fs::path(u8"Lum\u00E9no \u0416\u0443\u0440\u043D\u0430\u043B \u540D\u524D");
  fs::create_directories(folder);
  const fs::path ini = folder / "Lumeno.ini";
  ASSERT_TRUE(writeFile(ini, "[Options]\r\nuselog=0\r\n"));
  ASSERT_TRUE(writeProfileString(ini, "Options", "uselog", "1"));
  EXPECT_EQ(readFile(ini), "[Options]\r\nuselog=1\r\n");
  EXPECT_EQ(readProfileString(ini, "options", "USELOG", "0", 50).text, "1");
  ASSERT_TRUE(appendToFile(folder / "log.txt", "one\r\n"));
  ASSERT_TRUE(appendToFile(folder / "log.txt", "two\r\n"));
  EXPECT_EQ(readFile(folder / "log.txt"), "one\r\ntwo\r\n");
  EXPECT_TRUE(fileExists(ini));
  EXPECT_FALSE(fileExists(folder));

  // The help page there reaches the shell as its own UTF-16 path, also from "Check for updates".
  const fs::path help = fs::absolute(folder / "help.html");
  EXPECT_EQ(shellTargetOf(fileUrl(help, "versions")), help.wstring());
  EXPECT_EQ(shellTargetOf(fileUrl(help)), help.wstring());
  EXPECT_EQ(shellTargetOf("file://server/share/help%20page.html"), L"\\\\server\\share\\help page.html");
  EXPECT_EQ(shellTargetOf("https://example.org/#x"), L"https://example.org/#x");
}

TEST(Win32Files, AReplaceIsWholeOrNothingAndAReadOnlyFileStaysAsItIs) {
  test::TempFolder temp;
  const fs::path ini = temp.path() / "Lumeno.ini";
  ASSERT_TRUE(replaceFileAtomically(ini, "first"));  // a new file
  ASSERT_TRUE(replaceFileAtomically(ini, "second"));
  EXPECT_EQ(readFile(ini), "second");
  EXPECT_TRUE(identifyFile(ini).exists && identifyFile(ini).size == 6U);
  ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(replaceFileAtomically(ini, "third"));
  EXPECT_FALSE(writeProfileString(ini, "Options", "uselog", "1"));
  ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(readFile(ini), "second");
  // Nothing of ours is left beside it.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(temp.path()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"Lumeno.ini"});
}

TEST(Win32Files, OnAFullDiskALogEntryGoesInWholeOrNotAtAll) {
  const auto disk = test::nearlyFullDisk(LUMENO_SMALL_DISK);
  if (!disk) GTEST_SKIP() << "no small file system mounted (the tests run as root mount one)";
  const fs::path log = *disk / "log.txt";
  ::DeleteFileW(log.c_str());
  std::string expected;
  for (int i = 0; i < 200; ++i) {
    const std::string entry = "[Refreshed Local IP] : " + std::string(static_cast<std::size_t>(i % 37), '9') +
                              " , Date : 05/12/2026 , Time : 11:26:06\r\n";
    if (appendToFile(log, entry)) expected += entry;
  }
  ::DeleteFileW((*disk / "filler").c_str());  // room again
  ASSERT_TRUE(appendToFile(log, "[Program Exit]\r\n"));
  expected += "[Program Exit]\r\n";
  EXPECT_GT(expected.size(), 2000U);
  EXPECT_LT(expected.size(), 200U * 60U) << "the disk was never full";
  EXPECT_EQ(readFile(log), expected);  // every entry that was accepted, and nothing of the others
  ::DeleteFileW(log.c_str());
}

// The tools' result files: never a device, a pipe or a link.
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

TEST(Win32Registry, TheRunValueIsTheCurrentUsersAndStartsTheInstalledNameInTheProgramsFolder) {
  RunKeyAutostart autostart(fs::path(u8"C:\\Caf\u00E9\\lumeno-1.0.exe"), L"SOFTWARE\\Lumeno Test Run\\Run");
  ASSERT_EQ((std::vector{autostart.isEnabled(), autostart.enable(), autostart.isEnabled()}),
            (std::vector{false, true, true}));
  std::wstring data(260, L'\0');
  auto size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Lumeno Test Run\\Run", L"Lumeno.exe", RRF_RT_REG_SZ,
                           nullptr, data.data(), &size),
            ERROR_SUCCESS);
  data.resize(size / sizeof(wchar_t) - 1);
  EXPECT_EQ(toUtf8(data), reinterpret_cast<const char*>(u8"C:\\Caf\u00E9\\Lumeno.exe"));
  EXPECT_EQ((std::vector{autostart.disable(), autostart.isEnabled(), autostart.disable()}),
            (std::vector{true, false, true}));  // the second disable finds it already gone
  EXPECT_EQ(runValueData("C:\\lumeno.exe"), L"C:\\Lumeno.exe");
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Lumeno Test Run");
}

// Keys under a test key of its own that stands for the local-machine root.
struct TestRoot {
  explicit TestRoot(const std::string& name) : path("SOFTWARE\\" + name) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  }
  TestRoot(const TestRoot&) = delete;
  TestRoot& operator=(const TestRoot&) = delete;
  ~TestRoot() {
    ::RegCloseKey(key);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  }
  void set(const char* subKey, const char* name, DWORD type, const std::string& bytes) const {
    ASSERT_EQ(::RegSetKeyValueA(key, subKey, name, type, bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }
  std::string path;
  HKEY key = nullptr;
};

TEST(Win32Registry, TheSystemInformationToolIsThePathValueElseMsinfo32InTheFolderValue) {
  const TestRoot root("Lumeno Test Tool");
  const RegistrySystemInfoTool tool(root.key);
  EXPECT_EQ(tool.find(), std::nullopt);
  const test::TempFolder folder;
  root.set("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", REG_SZ, folder.path().string() + '\0');
  EXPECT_EQ(tool.find(), std::nullopt) << "no MSINFO32.EXE there";
  folder.write("MSINFO32.EXE", "program");
  EXPECT_EQ(tool.find(), folder.path().string() + "\\MSINFO32.EXE");
  // The path value wins, not looked for on disk, whether stored with its NUL or without.
  for (const std::string& stored : {std::string("C:\\msinfo32.exe\0", 16), std::string("C:\\msinfo32.exe")}) {
    root.set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", REG_SZ, stored);
    EXPECT_EQ(tool.find(), "C:\\msinfo32.exe") << stored.size();
  }
  root.set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", REG_SZ, "");
  EXPECT_EQ(tool.find(), std::nullopt) << "an empty path value ends the search";
}

TEST(Win32Registry, ValuesReadAsTextOrDecimalNumbersAndNothingWhenMissingOrTooLong) {
  const TestRoot root("Lumeno Test Values");
  using Row = std::tuple<const char*, DWORD, std::string, std::optional<std::string>>;
  const std::string full(1023, 'x');  // with its NUL, the 1024 bytes read at most
  const std::vector<Row> rows = {
      {"Number", REG_DWORD, std::string("\x04\x03\x02\x01", 4), "16909060"},
      {"Top", REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4), "4294967295"},
      {"Full", REG_SZ, full + '\0', full},
      {"TooLong", REG_SZ, full + "x" + '\0', std::nullopt},
      {"Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\0", 13), ""},  // found, not understood
  };
  for (const auto& [name, type, bytes, text] : rows) root.set("Key", name, type, bytes);
  for (const auto& [name, type, bytes, text] : rows)
    EXPECT_EQ(readRegistryText(root.key, "Key", name), text) << name;
  EXPECT_EQ(readRegistryText(root.key, "Key", "Missing"), std::nullopt);
  EXPECT_EQ(readRegistryText(root.key, "Missing", "Full"), std::nullopt);
  root.set("Key", "Empty", REG_SZ, "");
  EXPECT_THROW(readRegistryText(root.key, "Key", "Empty"), RegistryValueError);
}

}  // namespace
}  // namespace lumeno::platform
