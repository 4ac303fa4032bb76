// The start-at-log-in value and the desktop entry that carries it.
#include "settings/DesktopEntry.h"
#include "settings/StartupEntry.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DesktopExecParser.h"
#include "FakeAutostart.h"

namespace lumeno::settings {
namespace {

TEST(RunValueData, FolderBackslashAndValueName) {
  EXPECT_EQ(runValueData("C:\\Tools", "Lumeno.exe"), "C:\\Tools\\Lumeno.exe");
  EXPECT_EQ(runValueData("C:\\", "Lumeno.exe"), "C:\\Lumeno.exe");
  EXPECT_EQ(runValueData("D:\\Program Files\\Lumeno\\", "Lumeno.exe"),
            "D:\\Program Files\\Lumeno\\Lumeno.exe");
}

TEST(StartupEntry, AddWritesTheRunningProgramAndRemoveDeletesIt) {
  platform::FakeAutostart autostart;
  AppContext context;
  context.programFolder = "/opt/my tools";
  context.executable = "/opt/my tools/lumeno";
  context.autostart = &autostart;

  AddStartupEntry(context, "Lumeno.exe");
  ASSERT_EQ(autostart.calls.size(), 1U);
  const platform::FakeAutostart::Call& write = autostart.calls[0];
  EXPECT_EQ(write.kind, platform::FakeAutostart::Call::Kind::Write);
  EXPECT_EQ(write.hive, platform::Hive::LocalMachine);
  EXPECT_EQ(write.keyPath, "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\");
  EXPECT_EQ(write.valueName, "Lumeno.exe");
  EXPECT_EQ(write.data, "/opt/my tools/lumeno");

  // The folder moved: the next start writes the new place.
  context.programFolder = "/home/me/apps";
  context.executable = "/home/me/apps/lumeno";
  AddStartupEntry(context, "Lumeno.exe");
  EXPECT_EQ(autostart.values.at("Lumeno.exe"), "/home/me/apps/lumeno");

  RemoveStartupEntry(context, "Lumeno.exe");
  RemoveStartupEntry(context, "Lumeno.exe");
  EXPECT_TRUE(autostart.values.empty());
  ASSERT_EQ(autostart.calls.size(), 4U);
  EXPECT_EQ(autostart.calls[3].kind, platform::FakeAutostart::Call::Kind::Delete);
  EXPECT_EQ(autostart.calls[3].keyPath, "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\");
}

// Paths that need every rule of Exec quoting.
const std::vector<std::string> kAwkwardPaths{
    "/opt/lumeno",
    "/home/me/My Programs/lumeno",
    "/tmp/a\"quote\"/lumeno",
    "/tmp/back\\slash/lumeno",
    "/tmp/$HOME and `date`/lumeno",
    "/tmp/100% sure %f %u/lumeno",
    "/tmp/semi;colon & pipe | <in> *?#~ (x) 'single'/lumeno",
    "/tmp/caf\xC3\xA9 \xE2\x82\xAC/lumeno",
    "/tmp/tab\there/new\nline/lumeno",
    "/tmp/ leading space/lumeno",
    "/tmp/=equals[brackets]{braces}!^/lumeno",
};

TEST(DesktopEntry, ExecArgumentReadsBackAsThePath) {
  for (const std::string& path : kAwkwardPaths) {
    const std::optional<std::vector<std::string>> argv = test::parseExec(execArgument(path));
    ASSERT_TRUE(argv.has_value()) << path << " -> " << execArgument(path);
    EXPECT_EQ(*argv, std::vector<std::string>{path}) << execArgument(path);
  }
}

TEST(DesktopEntry, ExecQuotingIsTheDesktopEntryForm) {
  EXPECT_EQ(execArgument("/opt/my app/lumeno"), "\"/opt/my app/lumeno\"");
  // A literal backslash takes four, a dollar sign and a quote two, a percent sign doubles.
  EXPECT_EQ(execArgument("/a\\b"), "\"/a\\\\\\\\b\"");
  EXPECT_EQ(execArgument("/a$b\"c`d"), "\"/a\\\\$b\\\\\"c\\\\`d\"");
  EXPECT_EQ(execArgument("/100%"), "\"/100%%\"");
}

TEST(DesktopEntry, StartsTheProgramFromItsFolder) {
  const std::optional<std::string> entry = autostartEntry("Lumeno", "/home/me/My Programs/lumeno");
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(*entry,
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Lumeno\n"
            "Comment=Starts Lumeno when you log in\n"
            "Exec=\"/home/me/My Programs/lumeno\"\n"
            "Path=/home/me/My Programs\n"
            "Terminal=false\n");
  EXPECT_NE(autostartEntry("Lumeno", "/lumeno")->find("\nPath=/\n"), std::string::npos);
  EXPECT_NE(autostartEntry("Lumeno", "/a\\b/c")->find("\nPath=/a\\\\b\n"), std::string::npos);
  EXPECT_NE(autostartEntry("Lumeno", "/ x/c")->find("\nPath=/ x\n"), std::string::npos);
}

TEST(DesktopEntry, RefusesWhatAnEntryCannotSayFaithfully) {
  EXPECT_FALSE(autostartEntry("Lumeno", "lumeno"));  // relative: found on PATH, not this program
  EXPECT_FALSE(autostartEntry("Lumeno", "/tmp/"));   // a folder
  EXPECT_FALSE(autostartEntry("Lumeno", "/tmp/\xFF\xFE/lumeno"));  // not UTF-8
  EXPECT_FALSE(autostartEntry("Lumeno", "/tmp/bell\a/lumeno"));
  EXPECT_FALSE(autostartEntry("Lu\nmeno", "/tmp/lumeno"));
  EXPECT_FALSE(autostartEntry("", "/tmp/lumeno"));
}

TEST(DesktopEntry, Utf8Check) {
  EXPECT_TRUE(isUtf8("plain"));
  EXPECT_TRUE(isUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_FALSE(isUtf8("\xC3"));              // cut short
  EXPECT_FALSE(isUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(isUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(isUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(isUtf8("\x80"));
}

}  // namespace
}  // namespace lumeno::settings
