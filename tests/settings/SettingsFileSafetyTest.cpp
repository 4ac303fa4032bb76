// SPDX-License-Identifier: GPL-3.0-or-later
// Lumeno.ini on disk against what users and crashes do to it.
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "formats/ProfileText.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/posix/Descriptor.h"
#include "platform/posix/FileReplacement.h"

namespace lumeno::platform {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

std::vector<std::string> temporariesBeside(const fs::path& file) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(file.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("." + file.filename().string() + ".", 0) == 0 &&
        name.size() == file.filename().string().size() + 8)
      names.push_back(name);
  }
  return names;
}

// A settings file with some bulk, so that a write takes long enough to be cut at many places.
std::string settingsWith(const char* uselog) {
  std::string text = "; Lumeno options\r\n[Options]\r\nuselog=" + std::string(uselog) + "\r\n";
  for (int i = 0; i < 4000; ++i) text += "note" + std::to_string(i) + "=kept as it is, byte for byte\r\n";
  return text;
}

struct OtherCopyLock {
  explicit OtherCopyLock(const fs::path& folder) : fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY)) {
    EXPECT_EQ(::flock(fd.get(), LOCK_EX), 0);
  }
  Descriptor fd;
};

TEST(SettingsFileOnDisk, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFileAndStartUpRemovesItsLeftovers) {
  test::TempFolder folder;
  const fs::path file = folder / "Lumeno.ini";
  const std::string off = settingsWith("0");
  const std::string on = settingsWith("1");
  folder.write("Lumeno.ini", off);
  for (int kill = 0; kill < 100; ++kill) {
    int progress[2];
    ASSERT_EQ(::pipe(progress), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      ::close(progress[0]);
      for (int n = 0;; ++n) {
        if (::write(progress[1], "w", 1) != 1) ::_exit(2);
        if (!writeProfileString(file, "Options", "uselog", n % 2 == 0 ? "1" : "0")) ::_exit(3);
      }
    }
    ::close(progress[1]);
    // Let the writer start 1 to 5 writes, then kill it wherever it is in the last one.
    char mark = 0;
    for (int started = 0; started <= kill % 5; ++started) ASSERT_EQ(::read(progress[0], &mark, 1), 1);
    for (int yield = 0; yield < kill % 7; ++yield) ::sched_yield();
    ::kill(writer, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ::close(progress[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own, status " << status;

    const std::string now = folder.read("Lumeno.ini");
    ASSERT_TRUE(now == off || now == on) << "damaged after kill " << kill << ": " << now.size() << " bytes";
    removeLeftoverTemporaries(file);  // what the next start does
    ASSERT_EQ(temporariesBeside(file), std::vector<std::string>{}) << "after kill " << kill;
  }
}

TEST(SettingsFileOnDisk, TwoCopiesWritingDifferentKeysKeepEveryWrite) {
  test::TempFolder folder;
  const fs::path file = folder / "Lumeno.ini";
  std::string bulk;  // each write takes a while, so that the copies' writes overlap often
  for (int i = 0; i < 20000; ++i) bulk += "; note " + std::to_string(i) + "\r\n";
  folder.write("Lumeno.ini", bulk + "[Options]\r\n");
  constexpr int kKeys = 100;  // each copy adds keys of its own, once: a lost write stays lost
  std::vector<pid_t> copies;
  for (const char* prefix : {"first", "second"}) {
    const pid_t copy = ::fork();
    ASSERT_GE(copy, 0);
    if (copy == 0) {
      // Each copy writes without a pause, so the other may wait for the lock until it is done;
      // on a busy machine that is longer than a click's wait. Lost writes are what is judged here.
      for (int n = 0; n < kKeys; ++n) {
        if (!writeProfileString(file, "Options", prefix + std::to_string(n), std::to_string(n),
                                std::chrono::minutes(1)))
          ::_exit(1);
      }
      ::_exit(0);
    }
    copies.push_back(copy);
  }
  for (const pid_t copy : copies) {
    int status = -1;
    ASSERT_EQ(::waitpid(copy, &status, 0), copy);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed";
  }
  int lost = 0;
  for (const char* prefix : {"first", "second"}) {
    for (int n = 0; n < kKeys; ++n) {
      const ProfileRead read = readProfileString(file, "Options", prefix + std::to_string(n), "lost", 50);
      lost += read.text == std::to_string(n) ? 0 : 1;
    }
  }
  EXPECT_EQ(lost, 0) << "of " << 2 * kKeys << " writes";
  EXPECT_EQ(folder.read("Lumeno.ini").substr(0, bulk.size()), bulk);
}

TEST(SettingsFileOnDisk, AWriteWaitsForTheFolderLockOrFailsUntouchedAndNeverWaitsForAPipe) {
  test::TempFolder folder;
  const fs::path file = folder / "Lumeno.ini";
  folder.write("Lumeno.ini", "[Options]\r\nuselog=0\r\n");
  {
    const OtherCopyLock other(folder.path());
    EXPECT_FALSE(writeProfileString(file, "Options", "uselog", "1", milliseconds(0)));
    EXPECT_FALSE(replaceFileAtomically(file, "replaced", milliseconds(0)));
    // A write that changes nothing needs nobody's lock.
    EXPECT_TRUE(writeProfileString(file, "Options", "uselog", "0", milliseconds(0)));
  }
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\nuselog=0\r\n");
  EXPECT_TRUE(writeProfileString(file, "Options", "uselog", "1", milliseconds(0)));
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\nuselog=1\r\n");

  // A file that is no regular file is neither waited for nor replaced. Opening a pipe for reading
  // would wait for a writer; the read gives the default instead.
  const fs::path pipe = folder / "pipe.ini";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  EXPECT_EQ(readProfileString(pipe, "Options", "uselog", "0", 50).text, "0");
  EXPECT_FALSE(writeProfileString(pipe, "Options", "uselog", "1"));
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(pipe)));
}

TEST(SettingsFileOnDisk, StartUpRemovesOnlyTemporariesOfTheSettingsFileThatNoWriteIsUsing) {
  test::TempFolder folder;
  const fs::path file = folder / "Lumeno.ini";
  folder.write("Lumeno.ini", "[Options]\r\n");
  // Only a dot, the name, a dot and six letters or digits name a temporary.
  const std::vector<std::string> others{".Lumeno.ini.lock",   ".Lumeno.ini.abc",    ".Lumeno.ini.abcdefg",
                                        ".Lumeno.ini.ab-def", ".Lumeno.ini.abcde.", "x.Lumeno.ini.abcdef",
                                        ".Lumeno.ini-abcdef", ".log.txt.abcdef",    "Lumeno.ini.abcdef",
                                        "xLumeno.ini.abcdef"};
  for (const std::string& name : others) folder.write(name, "not ours");
  folder.write(".Lumeno.ini.Young1", "a write under way");
  folder.write(".Lumeno.ini.old234", "cut short an hour ago");
  const timespec anHourAgo[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (folder / ".Lumeno.ini.old234").c_str(), anHourAgo, 0), 0);
  fs::create_directory(folder / ".Lumeno.ini.folder");

  {
    // Another copy is writing: its young temporary stays, the old one goes.
    const OtherCopyLock other(folder.path());
    removeLeftoverTemporaries(file);
    EXPECT_TRUE(fs::exists(folder / ".Lumeno.ini.Young1"));
    EXPECT_FALSE(fs::exists(folder / ".Lumeno.ini.old234"));
  }
  removeLeftoverTemporaries(file);
  EXPECT_FALSE(fs::exists(folder / ".Lumeno.ini.Young1"));
  for (const std::string& name : others) EXPECT_EQ(folder.read(name), "not ours") << name;
  EXPECT_TRUE(fs::is_directory(folder / ".Lumeno.ini.folder"));
  EXPECT_EQ(folder.read("Lumeno.ini"), "[Options]\r\n");
}

TEST(SettingsFileOnDisk, AWriteKeepsModeLinkAndEveryByteOfALargeFileWithOrWithoutUnnamedTemporaries) {
  test::TempFolder folder;
  std::string large = "\xEF\xBB\xBF[Options]\r\nuselog= 1 \r\n";
  while (large.size() < (std::size_t{8} << 20))
    large += "; " + std::to_string(large.size()) + " \xFF\x01\r\n";
  large += "[Automation]\nautostartup=0";
  folder.write("real.ini", large);
  ::chmod((folder / "real.ini").c_str(), 0640);
  fs::create_symlink(folder / "real.ini", folder / "Lumeno.ini");

  ASSERT_TRUE(writeProfileString(folder / "Lumeno.ini", "Automation", "autostartup", "1"));
  ASSERT_TRUE(writeProfileString(folder / "Lumeno.ini", "Options", "uselog", "1"));
  std::string expected = *settings::writeProfileText(large, "Automation", "autostartup", "1");
  expected = *settings::writeProfileText(expected, "Options", "uselog", "1");
  EXPECT_EQ(folder.read("real.ini"), expected);
  EXPECT_TRUE(fs::is_symlink(folder / "Lumeno.ini"));
  EXPECT_EQ(fs::status(folder / "real.ini").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // Where unnamed files do not exist the temporary is named, and goes all the same.
  for (const auto kind : {FileReplacement::Temporary::Unnamed, FileReplacement::Temporary::Named}) {
    {
      FileReplacement abandoned(folder / "real.ini", 0600, kind);
      ASSERT_TRUE(abandoned.append("never committed"));
    }
    FileReplacement replacement(folder / "real.ini", 0600, kind);
    ASSERT_TRUE(replacement.append("new"));
    ASSERT_TRUE(replacement.commit());
    EXPECT_EQ(folder.read("real.ini"), "new");
    EXPECT_EQ(temporariesBeside(folder / "real.ini"), std::vector<std::string>{});
  }
}

TEST(SettingsFileOnDisk, TheUnchangedPartIsCopiedWholeFromTheSameOrAnotherFileSystemAndNotPastItsEnd) {
  test::TempFolder folder;
  std::string bytes(300000, '\0');  // more than one buffer of the copy by reading
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('a' + i % 23);
  folder.write("source", bytes);
  const Descriptor onDisk(::open((folder / "source").c_str(), O_RDONLY));
  // In memory: the kernel copies no range between it and the folder's file system.
  const Descriptor inMemory(::memfd_create("source", 0));
  ASSERT_TRUE(writeAll(inMemory.get(), bytes));
  for (const int source : {onDisk.get(), inMemory.get()}) {
    FileReplacement replacement(folder / "copy", 0600);
    ASSERT_TRUE(replacement.appendFrom(source, 7, bytes.size() - 7));
    ASSERT_TRUE(replacement.commit());
    EXPECT_EQ(folder.read("copy"), bytes.substr(7)) << source;
    FileReplacement pastTheEnd(folder / "copy", 0600);
    EXPECT_FALSE(pastTheEnd.appendFrom(source, 7, bytes.size())) << source;
  }
  std::filesystem::create_directories(folder / "taken" / "inside");
  FileReplacement blocked(folder / "taken", 0600);
  EXPECT_FALSE(blocked.commit());  // a file that cannot take the name's place is no success
}

// The system, not the mode bits alone, says who may write: a user's program must not take the
// place of a settings file that root left read-only for that user in the user's own folder.
TEST(SettingsFileOnDisk, AFileTheUserMayNotWriteIsNeverReplacedEvenInTheUsersFolder) {
  const passwd* user = ::getpwnam("nobody");
  if (::geteuid() != 0 || user == nullptr) GTEST_SKIP() << "needs root and the user nobody to act as";
  test::TempFolder folder;
  ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
  const fs::path userFolder = folder / "user";
  fs::create_directory(userFolder);
  ASSERT_EQ(::chown(userFolder.c_str(), user->pw_uid, user->pw_gid), 0);
  const fs::path ini = userFolder / "Lumeno.ini";
  folder.write("user/Lumeno.ini", "[Options]\r\nuselog=0\r\n");
  ASSERT_EQ(::chmod(ini.c_str(), 0644), 0);  // root's, readable by all, writable by root only
  const FileIdentity before = identifyFile(ini);

  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(user->pw_gid) != 0 || ::setuid(user->pw_uid) != 0) ::_exit(2);
    ::_exit(writeProfileString(ini, "Options", "uselog", "1", milliseconds(0)) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0) << "exit code 1: the write went through, 2: the child could not become the user";
  EXPECT_EQ(identifyFile(ini), before);  // the same file, untouched
}

}  // namespace
}  // namespace lumeno::platform
