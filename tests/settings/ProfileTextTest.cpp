// The profile file's reading and writing rules, on a corpus of awkward files.
#include "settings/ProfileText.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace lumeno::settings {
namespace {

using namespace std::string_literals;

constexpr std::size_t kBuffer = 50;

ProfileString read(std::string_view file, std::string_view section, std::string_view key,
                   std::size_t size = kBuffer) {
  return readProfileText(file, section, key, "0", size);
}

ProfileString chars(std::string_view text) {
  return {text.size(), std::string(text)};
}

// ---------------------------------------------------------------------------------------------
// Reading

struct ReadCase {
  const char* what;
  std::string file;
  std::string section;
  std::string key;
  ProfileString expected;
};

class ReadCorpus : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadCorpus, ReadsAsThePrivateProfileFunctionsDo) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(read(c.file, c.section, c.key), c.expected) << c.what;
}

const std::string kAwkward =
    "; Lumeno settings, edited by hand\r\n"
    "stray=before any section\r\n"
    "[Options]\r\n"
    "alertifoffline=1\r\n"
    "  HostNameInText1.Text   =   \" 1 \"  \r\n"
    "\tuselog\t=\t'yes'\t\r\n"
    "lonequote = \"\r\n"
    "emptyquotes = \"\"\r\n"
    "mismatched = 'x\"\r\n"
    "inner = a \"b\" c\r\n"
    "inline = 1 ; a note\r\n"
    "empty =\r\n"
    "blankafter =    \r\n"
    "novalue\r\n"
    "equals = a=b=c\r\n"
    "use log = spaced name\r\n"
    "#hash = 7\r\n"
    ";commented = 9\r\n"
    "   ; indented comment = 8\r\n"
    "[Options\r\n"
    "afterbrokenheader = 5\r\n"
    "\r\n"
    "[ automation ]   ; trailing note\r\n"
    "trayatstartup\t=\t2\t\r\n"
    "[Section]with]brackets]\r\n"
    "inside = yes\r\n";

INSTANTIATE_TEST_SUITE_P(
    AwkwardFile, ReadCorpus,
    ::testing::Values(
        ReadCase{"plain value", kAwkward, "Options", "alertifoffline", chars("1")},
        ReadCase{"names ignore case and blanks, value loses one pair of quotes", kAwkward, "  options ",
                 "hostnameintext1.text", chars(" 1 ")},
        ReadCase{"tabs around name and value, single quotes", kAwkward, "OPTIONS", "USELOG", chars("yes")},
        ReadCase{"a lone quote is kept", kAwkward, "Options", "lonequote", chars("\"")},
        ReadCase{"empty quotes read as nothing", kAwkward, "Options", "emptyquotes", chars("")},
        ReadCase{"quotes that do not match are kept", kAwkward, "Options", "mismatched", chars("'x\"")},
        ReadCase{"inner quotes are kept", kAwkward, "Options", "inner", chars("a \"b\" c")},
        ReadCase{"an inline semicolon belongs to the value", kAwkward, "Options", "inline",
                 chars("1 ; a note")},
        ReadCase{"nothing after the equals sign", kAwkward, "Options", "empty", chars("")},
        ReadCase{"only blanks after the equals sign", kAwkward, "Options", "blankafter", chars("")},
        ReadCase{"a key line without equals sign gives the default", kAwkward, "Options", "novalue",
                 chars("0")},
        ReadCase{"the first equals sign splits", kAwkward, "Options", "equals", chars("a=b=c")},
        ReadCase{"a name with a space inside", kAwkward, "Options", "use log", chars("spaced name")},
        ReadCase{"a requested name loses its blanks", kAwkward, "Options", "uselog ", chars("yes")},
        ReadCase{"a hash does not start a comment", kAwkward, "Options", "#hash", chars("7")},
        ReadCase{"a commented-out key is absent", kAwkward, "Options", "commented", chars("0")},
        ReadCase{"an indented comment is absent", kAwkward, "Options", "; indented comment", chars("0")},
        ReadCase{"a header without its bracket does not start a section", kAwkward, "Options",
                 "afterbrokenheader", chars("5")},
        ReadCase{"blanks inside the brackets and a note after them", kAwkward, "Automation", "trayatstartup",
                 chars("2")},
        ReadCase{"the last bracket closes the name", kAwkward, "Section]with]brackets", "inside",
                 chars("yes")},
        ReadCase{"a key before any section is in no named section", kAwkward, "Options", "stray", chars("0")},
        ReadCase{"a key of another section is absent", kAwkward, "Automation", "uselog", chars("0")},
        ReadCase{"an absent section", kAwkward, "Missing", "uselog", chars("0")},
        ReadCase{"an absent file", "", "Options", "uselog", chars("0")}));

TEST(ProfileRead, FirstMatchingSectionAndFirstMatchingKeyWin) {
  const std::string file =
      "[Options]\n"
      "uselog=1\n"
      "USELOG=0\n"
      "[options]\n"
      "uselog=2\n"
      "alertifoffline=1\n";
  EXPECT_EQ(read(file, "Options", "uselog"), chars("1"));
  // The second "options" section is never searched, even for a key the first one lacks.
  EXPECT_EQ(read(file, "Options", "alertifoffline"), chars("0"));
}

TEST(ProfileRead, EveryKindOfLineEndReads) {
  const std::string file = "[Options]\ra=1\r\nb=2\nc=3\r\n\r\n\n\r[Automation]\rd=4\n\re=5";
  EXPECT_EQ(read(file, "Options", "a"), chars("1"));
  EXPECT_EQ(read(file, "Options", "b"), chars("2"));
  EXPECT_EQ(read(file, "Options", "c"), chars("3"));
  EXPECT_EQ(read(file, "Automation", "d"), chars("4"));
  EXPECT_EQ(read(file, "Automation", "e"), chars("5"));  // last line without a line end
  EXPECT_EQ(read(file, "Options", "d"), chars("0"));
}

TEST(ProfileRead, LongValuesAreCutToTheBuffer) {
  const std::string sixty(60, 'x');
  const std::string file = "[O]\nlong=" + sixty + "\nquoted=\"" + sixty +
                           "\"\nexact=" + std::string(49, 'y') + "\nfits=\"" + std::string(49, 'z') + "\"\n";
  EXPECT_EQ(read(file, "O", "long"), chars(std::string(49, 'x')));
  EXPECT_EQ(read(file, "O", "quoted"), chars(std::string(49, 'x')));
  EXPECT_EQ(read(file, "O", "exact"), chars(std::string(49, 'y')));
  EXPECT_EQ(read(file, "O", "fits"), chars(std::string(49, 'z')));
  EXPECT_EQ(read(file, "O", "long", 1), chars(""));
  EXPECT_EQ(read(file, "O", "long", 0), chars(""));
  EXPECT_EQ(readProfileText(file, "O", "missing", std::string(60, 'd'), kBuffer),
            chars(std::string(49, 'd')));
}

TEST(ProfileRead, DefaultLosesTrailingBlanksOnly) {
  EXPECT_EQ(readProfileText("", "O", "k", " 0  ", kBuffer), chars(" 0"));
  EXPECT_EQ(readProfileText("", "O", "k", "", kBuffer), chars(""));
}

TEST(ProfileRead, ByteOrderMarkAndNulBytes) {
  const std::string file = "\xEF\xBB\xBF[Options]\r\nuselog=1\0junk\r\nalert=\"1\0\"\r\n"s;
  EXPECT_EQ(read(file, "Options", "uselog"), chars("1"));
  EXPECT_EQ(read(file, "Options", "alert"), chars("\"1"));
}

// ---------------------------------------------------------------------------------------------
// Writing

std::string written(std::string_view file, std::string_view section, std::string_view key,
                    std::string_view value) {
  const std::optional<std::string> out = writeProfileText(file, section, key, value);
  EXPECT_TRUE(out.has_value());
  return out.value_or("<refused>");
}

TEST(ProfileWrite, ChangesOnlyTheValueBytes) {
  const std::string file =
      "; keep me\r\n"
      "[Options]\r\n"
      "  UseLog   =   \"0\"  ; not a comment\r\n"
      "alertifoffline=0\r\n";
  EXPECT_EQ(written(file, "options", "uselog", "1"),
            "; keep me\r\n"
            "[Options]\r\n"
            "  UseLog   =   1\r\n"
            "alertifoffline=0\r\n");
  EXPECT_EQ(written(file, "Options", "alertifoffline", "1"),
            "; keep me\r\n"
            "[Options]\r\n"
            "  UseLog   =   \"0\"  ; not a comment\r\n"
            "alertifoffline=1\r\n");
}

TEST(ProfileWrite, KeepsTrailingBlanksAndFillsEmptyValues) {
  EXPECT_EQ(written("[O]\r\nk = 0 \t\r\n", "O", "k", "1"), "[O]\r\nk = 1 \t\r\n");
  EXPECT_EQ(written("[O]\nk=\n", "O", "k", "1"), "[O]\nk=1\n");
  EXPECT_EQ(written("[O]\nk =  \n", "O", "k", "1"), "[O]\nk =1  \n");
  EXPECT_EQ(written("[O]\nk\n", "O", "k", "1"), "[O]\nk=1\n");
  EXPECT_EQ(written("[O]\nk=0", "O", "k", "1"), "[O]\nk=1");
  EXPECT_EQ(written("[O]\r\nk=1\r\n", "O", "k", "1"), "[O]\r\nk=1\r\n");
}

TEST(ProfileWrite, OnlyTheFirstOfDuplicatesChangesAndCommentsStay) {
  const std::string file =
      "[Options]\n"
      ";uselog=0\n"
      "uselog=0\n"
      "uselog=0\n"
      "[Options]\n"
      "uselog=0\n";
  EXPECT_EQ(written(file, "Options", "uselog", "1"),
            "[Options]\n"
            ";uselog=0\n"
            "uselog=1\n"
            "uselog=0\n"
            "[Options]\n"
            "uselog=0\n");
}

TEST(ProfileWrite, AMissingKeyGoesAfterTheLastNonBlankLineOfItsSection) {
  EXPECT_EQ(
      written("[Options]\r\na=1\r\n; note\r\n\r\n\r\n[Automation]\r\nb=0\r\n", "Options", "uselog", "1"),
      "[Options]\r\na=1\r\n; note\r\nuselog=1\r\n\r\n\r\n[Automation]\r\nb=0\r\n");
  EXPECT_EQ(written("[Options]\n\n[Automation]\n", "Options", "uselog", "1"),
            "[Options]\nuselog=1\n\n[Automation]\n");
  EXPECT_EQ(written("[Options]\ra=1\r", "Options", "uselog", "1"), "[Options]\ra=1\ruselog=1\r");
  // The file's own line end, even when its last line has none.
  EXPECT_EQ(written("[Options]\na=1", "Options", "uselog", "1"), "[Options]\na=1\nuselog=1\n");
  EXPECT_EQ(written("[Options]", "Options", "uselog", "1"), "[Options]\r\nuselog=1\r\n");
}

TEST(ProfileWrite, AMissingSectionGoesAtTheEnd) {
  EXPECT_EQ(written("", "Options", "uselog", "1"), "[Options]\r\nuselog=1\r\n");
  EXPECT_EQ(written("[Options]\nuselog=1\n", "Automation", "autostartup", "0"),
            "[Options]\nuselog=1\n[Automation]\nautostartup=0\n");
  EXPECT_EQ(written("[Options]\r\nuselog=1", "Automation", "autostartup", "0"),
            "[Options]\r\nuselog=1\r\n[Automation]\r\nautostartup=0\r\n");
  EXPECT_EQ(written("; only a comment", " Automation ", " autostartup ", "0"),
            "; only a comment\r\n[Automation]\r\nautostartup=0\r\n");
}

TEST(ProfileWrite, ByteOrderMarkStays) {
  EXPECT_EQ(written("\xEF\xBB\xBF[Options]\r\nuselog=0\r\n", "Options", "uselog", "1"),
            "\xEF\xBB\xBF[Options]\r\nuselog=1\r\n");
}

TEST(ProfileWrite, RefusesWhatWouldBreakTheFile) {
  const std::string file = "[Options]\r\nuselog=0\r\n";
  EXPECT_FALSE(writeProfileText(file, "Options", "uselog", "1\r\n[Evil]"));
  EXPECT_FALSE(writeProfileText(file, "Options", "uselog", "1\n"));
  EXPECT_FALSE(writeProfileText(file, "Options", "uselog", "1\0"s));
  EXPECT_FALSE(writeProfileText(file, "Options\n", "uselog", "1"));
  EXPECT_FALSE(writeProfileText(file, "Options", "use\rlog", "1"));
  EXPECT_FALSE(writeProfileText(file, "Options", "a=b", "1"));
  EXPECT_FALSE(writeProfileText(file, "Options", ";uselog", "1"));
  EXPECT_FALSE(writeProfileText(file, "Options", "[uselog]", "1"));
  EXPECT_FALSE(writeProfileText(file, "Options", "  ", "1"));
  EXPECT_FALSE(writeProfileText(file, "", "uselog", "1"));
}

// ---------------------------------------------------------------------------------------------
// Generated files: every write must read back, leave every other key as it was and change no
// byte outside the one line it touches.

// A straightforward second reading of the rules, line by line, to compare against.
std::optional<std::string> modelRead(std::string_view file, std::string_view section, std::string_view key) {
  auto lower = [](std::string_view s) {
    std::string out(s);
    for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return out;
  };
  auto trim = [](std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
  };
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '\r' || file[i] == '\n') {
      if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += file[i];
    }
  }
  const std::string wantSection = lower(trim(section));
  const std::string wantKey = lower(trim(key));
  bool seenSection = false;  // only the first matching section counts
  bool inSection = wantSection.empty();
  for (const std::string& raw : lines) {
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.find(']') != std::string_view::npos) {
      if (inSection) return std::nullopt;
      const std::string name = lower(trim(line.substr(1, line.rfind(']') - 1)));
      inSection = !seenSection && name == wantSection;
      seenSection = seenSection || inSection;
      continue;
    }
    if (!inSection) continue;
    const std::size_t eq = line.find('=');
    if (lower(trim(line.substr(0, eq))) != wantKey) continue;
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kBuffer - 1));
  }
  return std::nullopt;
}

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return (x | 32) == (y | 32); });
}

class GeneratedFiles : public ::testing::Test {
 protected:
  const std::vector<std::string> sections{"Options", "Automation", "Other"};
  const std::vector<std::string> keys{"alertifoffline", "hostnameintext1.text", "uselog",
                                      "trayatstartup",  "autostartup",          "x"};
  std::mt19937 random{20261205};  // fixed: the same files on every run

  std::string pick(const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  }
  std::string pick(std::initializer_list<std::string> from) { return pick(std::vector<std::string>(from)); }

  std::string randomCase(std::string text) {
    for (char& c : text) {
      if (random() % 3 == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return text;
  }

  std::string makeFile() {
    std::string file;
    const int lineCount = static_cast<int>(random() % 14);
    for (int i = 0; i < lineCount; ++i) {
      const std::string blank = pick({"", " ", "\t", "  \t"});
      switch (random() % 6) {
        case 0:
          file += blank + "[" + pick({"", " "}) + randomCase(pick(sections)) + pick({"", "\t"}) + "]";
          break;
        case 1: file += blank + pick({";", "; "}) + pick(keys) + "=1"; break;
        case 2: file += blank; break;
        default:
          file += blank + randomCase(pick(keys)) + pick({"", " ", "\t "}) + pick({"=", "=", ""}) +
                  pick({"", " ", "  "}) + pick({"0", "1", " 2", "\"1\"", "'0'", "\"", "1 ; c", "", "abc"}) +
                  pick({"", " ", "\t"});
      }
      if (i + 1 < lineCount || random() % 2 == 0) file += pick({"\r\n", "\r\n", "\n", "\r"});
    }
    return file;
  }
};

TEST_F(GeneratedFiles, ReadsAgreeWithASimpleModel) {
  for (int round = 0; round < 400; ++round) {
    const std::string file = makeFile();
    for (const std::string& section : sections) {
      for (const std::string& key : keys) {
        const std::optional<std::string> expected = modelRead(file, section, key);
        EXPECT_EQ(read(file, section, key), chars(expected.value_or("0")))
            << "file: " << ::testing::PrintToString(file) << " [" << section << "] " << key;
      }
    }
  }
}

TEST_F(GeneratedFiles, AWriteTouchesOneLineAndReadsBack) {
  for (int round = 0; round < 400; ++round) {
    const std::string file = makeFile();
    const std::string section = randomCase(pick(sections));
    const std::string key = randomCase(pick(keys));
    const std::string value = pick({"0", "1", "42"});
    const std::optional<std::string> out = writeProfileText(file, section, key, value);
    ASSERT_TRUE(out.has_value());
    std::string context = "file: " + ::testing::PrintToString(file);
    context.append(" [").append(section).append("] ").append(key);

    EXPECT_EQ(read(*out, section, key), chars(value)) << context;
    for (const std::string& otherSection : sections) {
      for (const std::string& otherKey : keys) {
        const bool same = sameName(otherSection, section) && sameName(otherKey, key);
        if (same) continue;
        EXPECT_EQ(read(*out, otherSection, otherKey), read(file, otherSection, otherKey))
            << context << " changed [" << otherSection << "] " << otherKey;
      }
    }

    // Only one stretch of bytes differs, and the old bytes in it never hold a line end.
    const auto firstDiff = static_cast<std::size_t>(
        std::mismatch(file.begin(), file.end(), out->begin(), out->end()).first - file.begin());
    std::size_t common = 0;
    while (common < file.size() - firstDiff && common < out->size() - firstDiff &&
           file[file.size() - 1 - common] == (*out)[out->size() - 1 - common]) {
      ++common;
    }
    const std::string removed = file.substr(firstDiff, file.size() - firstDiff - common);
    EXPECT_EQ(removed.find_first_of("\r\n"), std::string::npos) << context;
    EXPECT_GE(out->size() + removed.size(), file.size()) << context;
  }
}

// ---------------------------------------------------------------------------------------------
// Values as on/off

TEST(ReadsAsOn, NonZeroNumbersAreOn) {
  for (const char* on : {"1", "2", "-1", " 1 ", "\t1", "1.5", "1e3", "+1", ".5", "5.", "0.001", "1E-3",
                         "-0.5", "0000001", "1e999", "00.10"}) {
    EXPECT_TRUE(readsAsOn(on)) << on;
  }
}

TEST(ReadsAsOn, ZeroAndAnythingElseAreOff) {
  for (const char* off : {"0",    "0.0", "-0",  "+0",   " 0 ", "0e10",   ".0",    "0.",   "",    " ",  "abc",
                          "1abc", "1,5", "yes", "true", "on",  "inf",    "nan",   "-inf", "0x1", "1e", "1e+",
                          ".",    "-",   "+",   "1..2", "1 2", "1e-999", "\"1\"", "+-1",  "--1"}) {
    EXPECT_FALSE(readsAsOn(off)) << off;
  }
}

}  // namespace
}  // namespace lumeno::settings
