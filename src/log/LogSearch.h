// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "log/LineIndex.h"

namespace lumeno::log {

// One search through the log's lines, done a span of lines at a time so that a long log never
// holds up the window: every line once, from the one after the current line (before it, going
// back) round to the current line itself. ASCII letters match in either case.
class LogSearch {
 public:
  // Lines [first, end) of the index, to be read and handed to scan().
  struct Span {
    std::size_t first = 0;
    std::size_t end = 0;
  };

  // `typed` as the user typed it; nothing is searched for an empty text or an empty log.
  void start(std::string_view typed, bool forward, std::size_t lineCount, std::optional<std::size_t> current);
  void cancel() { left_ = 0; }
  [[nodiscard]] bool active() const { return left_ > 0; }

  // The next lines to look through, about `bytes` of them (at least one line).
  [[nodiscard]] Span nextSpan(const LineIndex& index, std::uint64_t bytes) const;
  // Looks through the span's bytes (from the start of its first line); the line holding a hit,
  // the first one going forward and the last going back. Without a hit the search moves on past
  // the span, and ends when every line has been looked through.
  std::optional<std::size_t> scan(const Span& span, std::string_view bytes, const LineIndex& index);

 private:
  std::string key_;
  bool forward_ = true;
  std::size_t lineCount_ = 0;
  std::size_t next_ = 0;  // the next line to look at
  std::size_t left_ = 0;  // lines not looked at yet
};

}  // namespace lumeno::log
