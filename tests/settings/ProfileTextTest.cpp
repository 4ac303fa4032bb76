// SPDX-License-Identifier: GPL-3.0-or-later
// The profile file's reading and writing rules on awkward files, and when a value is on.
#include "formats/ProfileText.h"

#include "formats/ProfileScan.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace lumeno::settings {
namespace {

using namespace std::string_literals;
using Row = std::array<std::string, 3>;

// Mixed CR LF, LF and CR line ends, a last line without one, a section name used twice.
const std::string kAwkward =
    "; Lumeno settings, edited by hand\r\nstray=before any section\r\n[Options]\r\n"
    "alertifoffline=1\n  HostNameInText1.Text   =   \" 1 \"  \r\tuselog\t=\t'yes'\t\r\n"
    "mismatched = 'x\"\r\nquotedempty = \"\"\r\nlone = \"\r\ninline = 1 ; a note\r\nempty =\r\nnovalue\r\n"
    "equals = a=b=c\r\ndup = first\r\nDUP = second\r\n;commented = 9\r\nlong = " +
    std::string(60, 'x') + "\r\nquotedlong = \"" + std::string(60, 'q') + "\"\r\n" +
    "[options]\nother=in the second Options\n"
    "[ automation ]   ; note\rtrayatstartup\t=\t2\t\nlast=no line end";

TEST(ProfileRead, AwkwardFile) {
  for (const auto& [section, key, expected] :
       {Row{"Options", "alertifoffline", "1"}, Row{"  options ", "hostnameintext1.text", " 1 "},
        Row{"OPTIONS", "USELOG ", "yes"}, Row{"Options", "mismatched", "'x\""},
        Row{"Options", "inline", "1 ; a note"}, Row{"Options", "empty", ""}, Row{"Options", "novalue", "0"},
        Row{"Options", "equals", "a=b=c"}, Row{"Options", "dup", "first"}, Row{"Options", "commented", "0"},
        Row{"Options", "long", std::string(49, 'x')}, Row{"Options", "quotedlong", std::string(49, 'q')},
        Row{"Options", "other", "0"}, Row{"Options", "stray", "0"}, Row{"Automation", "trayatstartup", "2"},
        Row{"Automation", "last", "no line end"}, Row{"Automation", "uselog", "0"},
        Row{"Missing", "uselog", "0"}}) {
    EXPECT_EQ(readProfileText(kAwkward, section, key, "0", 50), (ProfileString{expected.size(), expected}))
        << "[" << section << "] " << key;
  }
  EXPECT_EQ(readProfileText(kAwkward, "Options", "quotedempty", "0", 50), (ProfileString{0, ""}));
  EXPECT_EQ(readProfileText(kAwkward, "Options", "lone", "0", 50), (ProfileString{1, "\""}));
  // The value ends at a NUL byte, as a C string does; its quotes still go.
  EXPECT_EQ(readProfileText("[Options]\nuselog=\"1\"\0 rest\n"s, "Options", "uselog", "0", 50),
            (ProfileString{1, "1"}));
  // A header's name ends at its last "]": "[ab]c]" is section "ab]c", not "ab".
  EXPECT_EQ(readProfileText("[ab]c]\nk=1\n[ab]\nk=2\n", "ab", "k", "0", 50), (ProfileString{1, "2"}));
}

TEST(ProfileWrite, KeepsEveryOtherByteAddsWhatIsMissingAtTheEndOfItsPlaceAndChangesOnlyWhatDiffers) {
  for (const auto& [file, expected] : std::vector<std::pair<std::string, std::string>>{
           {"; keep\r\n[Options]\r\n  UseLog   =   \"0\"  \r\nb=0\r\n",
            "; keep\r\n[Options]\r\n  UseLog   =1\r\nb=0\r\n"},
           {"[Options]\nuselog=\n", "[Options]\nuselog=1\n"},
           {"[Options]\nuselog\n", "[Options]\nuselog=1\n"},
           {"[Options]\nusel\n", "[Options]\nusel\nuselog=1\n"},
           {"[OPTIONS]\n;uselog=0\nuselog=0\nUSELOG=0\n[Options]\nuselog=0\n",
            "[OPTIONS]\n;uselog=0\nuselog=1\nUSELOG=0\n[Options]\nuselog=0\n"},
           {"[Options]\r\na=1\r\n; note\r\n\r\n[Automation]\r\n",
            "[Options]\r\na=1\r\n; note\r\nuselog=1\r\n\r\n[Automation]\r\n"},
           {"[Options]\na=1", "[Options]\na=1\nuselog=1\n"},
           {"[Options]\na=1\n[Automation]\n", "[Options]\na=1\nuselog=1\n[Automation]\n"},
           {"[Options]\ra=1\r", "[Options]\ra=1\ruselog=1\r"},
           {"[Automation]\nb=0\n", "[Automation]\nb=0\n[Options]\nuselog=1\n"},
           {"[Automation]\r\nb=0", "[Automation]\r\nb=0\r\n[Options]\r\nuselog=1\r\n"},
           {"", "[Options]\r\nuselog=1\r\n"},
           {"\xEF\xBB\xBF[Options]\r\nuselog=0\r\n", "\xEF\xBB\xBF[Options]\r\nuselog=1\r\n"},
           // The value left is exactly the text written.
           {"[Options]\nuselog= 1 \n", "[Options]\nuselog=1\n"},
           {"[Options]\nuselog=\"1\"\n", "[Options]\nuselog=1\n"},
           {"[Options]\nuselog=1\t\n", "[Options]\nuselog=1\n"},
           {"[Options]\n uselog \t\n", "[Options]\n uselog=1\n"}}) {
    EXPECT_EQ(writeProfileText(file, "Options", "uselog", "1"), expected) << file;
  }
}

TEST(ProfileWrite, RefusesWhatWouldBreakTheFile) {
  for (const auto& [section, key, value] :
       {Row{"Options", "uselog", "1\r\n[Evil]"}, Row{"Options", "uselog", "1\n"},
        Row{"Options", "uselog", "1\r"}, Row{"Options", "uselog", "1\0"s}, Row{"Options\n", "uselog", "1"},
        Row{"Options", "use\rlog", "1"}, Row{"Options", "a=b", "1"}, Row{"Options", ";uselog", "1"},
        Row{"Options", " ", "1"}}) {
    EXPECT_EQ(writeProfileText("[Options]\r\nuselog=0\r\n", section, key, value), std::nullopt)
        << section << "/" << key << "/" << value;
  }
}

// What a read and a write of one key find when the file arrives in pieces of `piece` bytes.
std::pair<ProfileString, std::string> inPieces(std::string_view file, std::string_view section,
                                               std::string_view key, std::size_t piece) {
  ProfileScanner reader(section, key, 50, 0);
  ProfileScanner writer(section, key, 0, 1);
  for (std::size_t at = 0; at < file.size(); at += piece) {
    reader.feed(file.substr(at, piece));
    writer.feed(file.substr(at, piece));
  }
  reader.finish();
  writer.finish();
  std::string written(file);
  if (const auto edit = profileEdit(writer.findings(), section, key, "1")) {
    written.replace(static_cast<std::size_t>(edit->at), static_cast<std::size_t>(edit->removed),
                    edit->inserted);
  }
  return {profileReadResult(reader.findings(), "0", 50), written};
}

TEST(ProfileScan, AFileInPiecesReadsAndWritesAsAWholeOne) {
  const std::string files[] = {kAwkward,
                               "\xEF\xBB\xBF[Options]\r\nuselog=\"2\"\r",
                               "\xEF\xBB[Options]\nuselog=1",
                               "[Options]\r\r\n\nuselog\r[Automation]\r\n",
                               "k=v\r",
                               "[Options]\nuselog=" + std::string(52, '5') + " \n"};
  const std::pair<std::string_view, std::string_view> names[] = {
      {"Options", "uselog"},  {"options", "hostnameintext1.text"},
      {"Automation", "last"}, {"Automation", "uselog"},
      {"Missing", "x"},       {"", "stray"},
      {"Options", "dup"}};
  for (const std::string& file : files) {
    for (const auto& [section, key] : names) {
      const ProfileString read = readProfileText(file, section, key, "0", 50);
      const std::string written = writeProfileText(file, section, key, "1").value_or("<refused>");
      for (std::size_t piece = 1; piece <= 5; ++piece) {
        const auto [pieceRead, pieceWritten] = inPieces(file, section, key, piece);
        EXPECT_EQ(pieceRead, read) << "[" << section << "] " << key << " in pieces of " << piece;
        if (!section.empty()) {
          EXPECT_EQ(pieceWritten, written) << "[" << section << "] " << key << " " << piece;
        }
      }
    }
  }
}

TEST(ProfileScan, KeepsOnlyTheHeadOfHugeLines) {
  const std::string huge(std::size_t{1} << 20, ' ');
  const std::string file = "[" + huge + "OPTIONS" + huge + "]" + huge + "\n; " + huge + "\nuselog" + huge +
                           "= \"" + std::string(std::size_t{1} << 20, '7') + "\"" + huge + "\n";
  ProfileScanner scanner("Options", "uselog", 50, 3);
  scanner.feed(file);
  ASSERT_TRUE(scanner.settled());
  EXPECT_EQ(scanner.findings().valueHead, std::string(1, '"') + std::string(49, '7'));
  EXPECT_EQ(scanner.findings().valuePartHead, " \"7");
  EXPECT_EQ(profileReadResult(scanner.findings(), "0", 50), (ProfileString{49, std::string(49, '7')}));
  // The whole value part gives way, the name and its blanks stay.
  const std::string written = writeProfileText(file, "Options", "uselog", "1").value();
  EXPECT_EQ(written, file.substr(0, file.find('=') + 1) + "1\n");
}

TEST(ReadsAsOn, NonZeroNumbersOnlyAreOn) {
  for (const char* on : {"2", "-1", " 1 ", "1.5", "1e3", "+1", ".5", "1e999"})
    EXPECT_TRUE(readsAsOn(on)) << on;
  for (const char* off : {"0", "-0", "0e10", "", " ", "1abc", "1,5", "yes", "inf", "nan", "0x1", "1e", "1 2",
                          "1e-999", "\"1\"", "+-1"})
    EXPECT_FALSE(readsAsOn(off)) << off;
}

}  // namespace
}  // namespace lumeno::settings
