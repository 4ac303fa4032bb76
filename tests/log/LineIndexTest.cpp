#include "log/LineIndex.h"
#include "log/LineText.h"
#include "log/LogMonitorReload.h"

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace lumeno::log {
namespace {

// The lines an index finds in `bytes` fed in the given pieces, as the monitor shows them.
std::vector<std::string> linesOf(const std::vector<std::string>& pieces) {
  LineIndex index;
  std::string bytes;
  for (const std::string& piece : pieces) {
    index.add(piece);
    bytes += piece;
  }
  std::vector<std::string> lines;
  for (std::size_t line = 0; line < index.lineCount(); ++line) {
    const std::string_view raw =
        std::string_view(bytes).substr(index.lineStart(line), index.lineEnd(line) - index.lineStart(line));
    std::string shown;
    appendDisplayText(shown, withoutLineBreak(raw));
    lines.push_back(shown);
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineIndexTest, EveryKindOfLineBreakEndsOneLineHoweverTheBytesArrive) {
  const std::vector<std::tuple<std::vector<std::string>, Lines>> rows = {
      {{""}, {}},
      {{"one\r\ntwo\r\n"}, {"one", "two"}},
      {{"one\ntwo\rthree\r\n\r\nfive"}, {"one", "two", "three", "", "five"}},
      {{"one\r", "\ntwo\r\n"}, {"one", "two"}},  // a CR LF pair split between two reads
      {{"one\r", "", "\n"}, {"one"}},            // an empty read between its halves
      {{"one\r", "two\n"}, {"one", "two"}},      // a lone CR, then text
      {{"\n\r\r\n"}, {"", "", ""}},
      {{"unfinished"}, {"unfinished"}},
      {{"a", "b\r", "\r", "\n"}, {"ab", ""}},
  };
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const auto& [pieces, lines] = rows[row];
    EXPECT_EQ(linesOf(pieces), lines) << "row " << row;
  }
}

TEST(LineIndexTest, FindsTheLineOfAByteAndStartsAtItsBase) {
  LineIndex index(100);  // the index of a file's end, from byte 100 on
  index.add("ab\r\ncd\r\nef");
  ASSERT_EQ(index.lineCount(), 3U);
  EXPECT_EQ(index.base(), 100U);
  EXPECT_EQ(index.end(), 110U);
  EXPECT_EQ(index.lineAt(100), 0U);
  EXPECT_EQ(index.lineAt(103), 0U);  // the LF of the first line break
  EXPECT_EQ(index.lineAt(104), 1U);
  EXPECT_EQ(index.lineAt(109), 2U);
  EXPECT_EQ(index.lineEnd(2), 110U);
  index.release();
  EXPECT_EQ(index.lineCount(), 0U);
}

TEST(LineTextTest, BytesThatAreNotTextShowAsReplacementCharacters) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"plain", "plain"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"two \xFF!", "two \xEF\xBF\xBD!"},
      {"\xC3", "\xEF\xBF\xBD"},                                  // cut short at the end
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
      {"caf\xE9 ok", "caf\xEF\xBF\xBD ok"},                      // Latin-1
  };
  for (const auto& [bytes, shown] : rows) {
    std::string out;
    appendDisplayText(out, bytes);
    EXPECT_EQ(out, shown);
  }
}

TEST(LogChangeTest, TellsUnchangedGrownReplacedAndMissingApart) {
  using platform::FileIdentity;
  const FileIdentity shown{true, 7, 100, 500, 1000};  // exists, device, inode, size, modification time
  const std::vector<std::tuple<FileIdentity, FileIdentity, LogChange>> rows = {
      {shown, shown, LogChange::Unchanged},
      {shown, FileIdentity{true, 7, 100, 560, 2000}, LogChange::Grew},
      {shown, FileIdentity{true, 7, 101, 900, 2000}, LogChange::Replaced},  // another file moved over it
      {shown, FileIdentity{true, 7, 100, 500, 2000}, LogChange::Replaced},  // rewritten in place
      {shown, FileIdentity{true, 7, 100, 20, 2000}, LogChange::Replaced},   // shrunk
      {shown, FileIdentity{}, LogChange::Missing},
      {FileIdentity{}, FileIdentity{true, 7, 100, 0, 1000}, LogChange::Replaced},  // nothing shown yet
  };
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const auto& [before, now, expected] = rows[row];
    EXPECT_EQ(classifyLogChange(before, now), expected) << "row " << row;
  }
}

}  // namespace
}  // namespace lumeno::log
