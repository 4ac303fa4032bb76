// SPDX-License-Identifier: GPL-3.0-or-later
// Where this user's files go, as the session's environment says, and the entry that starts
// the program at log-in.
#include <cstdlib>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/UserFolders.h"
#include "platform/posix/XdgAutostart.h"

namespace lumeno::platform {
namespace {

std::filesystem::path autostartFolder() {
  return XdgAutostart::fromEnvironment("/opt/lumeno/lumeno").entryFile().parent_path();
}

TEST(UserEnvironment, HomeAndTheXdgFoldersComeFromTheSessionWhenTheyAreAbsolute) {
  ::setenv("HOME", "/home/ann", 1);
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  ::unsetenv("XDG_STATE_HOME");
  const UserEnvironment user = readUserEnvironment();
  EXPECT_EQ(user.home, "/home/ann");
  EXPECT_EQ(user.xdgConfigHome, "/cfg");
  EXPECT_EQ(user.xdgStateHome, "");
  EXPECT_EQ(autostartFolder(), "/cfg/autostart");
  ::setenv("XDG_CONFIG_HOME", "cfg", 1);
  EXPECT_EQ(autostartFolder(), "/home/ann/.config/autostart");
  ::setenv("HOME", "ann", 1);  // the account's own home instead
  EXPECT_TRUE(readUserEnvironment().home.is_absolute());
}

// Each switch says whether the entry is now as asked; already on or off counts as done.
TEST(XdgAutostart, EachSwitchSaysWhetherTheEntryIsNowAsAsked) {
  const test::TempFolder folder;
  XdgAutostart autostart(folder / "autostart", folder / "lumeno");
  EXPECT_TRUE(autostart.disable()) << "nothing to remove";
  EXPECT_TRUE(autostart.enable());
  EXPECT_TRUE(autostart.enable()) << "already there";
  EXPECT_TRUE(autostart.isEnabled());
  EXPECT_TRUE(autostart.disable());
  EXPECT_FALSE(autostart.isEnabled());
  std::filesystem::create_directories(autostart.entryFile() / "inside");  // no file to remove
  EXPECT_FALSE(autostart.disable());
}

}  // namespace
}  // namespace lumeno::platform
