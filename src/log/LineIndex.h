// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <string_view>

namespace lumeno::log {

// Where each line of a file starts, so that any line can be read on its own without holding the
// file's text: eight bytes a line. CR LF, a lone LF and a lone CR each end one line, also when
// a CR LF pair is split between two pieces fed in turn.
//
// The index covers the bytes [base, end): `base` is a line start (0 for a whole file). It keeps
// at most `maxLines` whole lines: beyond that the oldest ones leave it as new ones come, so its
// memory stays bounded whatever the file; dropped() says how many left.
class LineIndex {
 public:
  static constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max() - 1;

  explicit LineIndex(std::uint64_t base = 0, std::size_t maxLines = kUnbounded)
      : starts_{base}, end_(base), maxLines_(maxLines) {}

  // Indexes the next bytes of the file, which start at end().
  void add(std::string_view bytes);

  // Whole lines, plus the unfinished last one if it has any bytes.
  [[nodiscard]] std::size_t lineCount() const {
    return starts_.back() == end_ ? starts_.size() - 1 : starts_.size();
  }
  [[nodiscard]] std::uint64_t base() const { return starts_.front(); }
  [[nodiscard]] std::uint64_t end() const { return end_; }
  // Lines that left the front of the index to keep it within maxLines.
  [[nodiscard]] std::uint64_t dropped() const { return dropped_; }

  // The bytes of a line, its line break included: [first, second).
  [[nodiscard]] std::uint64_t lineStart(std::size_t line) const { return starts_[line]; }
  [[nodiscard]] std::uint64_t lineEnd(std::size_t line) const {
    return line + 1 < starts_.size() ? starts_[line + 1] : end_;
  }
  // The line that holds the byte at `offset` (base() <= offset < end()).
  [[nodiscard]] std::size_t lineAt(std::uint64_t offset) const;

  // Gives the memory back (a closed window keeps no index).
  void release();

 private:
  // The last entry is where the unfinished line starts. A deque gives memory back as lines
  // leave its front, and never copies itself whole to grow.
  std::deque<std::uint64_t> starts_;
  std::uint64_t end_;
  std::size_t maxLines_;
  std::uint64_t dropped_ = 0;
  bool afterCr_ = false;  // the last byte indexed was a CR: a LF next completes that line break
};

}  // namespace lumeno::log
