// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/DesktopEntry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DesktopEntryReader.h"

namespace lumeno::settings {
namespace {

// The one argument a launcher reads from this Exec value, or "<unreadable>".
std::string readBack(const std::string& value) {
  const auto argv = test::parseExec(test::entryValue("\nExec=" + value, "Exec").value_or("\\"));
  return argv && argv->size() == 1 ? argv->front() : "<unreadable>";
}

TEST(DesktopEntry, AnExecArgumentReadsBackAsExactlyTheProgramsPath) {
  for (const std::string path :
       {"/usr/bin/lumeno", "/home/ann/My Tools/lumeno", "/opt/a\"b`c$d\\e/lumeno", "/srv/100%/lumeno",
        "/x/caf\xC3\xA9;#~&'()/lumeno", "/x/\ttab\nline/lumeno"}) {
    const std::string quoted = execArgument(path);
    EXPECT_EQ(readBack(quoted), path) << quoted;
    // Nothing a shell or the launcher would act on is left bare.
    EXPECT_EQ(quoted.find_first_of("\n\t"), std::string::npos) << quoted;
  }
}

TEST(DesktopEntry, TheEntryStartsTheProgramFromItsFolderOrIsNotWrittenAtAll) {
  const auto entry = autostartEntry("Lumeno", "/opt/My Tools/lumeno");
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(
      *entry,
      "[Desktop Entry]\nType=Application\nName=Lumeno\nComment=Starts Lumeno when you log in\n"
      "Exec=\"/opt/My Tools/lumeno\"\nTryExec=/opt/My Tools/lumeno\nPath=/opt/My Tools\nTerminal=false\n");
  EXPECT_NE(autostartEntry("Lumeno", "/lumeno")->find("\nPath=/\n"), std::string::npos);
  // What an entry cannot say faithfully is refused rather than written wrong.
  for (const std::string& program :
       std::vector<std::string>{"", "lumeno", "relative/lumeno", "/opt/folder/", "/opt/\xFF/lumeno",
                                std::string("/opt/a\0b/lumeno", 15), "/opt/\x1B[31m/lumeno"}) {
    EXPECT_FALSE(autostartEntry("Lumeno", program).has_value()) << program;
  }
  EXPECT_FALSE(autostartEntry("Lu\nmeno", "/usr/bin/lumeno") || autostartEntry("", "/usr/bin/lumeno"));
}

TEST(DesktopEntry, OnlyWellFormedUtf8CountsAsTextAndAStringValueEscapesBreaksAndALeadingSpace) {
  EXPECT_EQ(escapeStringValue(" a b\\c\r\n\td "), "\\sa b\\\\c\\r\\n\\td ");
  EXPECT_EQ(escapeStringValue("plain"), "plain");
  // Text, and each end of each lead byte's range.
  for (const char* good :
       {"", "abc", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8C\x90", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80",
        "\xED\x9F\xBF", "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(isUtf8(good)) << good;
  // Overlong forms, a surrogate, past U+10FFFF, a cut sequence, a stray continuation byte.
  for (const char* bad : {"\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xF5\x80\x80\x80", "\xE2\x82", "\x80", "\xC3\x28"})
    EXPECT_FALSE(isUtf8(bad)) << bad;
}

}  // namespace
}  // namespace lumeno::settings
