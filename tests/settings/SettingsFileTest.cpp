// ReadSetting and WriteSetting on a real Lumeno.ini in a temporary program folder.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsAccess.h"

namespace lumeno::settings {
namespace {

namespace fs = std::filesystem;

const BoxRequest kApiError{"An error has occurred while calling the API function", "Lumeno",
                           BoxIcon::Exclamation, BoxButtons::Ok};

const std::string kIni =
    "; Lumeno options\r\n"
    "[Options]\r\n"
    "alertifoffline = 1 \r\n"
    "hostnameintext1.text=\" 2 \"\r\n"
    "uselog=\r\n"
    "\r\n"
    "[Automation]\r\n"
    "trayatstartup=0123456789012345678901234567890123456789012345678901234567890\r\n"
    "autostartup=0\r\n";

class SettingsFile : public ::testing::Test {
 protected:
  SettingsFile() {
    context.programFolder = folder.path();
    context.boxes = &boxes;
    folder.write("Lumeno.ini", kIni);
  }

  SettingFields fields(const char* section, const char* key, const char* value = "") {
    return {section, key, value};
  }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  AppContext context;
};

TEST_F(SettingsFile, ReadsTrimmedValuesCutTo49Characters) {
  SettingFields f = fields("options", "ALERTIFOFFLINE");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "1");
  f = fields("Options", "hostnameintext1.text");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "2");  // quotes removed, then the spaces inside them
  f = fields("Automation", "trayatstartup");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "0123456789012345678901234567890123456789012345678");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsFile, AbsentKeySectionOrFileReadsZeroWithoutAMessage) {
  SettingFields f = fields("Options", "nosuchkey", "1");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "0");
  f = fields("NoSuchSection", "uselog", "1");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "0");
  fs::remove(folder / "Lumeno.ini");
  f = fields("Options", "alertifoffline", "1");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "0");
  fs::create_directory(folder / "Lumeno.ini");  // a folder where the file should be reads as absent
  f = fields("Options", "alertifoffline", "1");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "0");
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(readsAsOn(f.currentValue));
}

TEST_F(SettingsFile, AnEmptyValueIsAFailureThatKeepsThePreviousValue) {
  SettingFields f = fields("Options", "alertifoffline");
  ASSERT_TRUE(ReadSetting(context, f));
  f.currentKey = "uselog";
  EXPECT_FALSE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "1");
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0], kApiError);
}

TEST_F(SettingsFile, AWriteChangesThatValueOnly) {
  EXPECT_TRUE(WriteSetting(context, fields("Options", "uselog", "1")));
  EXPECT_TRUE(WriteSetting(context, fields("automation", "AutoStartup", "1")));
  std::string expected = kIni;
  expected.replace(expected.find("uselog=") + 7, 0, "1");
  expected.replace(expected.find("autostartup=0") + 12, 1, "1");
  EXPECT_EQ(folder.read("Lumeno.ini"), expected);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsFile, AWriteReplacesTheFileWholeAndKeepsItsPermissions) {
  ::chmod((folder / "Lumeno.ini").c_str(), 0640);
  const platform::FileIdentity before = platform::identifyFile(folder / "Lumeno.ini");
  EXPECT_TRUE(WriteSetting(context, fields("Options", "alertifoffline", "0")));
  const platform::FileIdentity after = platform::identifyFile(folder / "Lumeno.ini");
  // A new file renamed into place: a crash leaves the old file or the new one, never half of one.
  EXPECT_NE(after.inode, before.inode);
  struct stat status {};
  ASSERT_EQ(::stat((folder / "Lumeno.ini").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640U);
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 1);

  // Writing what the file already says leaves it alone.
  EXPECT_TRUE(WriteSetting(context, fields("Options", "alertifoffline", "0")));
  EXPECT_EQ(platform::identifyFile(folder / "Lumeno.ini"), after);
}

TEST_F(SettingsFile, AFailedWriteShowsTheMessageAndKeepsTheOldFile) {
  ::chmod((folder / "Lumeno.ini").c_str(), 0444);
  EXPECT_FALSE(WriteSetting(context, fields("Options", "uselog", "1")));
  EXPECT_EQ(folder.read("Lumeno.ini"), kIni);
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0], kApiError);

  fs::remove(folder / "Lumeno.ini");
  fs::create_directory(folder / "Lumeno.ini");
  EXPECT_FALSE(WriteSetting(context, fields("Options", "uselog", "1")));
  EXPECT_TRUE(fs::is_directory(folder / "Lumeno.ini"));
  EXPECT_EQ(boxes.shown.size(), 2U);

  context.programFolder = folder / "no such folder";
  EXPECT_FALSE(WriteSetting(context, fields("Options", "uselog", "1")));
  EXPECT_EQ(boxes.shown.size(), 3U);
}

TEST_F(SettingsFile, AMissingFileIsCreatedByAWrite) {
  fs::remove(folder / "Lumeno.ini");
  EXPECT_TRUE(WriteSetting(context, fields("Options", "uselog", "1")));
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\nuselog=1\r\n");
}

TEST_F(SettingsFile, ALinkedSettingsFileStaysALink) {
  fs::create_directory(folder / "real");
  fs::rename(folder / "Lumeno.ini", folder / "real" / "Lumeno.ini");
  fs::create_symlink(folder / "real" / "Lumeno.ini", folder / "Lumeno.ini");
  EXPECT_TRUE(WriteSetting(context, fields("Options", "alertifoffline", "0")));
  EXPECT_TRUE(fs::is_symlink(folder / "Lumeno.ini"));
  SettingFields f = fields("Options", "alertifoffline");
  EXPECT_TRUE(ReadSetting(context, f));
  EXPECT_EQ(f.currentValue, "0");
}

TEST_F(SettingsFile, AnUnreadableFileIsNeverReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  ::chmod((folder / "Lumeno.ini").c_str(), 0200);
  EXPECT_FALSE(platform::writeProfileString(folder / "Lumeno.ini", "Options", "uselog", "1"));
  ::chmod((folder / "Lumeno.ini").c_str(), 0600);
  EXPECT_EQ(folder.read("Lumeno.ini"), kIni);
}

}  // namespace
}  // namespace lumeno::settings
