// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LineIndex.h"
#include "log/LineText.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
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
    lines.push_back(displayText(withoutLineBreak(raw)));
  }
  return lines;
}

using Lines = std::vector<std::string>;

// CR LF, a lone CR or a lone LF each end one line, however the bytes arrive.
TEST(LineIndexTest, AgreesWithALineByLineSplitOnAnyMixOfBreaksAndPieces) {
  // Text, CRs and LFs in a deterministic jumble, fed in pieces of every size up to 40 bytes.
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return (seed = seed * 1103515245U + 12345U) >> 16U; };
  std::string bytes;
  for (int n = 0; n < 20000; ++n) {
    const std::uint32_t pick = next() % 10;
    bytes += pick < 2 ? '\r' : pick < 4 ? '\n' : static_cast<char>('a' + pick);
  }
  Lines expected;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      line += bytes[i];
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    expected.push_back(std::exchange(line, {}));
  }
  if (!line.empty()) expected.push_back(line);

  std::vector<std::string> pieces;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = std::min<std::size_t>(next() % 41, bytes.size() - at);
    pieces.push_back(bytes.substr(at, length));
    at += length;
  }
  EXPECT_EQ(linesOf(pieces), expected);
  EXPECT_EQ(linesOf({bytes}), expected);

  // A piece is read to its end and not a byte further, whatever lies beyond it.
  // A CR at a piece's end waits for the next piece to tell whether an LF follows.
  const std::string longer = "a\r\nb\n";
  for (const std::size_t length : {std::size_t{2}, std::size_t{4}}) {
    LineIndex cut(0);
    cut.add(std::string_view(longer).substr(0, length));
    LineIndex whole(0);
    whole.add(longer.substr(0, length));
    EXPECT_EQ(std::tuple(cut.lineCount(), cut.lineEnd(0)), std::tuple(whole.lineCount(), whole.lineEnd(0)));
  }
}

TEST(LineIndexTest, StartsAtItsBaseAndGivesItsMemoryBack) {
  LineIndex index(100);  // the index of a file's end, from byte 100 on
  index.add("ab\r\ncd\r\nef");
  ASSERT_EQ(index.lineCount(), 3U);
  EXPECT_EQ(std::tuple(index.base(), index.end(), index.lineEnd(2)), std::tuple(100U, 110U, 110U));
  index.release();
  EXPECT_EQ(index.lineCount(), 0U);
}

TEST(LineTextTest, BytesThatAreNotTextShowAsReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";
  std::vector<std::pair<std::string, std::string>> rows = {
      {"two \xFF!", "two " + r + "!"},
      {"\xC3", r},                        // cut short at the end
      {"\xC0\xAF", r + r},                // overlong
      {"\xED\xA0\x80", r + r + r},        // a surrogate
      {"caf\xE9 ok", "caf" + r + " ok"},  // Latin-1
      // A byte just past the range its lead allows starts no character.
      {"\xC1\xBF", r + r},
      {"\xC2\x7F", r + "\x7F"},
      {"\xC2\xC0", r + r},
      {"\xE0\x9F\x80", r + r + r},
      {"\xE1\x80\x7F", r + r + "\x7F"},
      {"\xE1\x80\xC0", r + r + r},
      {"\xF0\x8F\xBF\xBF", r + r + r + r},
      {"\xF1\x80\x80", r + r + r},
      {"\xF4\x90\x80\x80", r + r + r + r},
      {"\xF5\x80", r + r},
  };
  // Text, and each end of each lead's range, shows as it is.
  for (const char* kept : {"plain", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\xC2\x80", "\xDF\xBF",
                           "\xE0\xA0\x80", "\xE1\x80\x80", "\xEC\xBF\xBF", "\xED\x9F\xBF", "\xEF\xBF\xBF",
                           "\xF0\x90\x80\x80", "\xF3\xBF\xBF\xBF", "\xF4\x8F\xBF\xBF"}) {
    rows.emplace_back(kept, kept);
  }
  for (std::size_t row = 0; row < rows.size(); ++row) {
    EXPECT_EQ(displayText(rows[row].first), rows[row].second) << "row " << row;
  }
  // A search ignores the case of A to Z only: the letters' neighbours and other bytes stay.
  EXPECT_EQ(foldCase("@AZ[`az{\xC3\x89"), "@az[`az{\xC3\x89");
}

}  // namespace
}  // namespace lumeno::log
