// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace lumeno::iptools {

// How much of a tool's output the output box keeps. Ordinary runs (a ping, a trace route, the
// netstat of a busy machine) stay far below these.
struct OutputLimits {
  std::size_t maxLines = 100'000;
  std::size_t maxBytes = std::size_t{8} * 1024 * 1024;
  // A longer line is shown broken into pieces of this size, so that one endless line cannot
  // grow the box without bound either. Must be well below maxBytes.
  std::size_t maxLineBytes = std::size_t{8} * 1024;
};

// The line the box shows at its top once earlier output has been left out.
inline constexpr std::string_view kEarlierOutputLeftOut =
    "[Earlier output was left out here: this box keeps only the last 100,000 lines or 8 MB.]";

// What the output box shows of a tool's output: all of it while it is within the limits, else
// its last part under the kEarlierOutputLeftOut line. Bytes go in as the tool wrote them.
//
// A view mirrors the text without rebuilding it for every piece of output: takeChange() says
// what changed since the last call.
class OutputTail {
 public:
  explicit OutputTail(OutputLimits limits = {});

  void append(std::string_view bytes);

  [[nodiscard]] bool leftOutEarlierOutput() const { return leftOut_; }
  // The whole text the box shows.
  [[nodiscard]] std::string text() const;

  // Applied in this order, it turns the view's text into text().
  struct Change {
    bool rebuild = false;       // replace the whole text with text(); nothing else applies
    bool addNote = false;       // put the note line at the very top
    std::size_t dropLines = 0;  // then remove this many lines just below the note (or at the top)
    std::string appended;       // then add this at the end
  };
  Change takeChange();

 private:
  void addPiece(std::string_view piece, bool endsLine);
  void keepWithinLimits();

  OutputLimits limits_;
  std::deque<std::string> lines_;  // each with its line break, except perhaps the last
  std::size_t bytes_ = 0;
  bool lastOpen_ = false;  // the last line has no line break yet
  bool leftOut_ = false;

  // What the view holds since the last takeChange(): the first shownLines_ lines, of the last
  // of them only its first shownOpenBytes_ when shownOpen_, and the note when shownNote_.
  // What it lacks is counted, not copied: it is read from lines_ when the view asks, so that
  // lines dropped before then cost nothing.
  std::size_t shownLines_ = 0;
  bool shownOpen_ = false;
  std::size_t shownOpenBytes_ = 0;
  bool shownNote_ = false;
  std::size_t pendingDrop_ = 0;
  std::size_t pendingBytes_ = 0;
  bool rebuild_ = false;
};

}  // namespace lumeno::iptools
