// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogMonitorPresenter.h"

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "FakeLogSource.h"
#include "ScriptedMessageBoxes.h"

namespace lumeno::log {
namespace {

using Lines = std::vector<std::string>;

// "line 000000\r\n" ... : `count` numbered lines, 13 bytes each.
std::string numberedLines(std::size_t count, std::size_t from = 0) {
  std::string bytes;
  for (std::size_t n = from; n < from + count; ++n) {
    std::string number = std::to_string(n);
    bytes += "line " + std::string(6 - number.size(), '0') + number + "\r\n";
  }
  return bytes;
}

struct LogMonitorPresenterTest : ::testing::Test {
  [[nodiscard]] Lines lines() {
    Lines shown;
    for (std::size_t line = 0; line < view.count; ++line) shown.push_back(presenter.lineText(line));
    return shown;
  }
  // Runs the slices of work the presenter asked for; how many there were.
  int finishWork() {
    int slices = 0;
    while (active->busy() && slices < 1000) {
      active->doWork();
      ++slices;
    }
    return slices;
  }
  // The line a search to its end selects.
  std::optional<std::size_t> found(std::string_view text, bool forward) {
    active->find(text, forward);
    finishWork();
    return active->currentLine();
  }
  [[nodiscard]] Lines linesAfterTick() {
    presenter.tick();
    return lines();
  }
  std::uint64_t bytesReadBy(const std::function<void()>& step) {
    const std::uint64_t before = source.bytesRead;
    step();
    return source.bytesRead - before;
  }

  FakeLogSource source;
  RecordingView view;
  test::ScriptedMessageBoxes boxes;
  LogMonitorPresenter presenter{source, view, boxes};
  LogMonitorPresenter* active = &presenter;  // the one finishWork() and found() drive
};

TEST_F(LogMonitorPresenterTest, ATickReadsNothingWhenUnchangedOnlyTheNewBytesWhenGrownAndAllWhenReplaced) {
  presenter.load();  // no log yet: nothing shown, looked for again at the next tick
  EXPECT_EQ(std::tuple(view.reloading, view.count, view.note), std::tuple(true, 0U, ""));

  source.append(numberedLines(10000));  // 130 kB
  presenter.tick();
  EXPECT_EQ(std::tuple(view.count, presenter.lineText(9999)), std::tuple(10000U, "line 009999"));
  const int bottoms = view.bottomShown;

  EXPECT_EQ(bytesReadBy([&] { presenter.tick(); }), 0U);
  EXPECT_EQ(view.bottomShown, bottoms);  // nothing new: the view stays where the user put it

  source.append("two \xFF!\r\n");
  EXPECT_LT(bytesReadBy([&] { presenter.tick(); }), 1000U);
  EXPECT_EQ(std::tuple(view.count, presenter.lineText(10000), view.bottomShown),
            std::tuple(10001U, "two \xEF\xBF\xBD!", bottoms + 1));
  source.append("three\r\n");  // checked against the tail the growth before left
  EXPECT_LT(bytesReadBy([&] { presenter.tick(); }), 1000U);

  source.write(numberedLines(2, 500));  // shrunk
  EXPECT_EQ(linesAfterTick(), (Lines{"line 000500", "line 000501"}));
  source.write(numberedLines(2, 700));  // rewritten, same size
  EXPECT_EQ(linesAfterTick(), (Lines{"line 000700", "line 000701"}));
  source.write("x\r\n");
  source.append(numberedLines(3, 900));  // emptied and refilled past the old size: not a growth
  EXPECT_EQ(linesAfterTick(), (Lines{"x", "line 000900", "line 000901", "line 000902"}));
  ++source.inode;  // another file moved over it
  source.write("other\r\n");
  EXPECT_EQ(linesAfterTick(), (Lines{"other"}));

  source.exists = false;
  presenter.tick();
  EXPECT_EQ(std::tuple(view.count, presenter.reads().fromStart), std::tuple(0U, 5));
}

TEST_F(LogMonitorPresenterTest, ALargeLogShowsItsLastLinesAtOnceThenIndexesTheRestInSlices) {
  constexpr std::size_t kLines = 400000;  // 5.2 MB
  source.append(numberedLines(kLines));
  presenter.load();
  EXPECT_TRUE(presenter.busy() && view.count > 100U && view.count < kLines) << view.count;
  EXPECT_EQ(presenter.lineText(view.count - 1), "line 399999");
  EXPECT_EQ(presenter.lineText(0) + "\r\n", numberedLines(1, kLines - view.count));  // a whole line
  // The first screen's lines already set the width (13 bytes, each with its CR LF).
  EXPECT_EQ(std::tuple(view.bottomShown, view.workRequests, presenter.longestLine()), std::tuple(1, 1, 13U));

  presenter.doWork();
  presenter.tick();                         // nothing new: the indexing goes on where it was
  source.append(numberedLines(1, kLines));  // written while the index is being built
  presenter.tick();
  const int slices = finishWork() + 1;
  EXPECT_GE(slices, 3);
  EXPECT_EQ(std::tuple(view.count, presenter.lineText(0), presenter.lineText(kLines)),
            std::tuple(kLines + 1, "line 000000", "line 400000"));
  EXPECT_GE(view.bottomShown, 2);
  // Each byte read about once: the first screen, then the file in slices.
  EXPECT_LT(presenter.reads().bytes, source.bytes.size() + LogMonitorPresenter::kFirstScreenBytes + 1000);
}

TEST_F(LogMonitorPresenterTest, AFileThatIsNotRegularOrCannotBeReadShowsANoteAndIsTriedAgain) {
  source.exists = true;
  source.regular = false;
  presenter.load();
  EXPECT_EQ(std::tuple(view.count, view.note), std::tuple(0U, LogMonitorPresenter::kNotRegularNote));

  source.regular = true;
  source.unreadable = true;
  source.write("one\r\n");
  presenter.tick();
  EXPECT_EQ(view.note, LogMonitorPresenter::kUnreadableNote);

  source.unreadable = false;
  presenter.tick();
  EXPECT_EQ(std::tuple(view.note, lines()), std::tuple("", Lines{"one"}));

  // Replaced by a larger file while a long growth is read: the new file is read whole.
  source.append(numberedLines(400000));
  presenter.tick();
  ASSERT_TRUE(presenter.busy());
  ++source.inode;
  source.write(numberedLines(400001));
  finishWork();
  EXPECT_EQ(std::tuple(view.note, view.count), std::tuple("", 400001U));

  // Gone while a long growth is read: nothing is shown from then on.
  source.append(numberedLines(400000));
  presenter.tick();
  ASSERT_TRUE(presenter.busy());
  source.exists = false;
  finishWork();
  EXPECT_EQ(view.count, 0U);
}

TEST_F(LogMonitorPresenterTest, PauseHoldsTheViewClearLogEmptiesTheFileOnlyOnYesEvenWhilePaused) {
  source.write("one\r\n");
  presenter.load();
  presenter.pause();
  EXPECT_EQ(std::tuple(view.reloading, view.pauseEnabled, view.resumeEnabled),
            std::tuple(false, false, true));
  source.append("two\r\n");
  EXPECT_EQ(linesAfterTick(), (Lines{"one"}));  // a tick already on its way

  boxes.answers = {BoxAnswer::No, BoxAnswer::Yes};
  presenter.clearLog();
  EXPECT_EQ(boxes.shown.at(0),
            (BoxRequest{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_EQ(std::tuple(source.bytes, lines()), std::tuple("one\r\ntwo\r\n", Lines{"one"}));
  presenter.clearLog();
  EXPECT_EQ(std::tuple(source.bytes, view.count, presenter.running()), std::tuple("", 0U, false));

  presenter.resume();
  EXPECT_EQ(std::tuple(view.reloading, view.pauseEnabled, view.resumeEnabled), std::tuple(true, true, false));
  source.append("three\r\n");
  EXPECT_EQ(linesAfterTick(), (Lines{"three"}));

  source.regular = false;  // a clear that fails says so
  boxes.answers = {BoxAnswer::Yes};
  presenter.clearLog();
  EXPECT_EQ(boxes.shown.back().text, "The log file could not be cleared: /programs/lumeno/log.txt");
}

TEST_F(LogMonitorPresenterTest, SelectedLinesAreCopiedAsTextOneLineEachAndClosingForgetsThem) {
  source.write("one\r\ntwo \xFF\r\nthree\nfour");
  presenter.load();
  presenter.copySelection();
  EXPECT_EQ(view.clipboard, "");  // nothing selected: nothing copied

  presenter.selectLine(2, false);
  presenter.selectLine(1, true);
  EXPECT_EQ(std::vector<bool>({presenter.isSelected(0), presenter.isSelected(1), presenter.isSelected(2),
                               presenter.isSelected(3)}),
            std::vector<bool>({false, true, true, false}));
  presenter.copySelection();
  EXPECT_EQ(view.clipboard, "two \xEF\xBF\xBD\nthree");

  presenter.selectAll();
  presenter.copySelection();
  EXPECT_EQ(view.clipboard, "one\ntwo \xEF\xBF\xBD\nthree\nfour");
  presenter.selectLine(99, false);  // below the last line: the last one
  EXPECT_EQ(presenter.currentLine(), std::optional<std::size_t>(3));

  source.write("new\r\n");  // replaced: the old selection means nothing any more
  presenter.tick();
  EXPECT_FALSE(presenter.isSelected(0));
  presenter.selectLine(0, false);  // a log of one line copies too
  presenter.copySelection();
  EXPECT_EQ(view.clipboard, "new");

  // Closing gives the index back; loading again gives a running monitor.
  presenter.pause();
  presenter.selectAll();
  presenter.unload();
  EXPECT_EQ(
      std::tuple(view.reloading, presenter.lineCount(), presenter.isSelected(0), presenter.currentLine()),
      std::tuple(false, 0U, false, std::nullopt));
  presenter.load();
  EXPECT_EQ(std::tuple(view.reloading, view.pauseEnabled, view.resumeEnabled, lines()),
            std::tuple(true, true, false, Lines{"new"}));
}

TEST_F(LogMonitorPresenterTest, FindGoesToTheNextOrPreviousLineHoldingTheTextIgnoringCaseAndGoesRound) {
  // Five lines: with a power of two a wrong wrap going back from the first line would not show.
  source.write("Alpha one\r\nbeta\r\nsome ALPHA\r\ngamma\r\nepsilon\r\n");
  presenter.load();
  EXPECT_EQ(found("alpha", true), 0U);
  EXPECT_EQ(found("alpha", true), 2U);
  EXPECT_EQ(found("alpha", true), 0U);   // round from the end
  EXPECT_EQ(found("Alpha", false), 2U);  // round from the start, going back
  EXPECT_EQ(found("BETA", false), 1U);
  EXPECT_EQ(found("beta", false), 1U);  // all the way round, back to where it started
  EXPECT_EQ(std::tuple(presenter.isSelected(1), view.shownLine, view.searchState), std::tuple(true, 1U, ""));
  EXPECT_EQ(found("delta", true), 1U);  // not found: the selection stays
  EXPECT_EQ(view.searchState, "Not found");
  EXPECT_EQ(found("a\r\nbeta", true), 2U);  // only the first line of what was typed
}

TEST_F(LogMonitorPresenterTest, FindInALargeLogWaitsForTheIndexGoesInSlicesAndEndsWhenNothingIsToFind) {
  constexpr std::size_t kLines = 600000;  // 7.8 MB
  source.write("a somewhat longer line\r\n");
  presenter.load();
  EXPECT_EQ(presenter.longestLine(), 24U);  // the one line, its line break included
  ++source.inode;                           // replaced by another file, indexed in slices
  source.write(numberedLines(kLines));
  presenter.tick();
  presenter.find("LINE 000007", true);
  EXPECT_EQ(view.searchState, "Searching...");
  finishWork();
  EXPECT_EQ(std::tuple(presenter.currentLine(), presenter.longestLine()), std::tuple(7U, 13U));

  presenter.selectLine(kLines / 2, false);
  const int requestsBefore = view.workRequests;
  presenter.find("line 000003", true);  // on to the end and round to the start: several slices
  EXPECT_EQ(presenter.currentLine(), kLines / 2);
  EXPECT_GT(view.workRequests, requestsBefore);
  EXPECT_GE(finishWork(), 2);
  EXPECT_EQ(presenter.currentLine(), 3U);
  EXPECT_EQ(found("line 599998", false), 599998U);
  EXPECT_EQ(found("line 000003", false), 3U);  // back over several slices

  presenter.selectLine(kLines / 2, false);
  presenter.find("line 000003", true);
  ASSERT_TRUE(presenter.busy());
  source.write("other\r\n");  // replaced while the search runs: it ends
  presenter.tick();
  finishWork();
  EXPECT_EQ(std::tuple(view.searchState, presenter.currentLine(), lines(), presenter.longestLine()),
            std::tuple("", std::nullopt, Lines{"other"}, 7U));

  source.write(numberedLines(kLines));
  presenter.tick();
  presenter.find("line 000007", true);  // waits for the whole index...
  presenter.find("", true);             // ...unless nothing is to be found any more
  EXPECT_EQ(view.searchState, "");
  finishWork();
  EXPECT_EQ(presenter.currentLine(), std::nullopt);

  presenter.selectLine(kLines / 2, false);
  presenter.find("line 000003", true);
  source.unreadable = true;  // a part that cannot be read ends the search unfound
  finishWork();
  EXPECT_EQ(std::tuple(view.searchState, presenter.busy()), std::tuple("Not found", false));
  source.unreadable = false;
  presenter.find("line 000003", true);
  ASSERT_EQ(view.searchState, "Searching...");
  source.exists = false;  // a log that goes ends the search too
  presenter.tick();
  EXPECT_EQ(view.searchState, "");
  EXPECT_FALSE(presenter.busy());
}

TEST_F(LogMonitorPresenterTest, ALogWithMoreLinesThanShownShowsItsLastLinesAndSaysSo) {
  LogMonitorPresenter bounded(source, view, boxes, 1000);
  active = &bounded;
  const auto shown = [&] {
    return std::tuple(view.count, bounded.lineText(0), bounded.lineText(view.count - 1));
  };
  source.write(numberedLines(400000));  // 5.2 MB: indexed in slices
  bounded.load();
  finishWork();
  EXPECT_EQ(shown(), std::tuple(1000U, "line 399000", "line 399999"));
  EXPECT_EQ(view.status, LogMonitorPresenter::kOlderLinesNote);
  EXPECT_EQ(found("line 398999", true), std::nullopt);
  EXPECT_EQ(view.searchState, "Not found");
  EXPECT_EQ(found("line 399500", true), 500U);

  // More lines push the oldest out; the selection stays on its line.
  source.append(numberedLines(10, 400000));
  bounded.tick();
  EXPECT_EQ(shown(), std::tuple(1000U, "line 399010", "line 400009"));
  EXPECT_EQ(bounded.currentLine(), 490U);
  bounded.copySelection();
  EXPECT_EQ(view.clipboard, "line 399500");
  // A selection pushed out with them goes to the oldest line still shown.
  bounded.selectLine(5, false);
  source.append(numberedLines(10, 400010));
  bounded.tick();
  bounded.copySelection();
  EXPECT_EQ(view.clipboard, "line 399020");

  source.write(numberedLines(1010));  // a small log whose first lines are left out reads right
  bounded.tick();
  EXPECT_EQ(bounded.lineText(0), "line 000010");
  source.write(numberedLines(10));
  bounded.tick();
  EXPECT_EQ(view.count, 10U);
  EXPECT_EQ(view.status, "");
  source.write(numberedLines(1001));  // a single line left out is said too
  bounded.tick();
  EXPECT_EQ(view.status, LogMonitorPresenter::kOlderLinesNote);
  source.exists = false;  // and a log that is gone says nothing of older lines
  bounded.tick();
  EXPECT_EQ(std::tuple(view.count, view.status), std::tuple(0U, ""));
}

TEST_F(LogMonitorPresenterTest, ALogOrAGrowthOfExactlyOneSliceIsIndexedAtOnce) {
  const std::string slice = numberedLines(161319) + "end\r\n";
  ASSERT_EQ(slice.size(), LogMonitorPresenter::kSliceBytes);
  source.write(slice);
  presenter.load();
  source.append(slice);
  presenter.tick();
  EXPECT_FALSE(presenter.busy());
  EXPECT_EQ(view.workRequests, 0);
  EXPECT_EQ(view.count, 2U * 161320U);
}

}  // namespace
}  // namespace lumeno::log
