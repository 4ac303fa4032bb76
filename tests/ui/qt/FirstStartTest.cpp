// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "app/FirstStart.h"
#include "platform/UserFolders.h"
#include "ui/qt/StartUp.h"

namespace lumeno::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPackagedDefault = "[Options]\nuselog=0\n";

unsigned modeOf(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777U) : 0U;
}

// An installed copy: <root>/prefix/bin holds the program, <root>/prefix/share/lumeno the packaged
// default, <root>/home the user's home.
struct Installed {
  explicit Installed(bool withDefault = true) {
    for (const char* folder : {"prefix/bin", "prefix/share/lumeno", "home"})
      fs::create_directories(root / folder);
    if (withDefault) root.write("prefix/share/lumeno/Lumeno.ini", kPackagedDefault);
    facts.programFolder = root / "prefix/bin";
    facts.home = root / "home";
    facts.dataFromProgram = "../share/lumeno";
  }
  app::FilesReady prepare() {
    context.programFolder = facts.programFolder;
    context.places = decideFilePlaces(facts);
    context.boxes = &boxes;
    return app::prepareUserFiles(context);
  }
  // Every file and folder under the root, to show that nothing changed.
  [[nodiscard]] std::vector<std::string> listing() const {
    std::vector<std::string> all;
    for (const auto& entry : fs::recursive_directory_iterator(root.path())) {
      all.push_back(
          entry.path().string() +
          (entry.is_regular_file() ? ":" + root.read(fs::relative(entry.path(), root.path()).string()) : ""));
    }
    std::sort(all.begin(), all.end());
    return all;
  }

  TempFolder root;
  PlaceFacts facts;
  AppContext context;
  ScriptedMessageBoxes boxes;
};

// That the settings and the log go where the session says is the e2e install case's; here, how.
TEST(FirstStart, SeedsPrivateFoldersFromThePackagedDefaultAndNeverReplacesTheUsersOwnSettings) {
  Installed installed;
  ASSERT_EQ(installed.prepare(), app::FilesReady::Yes);
  EXPECT_TRUE(installed.boxes.shown.empty());
  for (const char* folder : {"home/.config", "home/.config/lumeno", "home/.local/state/lumeno"})
    EXPECT_EQ(modeOf(installed.root / folder), 0700U) << folder;
  // The copy is the user's own to change, and no temporary file is left beside it.
  EXPECT_NE(modeOf(installed.root / "home/.config/lumeno/Lumeno.ini") & 0200U, 0U);
  EXPECT_EQ(
      std::distance(fs::directory_iterator(installed.root / "home/.config/lumeno"), fs::directory_iterator()),
      1);

  // A user's file stays as it is, and works even when the packaged default has gone.
  installed.root.write("home/.config/lumeno/Lumeno.ini", "[Options]\nuselog=1\n");
  fs::remove(installed.root / "prefix/share/lumeno/Lumeno.ini");
  EXPECT_EQ(installed.prepare(), app::FilesReady::Yes);
  EXPECT_EQ(installed.root.read("home/.config/lumeno/Lumeno.ini"), "[Options]\nuselog=1\n");
  EXPECT_TRUE(installed.boxes.shown.empty());
}

TEST(FirstStart, WithNeitherTheUsersFileNorAPackagedDefaultTheFileIsMissingAndNothingIsMade) {
  Installed installed(false);
  const auto before = installed.listing();
  EXPECT_EQ(installed.prepare(), app::FilesReady::SettingsMissing);  // its words are SettingsCheck's
  EXPECT_EQ(installed.boxes.shown.size(), 1U);
  EXPECT_EQ(installed.listing(), before);
}

TEST(FirstStart, AConfigFolderThatCannotBeMadeIsReportedAndNothingIsLost) {
  Installed installed;
  // A file where the config folder should go (even root cannot make a folder inside a file).
  installed.root.write("home/.config", "the user's own notes\n");
  const auto before = installed.listing();
  EXPECT_EQ(installed.prepare(), app::FilesReady::Failed);
  ASSERT_EQ(installed.boxes.shown.size(), 1U);
  const BoxRequest& box = installed.boxes.shown[0];
  EXPECT_TRUE(box.title == "Lumeno" && box.icon == BoxIcon::Critical);
  EXPECT_NE(box.text.find((installed.root / "home/.config/lumeno").string()), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("Not a directory"), std::string::npos) << box.text;
  EXPECT_EQ(installed.listing(), before);
}

TEST(FirstStart, AStateFolderThatCannotBeMadeIsReportedButTheProgramRuns) {
  Installed installed;
  fs::create_directories(installed.root / "home/.local");
  installed.root.write("home/.local/state", "not a folder");
  EXPECT_EQ(installed.prepare(), app::FilesReady::Yes);
  ASSERT_EQ(installed.boxes.shown.size(), 1U);
  EXPECT_EQ(installed.boxes.shown[0].icon, BoxIcon::Exclamation);
  EXPECT_NE(installed.boxes.shown[0].text.find((installed.root / "home/.local/state/lumeno").string()),
            std::string::npos);
  EXPECT_EQ(installed.root.read("home/.local/state"), "not a folder");
  EXPECT_EQ(installed.root.read("home/.config/lumeno/Lumeno.ini"), kPackagedDefault);
}

TEST(UserFolders, ACopyNeverReplacesAFileAndAFailedOneLeavesNothing) {
  TempFolder folder;
  folder.write("from", "new");
  folder.write("to", "old");
  EXPECT_FALSE(platform::copyNewFile(folder / "from", folder / "to"));
  EXPECT_EQ(folder.read("to"), "old");
  ASSERT_FALSE(platform::copyNewFile(folder / "from", folder / "fresh"));
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat fresh {};
  ASSERT_EQ(::stat((folder / "fresh").c_str(), &fresh), 0);
  EXPECT_EQ(fresh.st_mode & 0777U, 0666U & ~mask);  // the user's own file, as the umask allows

  EXPECT_EQ(platform::copyNewFile(folder / "absent", folder / "copy"), "No such file or directory");
  EXPECT_TRUE(platform::copyNewFile(folder / "from", folder / "no-such-folder" / "copy"));

  // A disk that fills in the middle of the copy: the copy says why and leaves nothing.
  folder.write("large", std::string(10000, 'x'));
  rlimit before{};
  ::getrlimit(RLIMIT_FSIZE, &before);
  const rlimit onePage{4096, before.rlim_max};
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &onePage);
  const auto full = platform::copyNewFile(folder / "large", folder / "copy");
  ::setrlimit(RLIMIT_FSIZE, &before);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(full, "File too large");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 4);
}

}  // namespace
}  // namespace lumeno::test
