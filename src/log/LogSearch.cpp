// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogSearch.h"

#include <algorithm>
#include <functional>

#include "log/LineText.h"

namespace lumeno::log {

void LogSearch::start(std::string_view typed, bool forward, std::size_t lineCount,
                      std::optional<std::size_t> current) {
  key_ = searchKey(typed);
  forward_ = forward;
  lineCount_ = lineCount;
  left_ = key_.empty() ? 0 : lineCount;
  if (lineCount == 0) return;
  if (!current || *current >= lineCount) {
    next_ = forward ? 0 : lineCount - 1;
  } else if (forward) {
    next_ = (*current + 1) % lineCount;
  } else {
    next_ = (*current + lineCount - 1) % lineCount;
  }
}

LogSearch::Span LogSearch::nextSpan(const LineIndex& index, std::uint64_t bytes) const {
  if (forward_) {
    // Up to the end of the log, the lines still to look at, and about `bytes` bytes.
    std::size_t end = std::min(lineCount_, next_ + left_);
    const std::uint64_t limit = index.lineStart(next_) + bytes;
    if (limit < index.lineEnd(end - 1)) end = std::max(next_ + 1, index.lineAt(limit));
    return {next_, end};
  }
  std::size_t first = next_ + 1 >= left_ ? next_ + 1 - left_ : 0;
  const std::uint64_t spanEnd = index.lineEnd(next_);
  if (spanEnd - index.lineStart(first) > bytes) {
    first = std::min(next_, index.lineAt(spanEnd - bytes) + 1);
  }
  return {first, next_ + 1};
}

std::optional<std::size_t> LogSearch::scan(const Span& span, std::string_view bytes, const LineIndex& index) {
  const std::string folded = foldCase(bytes);
  const std::boyer_moore_horspool_searcher searcher(key_.begin(), key_.end());
  std::optional<std::size_t> hit;
  auto from = folded.cbegin();
  for (;;) {
    const auto found = std::search(from, folded.cend(), searcher);
    if (found == folded.cend()) break;
    hit = static_cast<std::size_t>(found - folded.cbegin());
    if (forward_) break;
    from = found + 1;
  }
  const std::size_t looked = span.end - span.first;
  left_ -= std::min(left_, looked);
  if (hit) {
    left_ = 0;
    return index.lineAt(index.lineStart(span.first) + *hit);
  }
  if (forward_) {
    next_ = span.end % lineCount_;
  } else {
    next_ = span.first == 0 ? lineCount_ - 1 : span.first - 1;
  }
  return std::nullopt;
}

}  // namespace lumeno::log
