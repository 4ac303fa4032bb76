// SPDX-License-Identifier: GPL-3.0-or-later
// readSetting and writeSetting over a real Lumeno.ini in a temporary folder, without a display.
#include "settings/SettingsAccess.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsText.h"

#include "FakeProgram.h"
#include "platform/Files.h"

namespace lumeno::settings {
namespace {

namespace fs = std::filesystem;

class SettingsAccess : public ::testing::Test, protected test::FakeProgram {
 protected:
  SettingsAccess() : FakeProgram(allOff()) {}
  std::string read(const char* section, const char* key) {
    return readSetting(context, section, key).value_or("failed");
  }
};

TEST_F(SettingsAccess, ReadsTrimmedValuesCutTo49CharactersAndZeroForWhatIsAbsent) {
  folder.write("Lumeno.ini", "[Options]\r\na = 1 \r\nb=\" 2 \"\r\nc=" + std::string(60, '3') + "\r\nd=\r\n");
  EXPECT_EQ(read("options", "A"), "1");
  EXPECT_EQ(read("Options", "b"), "2");
  EXPECT_EQ(read("Options", "c"), std::string(49, '3'));
  EXPECT_TRUE(boxes.shown.empty());
  // An empty value is a failed read: the message, and no value.
  EXPECT_EQ(read("Options", "d"), "failed");
  EXPECT_EQ(boxes.shown, std::vector<BoxRequest>{kApiError});
  fs::remove(folder / "Lumeno.ini");
  EXPECT_EQ(read("Options", "a"), "0");
}

TEST_F(SettingsAccess, AWriteSkipsNoChangeKeepsALinkAndOnFailureShowsTheMessageAndKeepsTheOldValue) {
  std::string stored = "Lumeno.ini";
#ifndef _WIN32
  // A linked settings file stays a link: the file it points to is the one that changes.
  fs::create_directory(folder / "real");
  fs::rename(folder / "Lumeno.ini", folder / "real" / "Lumeno.ini");
  fs::create_symlink(folder / "real" / "Lumeno.ini", folder / "Lumeno.ini");
  stored = "real/Lumeno.ini";
#endif
  const platform::FileIdentity before = platform::identifyFile(folder / stored);
  EXPECT_TRUE(writeSetting(context, "Options", "uselog", "0"));
  EXPECT_EQ(platform::identifyFile(folder / stored), before);
  EXPECT_TRUE(writeSetting(context, "Options", "uselog", "1"));
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(folder / "Lumeno.ini"));
#endif

  EXPECT_FALSE(writeSetting(context, "Options", "uselog", "0\r\n[Options]\r\nalertifoffline=1"));
  fs::permissions(folder / stored, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(writeSetting(context, "Options", "uselog", "0"));
  EXPECT_EQ(folder.read(stored), allOff(4, "uselog=1"));
  EXPECT_EQ(boxes.shown, (std::vector<BoxRequest>{kApiError, kApiError}));
}

}  // namespace
}  // namespace lumeno::settings
