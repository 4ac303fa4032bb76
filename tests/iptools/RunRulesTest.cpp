// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a tool's run: the desktop's double-click interval, what the output box keeps of a
// runaway tool, and where a result file is cut. The presenter's tests cover the Stop clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "iptools/OutputTail.h"
#include "iptools/ResultCap.h"
#include "iptools/StopClickGuard.h"
#include "iptools/WindowRules.h"

namespace lumeno::iptools {
namespace {

TEST(StopClickGuard, GoesByTheDesktopsOwnDoubleClickInterval) {
  StopClickGuard guard;
  guard.started(10'000);
  EXPECT_FALSE(guard.acceptsStopAt(10'100, 400));
  EXPECT_TRUE(guard.acceptsStopAt(10'100, 50));
}

// The counter is read back from its caption; a number too long to add 1 to safely starts again.
TEST(PingCounter, AddsOneToTheCaptionReadAsAWholeNumber) {
  const std::string nines(17, '9');
  const std::vector<std::pair<std::string, std::string>> rows{
      {"0", "1"},        {"40", "41"}, {"", "1"},
      {"x", "1"},        {"-3", "1"},  {nines, "1" + std::string(17, '0')},
      {nines + "9", "1"}};
  for (const auto& [caption, next] : rows) EXPECT_EQ(nextPingCount(caption), next) << caption;
}

std::string numberedLines(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

std::string withNote(const std::string& kept) {
  return std::string(kEarlierOutputLeftOut) + "\n" + kept;
}

TEST(OutputTail, KeepsEverythingWithinTheLimitsAndOnlyTheEndBeyondThem) {
  OutputTail ordinary;  // the designed limits: a long ping is kept whole
  const std::string ping = numberedLines(1, 5000) + "--- statistics ---";
  ordinary.append(ping);
  EXPECT_EQ(ordinary.text(), ping);
  EXPECT_FALSE(ordinary.leftOutEarlierOutput());

  OutputTail byLines({.maxLines = 3, .maxBytes = 1000, .maxLineBytes = 100});
  byLines.append(numberedLines(1, 3));
  EXPECT_EQ(byLines.text(), numberedLines(1, 3));  // exactly at the limit
  byLines.append("line 4\nline 5\nline");
  byLines.append(" 6 unfinished");
  EXPECT_EQ(byLines.text(), withNote("line 4\nline 5\nline 6 unfinished"));
  EXPECT_TRUE(byLines.leftOutEarlierOutput());

  OutputTail byBytes({.maxLines = 1000, .maxBytes = 20, .maxLineBytes = 10});
  byBytes.append(numberedLines(1, 9));  // 7 bytes a line
  EXPECT_EQ(byBytes.text(), withNote(numberedLines(8, 9)));
}

TEST(OutputTail, BreaksAnOverlongLineWithoutSplittingACharacter) {
  OutputTail tail({.maxLines = 100, .maxBytes = 1000, .maxLineBytes = 8});
  tail.append("abcdefgh\n");          // exactly as long as a line may be: not broken
  tail.append("1234567\xC3\xA9xyz");  // the two bytes of "é" would straddle the break
  EXPECT_EQ(tail.text(), "abcdefgh\n1234567\n\xC3\xA9xyz");
  tail.append("\n");
  tail.append(std::string(20, 'w'));  // no line break at all
  EXPECT_EQ(tail.text(), "abcdefgh\n1234567\n\xC3\xA9xyz\nwwwwwwww\nwwwwwwww\nwwww");
  tail.append("zzzz");  // a line that grows piece by piece is broken at the same length
  tail.append("zz");
  EXPECT_TRUE(tail.text().ends_with("\nwwwwzzzz\nzz"));
}

// A view that applies the changes the way the output box does: the note goes on top, dropped
// lines go from just below it, appended text goes at the end.
struct MirrorView {
  std::string text;

  static std::size_t lineStart(const std::string& text, std::size_t line) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < line; ++i) {
      const std::size_t end = text.find('\n', at);
      if (end == std::string::npos) return std::string::npos;
      at = end + 1;
    }
    return at;
  }

  void apply(const OutputTail::Change& change, const OutputTail& tail) {
    if (change.rebuild) {
      text = tail.text();
      return;
    }
    if (change.addNote) text = withNote(text);
    if (change.dropLines > 0) {
      const std::size_t first = tail.leftOutEarlierOutput() ? 1 : 0;
      const std::size_t from = lineStart(text, first);
      const std::size_t to = lineStart(text, first + change.dropLines);
      text.erase(from, to == std::string::npos ? std::string::npos : to - from);
    }
    text += change.appended;
  }
};

TEST(OutputTail, AViewThatAppliesEachChangeShowsTheKeptTextWhateverThePieces) {
  std::mt19937 random(20261206);  // a fixed seed: the same pieces every run
  const std::string output = [&] {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
      text += "line " + std::to_string(i) + " \xE2\x82\xAC";  // a three-byte character too
      if (i % 97 == 0) text += std::string(300, 'x');         // now and then an overlong line
      text += "\n";
    }
    return text;
  }();
  for (const std::size_t maxPiece : {1UL, 7UL, 300UL, 5000UL, 100000UL}) {
    SCOPED_TRACE(maxPiece);
    OutputTail tail({.maxLines = 40, .maxBytes = 2000, .maxLineBytes = 64});
    MirrorView view;
    std::uniform_int_distribution<std::size_t> size(1, maxPiece);
    for (std::size_t at = 0; at < output.size();) {
      const std::size_t piece = std::min(size(random), output.size() - at);
      tail.append(std::string_view(output).substr(at, piece));
      at += piece;
      if (random() % 3 != 0) continue;  // the view does not always keep up
      view.apply(tail.takeChange(), tail);
      ASSERT_EQ(view.text, tail.text()) << "after " << at << " bytes";
    }
    view.apply(tail.takeChange(), tail);
    EXPECT_EQ(view.text, tail.text());
    const std::string kept = tail.text();
    EXPECT_LE(static_cast<std::size_t>(std::count(kept.begin(), kept.end(), '\n')), 41U);
    EXPECT_LE(kept.size(), 2000 + kEarlierOutputLeftOut.size() + 1);
    EXPECT_NE(kept.find("line 2999 \xE2\x82\xAC\n"), std::string::npos);  // the end is always there
  }
}

std::string written(ResultCap& cap, const std::vector<std::string>& pieces) {
  std::string file;
  for (const std::string& piece : pieces) {
    const ResultCap::Piece taken = cap.take(piece);
    file.append(taken.keep);
    file += taken.note;
  }
  return file;
}

TEST(ResultCap, StopsTheFileAtItsLimitWithALastLineThatSaysSo) {
  const std::string note(kOutputCutNote);
  ResultCap roomy(1000);
  EXPECT_EQ(written(roomy, {"one\n", "two\n"}), "one\ntwo\n");
  EXPECT_FALSE(roomy.full());

  const std::uint64_t limit = 200;
  const std::size_t room = limit - note.size() - 1;
  ResultCap atLineEnd(limit);
  const std::string lines = std::string(room - 1, 'a') + "\n";  // the output fills the room exactly
  EXPECT_EQ(written(atLineEnd, {lines, "more\n", "and more\n"}), lines + note);
  EXPECT_TRUE(atLineEnd.full());

  ResultCap midLine(limit);
  const std::string file = written(midLine, {std::string(500, 'b'), "later\n"});
  EXPECT_EQ(file, std::string(room, 'b') + "\n" + note);  // the note is a line of its own
  EXPECT_LE(file.size(), limit);
}

}  // namespace
}  // namespace lumeno::iptools
