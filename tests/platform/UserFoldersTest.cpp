// SPDX-License-Identifier: GPL-3.0-or-later
// Where this user's files go, as the session's environment says, and the entry that starts
// the program at log-in.
#include <cstdlib>
#include <tuple>
#include <vector>

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
  EXPECT_EQ(std::tuple(user.home, user.xdgConfigHome, user.xdgStateHome),
            std::tuple("/home/ann", "/cfg", ""));
  EXPECT_EQ(autostartFolder(), "/cfg/autostart");
  ::setenv("XDG_CONFIG_HOME", "cfg", 1);
  EXPECT_EQ(autostartFolder(), "/home/ann/.config/autostart");
  ::setenv("HOME", "ann", 1);  // the account's own home instead
  EXPECT_TRUE(readUserEnvironment().home.is_absolute());
}

// Already on or off counts as done.
TEST(XdgAutostart, EachSwitchSaysWhetherTheEntryIsNowAsAsked) {
  const test::TempFolder folder;
  XdgAutostart a(folder / "autostart", folder / "lumeno");
  EXPECT_EQ((std::vector{a.disable(), a.enable(), a.enable(), a.isEnabled(), a.disable(), a.isEnabled()}),
            (std::vector{true, true, true, true, true, false}));
  a.enable();
  XdgAutostart moved(folder / "autostart", folder / "moved" / "lumeno");  // its entry follows the program
  EXPECT_EQ(
      (std::vector{moved.isEnabled(), moved.enable(), moved.isEnabled(), a.isEnabled(), moved.disable()}),
      (std::vector{false, true, true, false, true}));
  std::filesystem::create_directories(a.entryFile() / "inside");  // no file to remove
  EXPECT_FALSE(a.disable());
}

}  // namespace
}  // namespace lumeno::platform
