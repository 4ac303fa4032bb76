// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LineIndex.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lumeno::log {
namespace {

constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

// 0x80 in each byte of `word` that is zero, and nothing elsewhere.
constexpr std::uint64_t zeroBytes(std::uint64_t word) {
  const std::uint64_t low = (word & kLow7) + kLow7;
  return ~(low | word | kLow7);
}

// 0x80 in each byte that is a CR or a LF.
constexpr std::uint64_t lineBreaks(std::uint64_t word) {
  return zeroBytes(word ^ (kOnes * '\r')) | zeroBytes(word ^ (kOnes * '\n'));
}

}  // namespace

void LineIndex::add(std::string_view bytes) {
  const char* const data = bytes.data();
  const std::size_t size = bytes.size();
  if (size == 0) return;
  std::size_t done = 0;  // bytes before this are indexed
  if (afterCr_ && data[0] == '\n') {
    // The LF of a CR LF pair: the line after it starts one byte later.
    starts_.back() = end_ + 1;
    done = 1;
  }
  const auto lineBreakAt = [&](std::size_t at) {
    if (at < done) return;  // the LF of a CR LF pair already counted
    std::size_t next = at + 1;
    if (data[at] == '\r' && next < size && data[next] == '\n') ++next;
    starts_.push_back(end_ + next);
    if (starts_.size() > maxLines_ + 1) {
      starts_.pop_front();
      ++dropped_;
    }
    done = next;
  };
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Eight bytes at a time; most hold no line break at all.
    for (; i + 8 <= size; i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, data + i, sizeof word);
      for (std::uint64_t found = lineBreaks(word); found != 0; found &= found - 1) {
        lineBreakAt(i + static_cast<std::size_t>(std::countr_zero(found)) / 8);
      }
    }
  }
  for (; i < size; ++i) {
    if (data[i] == '\n' || data[i] == '\r') lineBreakAt(i);
  }
  afterCr_ = data[size - 1] == '\r';
  end_ += size;
}

std::size_t LineIndex::lineAt(std::uint64_t offset) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return after == starts_.begin() ? 0 : static_cast<std::size_t>(after - starts_.begin() - 1);
}

void LineIndex::release() {
  std::deque<std::uint64_t>{starts_.front()}.swap(starts_);
  end_ = starts_.front();
  afterCr_ = false;
  dropped_ = 0;
}

}  // namespace lumeno::log
