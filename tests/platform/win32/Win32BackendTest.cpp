// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows backend against the real system (Wine in the project's own runs).
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "SmallDisk.h"
#include "TempFolder.h"
#include "common/WebLinks.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
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
  EXPECT_EQ(readFileFrom(folder / "log.txt", 5), "two\r\n");
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
  const FileIdentity before = identifyFile(ini);
  EXPECT_TRUE(before.exists);
  EXPECT_EQ(before.size, 6U);
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

TEST(Win32Registry, TheRunValueIsTheCurrentUsersAndTheSystemInformationKeysAreReadOnly) {
  const std::string keyPath = "SOFTWARE\\Lumeno Test\\Run\\";
  RunKeyAutostart autostart;
  ASSERT_TRUE(autostart.writeValue(Hive::LocalMachine, keyPath, "Lumeno.exe",
                                   reinterpret_cast<const char*>(u8"C:\\Caf\u00E9\\Lumeno.exe")));
  std::wstring data(260, L'\0');
  auto size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Lumeno Test\\Run", L"Lumeno.exe", RRF_RT_REG_SZ,
                           nullptr, data.data(), &size),
            ERROR_SUCCESS);
  data.resize(size / sizeof(wchar_t) - 1);
  EXPECT_EQ(toUtf8(data), reinterpret_cast<const char*>(u8"C:\\Caf\u00E9\\Lumeno.exe"));
  EXPECT_TRUE(autostart.deleteValue(Hive::LocalMachine, keyPath, "Lumeno.exe"));
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Lumeno Test");

  // A value under the machine-wide hive, read through the read-only access the program asks for.
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Lumeno Test", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char path[] = "C:\\Tools\\msinfo32.exe";
  ::RegSetValueExA(key, "PATH", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof(path));
  ::RegCloseKey(key);
  const auto opened = systemRegistry().openKey(RegistryRoot::LocalMachine, "SOFTWARE\\Lumeno Test", kKeyRead);
  ASSERT_NE(opened, nullptr);
  const auto value = opened->queryValue("PATH");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, kRegString);
  EXPECT_EQ(value->bytes, std::string(path, sizeof(path)));
  EXPECT_FALSE(opened->queryValue("missing").has_value());
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Lumeno Test");
}

}  // namespace
}  // namespace lumeno::platform
