// The profile file's reading and writing rules on awkward files, when a value is on, and the data
// of the Windows start-up value.
#include "common/ProfileText.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "settings/StartupEntry.h"

namespace lumeno::settings {
namespace {

using namespace std::string_literals;
using Row = std::array<std::string, 3>;

// Mixed CR LF, LF and CR line ends, a last line without one, a section name used twice.
const std::string kAwkward =
    "; Lumeno settings, edited by hand\r\nstray=before any section\r\n[Options]\r\n"
    "alertifoffline=1\n  HostNameInText1.Text   =   \" 1 \"  \r\tuselog\t=\t'yes'\t\r\n"
    "mismatched = 'x\"\r\ninline = 1 ; a note\r\nempty =\r\nnovalue\r\n"
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
  EXPECT_EQ(readProfileText("", "Options", "uselog", "0", 50), (ProfileString{1, "0"}));  // no file
}

TEST(ProfileWrite, KeepsEveryOtherByteAndAddsWhatIsMissingAtTheEndOfItsPlace) {
  for (const auto& [file, expected] : std::vector<std::pair<std::string, std::string>>{
           {"; keep\r\n[Options]\r\n  UseLog   =   \"0\"  \r\nb=0\r\n",
            "; keep\r\n[Options]\r\n  UseLog   =   1  \r\nb=0\r\n"},
           {"[Options]\nuselog=\n", "[Options]\nuselog=1\n"},
           {"[Options]\nuselog\n", "[Options]\nuselog=1\n"},
           {"[OPTIONS]\n;uselog=0\nuselog=0\nUSELOG=0\n[Options]\nuselog=0\n",
            "[OPTIONS]\n;uselog=0\nuselog=1\nUSELOG=0\n[Options]\nuselog=0\n"},
           {"[Options]\r\na=1\r\n; note\r\n\r\n[Automation]\r\n",
            "[Options]\r\na=1\r\n; note\r\nuselog=1\r\n\r\n[Automation]\r\n"},
           {"[Options]\na=1", "[Options]\na=1\nuselog=1\n"},
           {"[Options]\ra=1\r", "[Options]\ra=1\ruselog=1\r"},
           {"[Automation]\nb=0\n", "[Automation]\nb=0\n[Options]\nuselog=1\n"},
           {"[Automation]\r\nb=0", "[Automation]\r\nb=0\r\n[Options]\r\nuselog=1\r\n"},
           {"", "[Options]\r\nuselog=1\r\n"},
           {"\xEF\xBB\xBF[Options]\r\nuselog=0\r\n", "\xEF\xBB\xBF[Options]\r\nuselog=1\r\n"}}) {
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

TEST(ReadsAsOn, NonZeroNumbersOnlyAreOn) {
  for (const char* on : {"1", "2", "-1", " 1 ", "\t1", "1.5", "1e3", "+1", ".5", "1e999"})
    EXPECT_TRUE(readsAsOn(on)) << on;
  for (const char* off : {"0",   "0.0",  "-0",  " 0 ", "0e10", "",   " ",   "abc",    "1abc",  "1,5",
                          "yes", "true", "inf", "nan", "0x1",  "1e", "1 2", "1e-999", "\"1\"", "+-1"})
    EXPECT_FALSE(readsAsOn(off)) << off;
}

TEST(RunValueData, FolderBackslashAndValueName) {
  EXPECT_EQ(runValueData("C:\\Tools", "Lumeno.exe"), "C:\\Tools\\Lumeno.exe");
  EXPECT_EQ(runValueData("C:\\", "Lumeno.exe"), "C:\\Lumeno.exe");
}

}  // namespace
}  // namespace lumeno::settings
