// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/MessageBoxes.h"
#include "log/LineIndex.h"
#include "log/LogMonitorView.h"
#include "log/LogSearch.h"
#include "log/LogSource.h"
#include "platform/Files.h"

namespace lumeno::log {

// Everything the log monitor "logfrm" decides: when and what to read of log.txt, which lines
// there are, what a line shows, the selection, the search, "Pause screen", "Resume" and
// "Clear log". The window only draws and forwards.
//
// The view holds no text: lines are read from the file when they are drawn, through an index of
// line starts. A tick reads nothing when the file is unchanged, only the new bytes when it grew,
// and indexes it afresh when it shrank or was replaced. A large file is indexed in slices between
// the window's events (doWork), after its last lines have been shown at once.
class LogMonitorPresenter {
 public:
  // Bytes indexed or searched in one slice of work: a few milliseconds.
  static constexpr std::size_t kSliceBytes = std::size_t{2} * 1024 * 1024;
  // How much of the end of a large file is shown while the rest is being indexed.
  static constexpr std::size_t kFirstScreenBytes = std::size_t{64} * 1024;
  // A longer line shows its start only (it can still be copied whole).
  static constexpr std::size_t kLongestShownLine = std::size_t{16} * 1024;
  // The most lines shown: the last ones of a log that has more. Their index takes 8 bytes a
  // line, so that no log, however many lines it has, costs more than about 16 MB.
  static constexpr std::size_t kMostLines = 2'000'000;
  static constexpr std::string_view kOlderLinesNote =
      "Older lines are not shown: the monitor shows the last 2,000,000 lines of the log.";

  LogMonitorPresenter(LogSource& source, LogMonitorView& view, MessageBoxes& boxes,
                      std::size_t mostLines = kMostLines);

  // The window was loaded (shown after being closed, or the first time): a running monitor,
  // filled at once.
  void load();
  // The window was closed: no more reloading; the index is given back.
  void unload();
  // One tick of Timer1. Ignored while paused.
  void tick();
  // One slice of pending work (indexing, searching); asks the view for more when some is left.
  void doWork();
  [[nodiscard]] bool busy() const { return job_.has_value() || search_.active() || pendingFind_.has_value(); }

  // The menu.
  void clearLog();
  void pause();
  void resume();
  [[nodiscard]] bool running() const { return running_; }

  // The lines.
  [[nodiscard]] std::size_t lineCount() const { return lines_.lineCount(); }
  // What a line shows: its text without the line break, as valid UTF-8.
  [[nodiscard]] std::string lineText(std::size_t line);
  // The longest line in bytes, for the width of the view.
  [[nodiscard]] std::uint64_t longestLine() const { return longestLine_; }

  // The selection: one run of lines from the anchor to the current line.
  void selectLine(std::size_t line, bool extend);
  void selectAll();
  [[nodiscard]] bool isSelected(std::size_t line) const;
  [[nodiscard]] std::optional<std::size_t> currentLine() const { return current_; }
  // Puts the selected lines on the clipboard, one text line each.
  void copySelection();

  // Finds the next (or previous) line holding the text, ignoring case, from the current line on,
  // going round at the end; the line found becomes the selection.
  void find(std::string_view text, bool forward);

  // How much was read, for telling a cheap tick from a costly one.
  struct Reads {
    int fromStart = 0;        // indexings of the whole file
    std::uint64_t bytes = 0;  // every byte read for indexing
  };
  [[nodiscard]] const Reads& reads() const { return reads_; }

  static constexpr std::string_view kNotRegularNote =
      "log.txt is not a regular file (a named pipe or a device?), so it is not shown.";
  static constexpr std::string_view kUnreadableNote = "log.txt cannot be read.";

 private:
  // Indexing still to do: a whole file afresh, or the bytes a file grew by.
  struct Job {
    bool fresh = false;
    LineIndex index;  // a fresh index; growth goes straight into lines_
    platform::FileIdentity file;
    std::uint64_t target = 0;  // index up to here (the size the file had when looked at)
    std::string expectedTail;  // growth: the file must still hold these bytes before the new ones
  };

  void reload();
  void startFresh(const platform::FileIdentity& file);
  void startGrowth(const platform::FileIdentity& file);
  // Runs one slice of the job; false when the file could not be read as expected.
  bool indexSlice();
  void finishJob();
  // A read during indexing did not find the file as expected: find out why and show that.
  void lostTrack(bool fresh, bool readWhole, platform::FileIdentity file, std::uint64_t target);
  void showFirstScreen(const platform::FileIdentity& file);
  void showNothing(std::string_view note);
  void searchSlice();
  // Bytes [from, to) of the file being indexed (or shown); nothing unless all of them were read.
  std::optional<std::string> readRange(std::uint64_t from, std::uint64_t to);
  void rememberTail(std::string_view bytes);
  void noteLongest(std::uint64_t from, const LineIndex& index);
  void askForWork();
  // Lines left the front of the index: line numbers moved down by `count`.
  void linesDropped(std::uint64_t count);
  void showWhetherOlderLinesLeftOut();

  LogSource& source_;
  LogMonitorView& view_;
  MessageBoxes& boxes_;
  std::size_t mostLines_;
  bool running_ = false;

  LineIndex lines_;                 // what the view shows
  platform::FileIdentity linesOf_;  // the file they come from; size = how far they reach
  bool complete_ = false;           // lines_ covers the whole file, not just its end
  std::string tail_;                // the last bytes indexed, to recognise growth
  std::optional<Job> job_;
  std::uint64_t longestLine_ = 0;

  std::string cache_;  // bytes of the file around the lines last drawn
  std::uint64_t cacheStart_ = 0;

  std::optional<std::size_t> anchor_;
  std::optional<std::size_t> current_;

  LogSearch search_;
  std::pair<std::string, bool> lastFind_;                    // text, forward
  std::optional<std::pair<std::string, bool>> pendingFind_;  // text, forward
  bool renumbered_ = false;  // lines left the front since the view was last given the lines
  Reads reads_;
  bool workRequested_ = false;
};

}  // namespace lumeno::log
