#include "log/LineIndex.h"

#include <algorithm>
#include <cstring>

namespace lumeno::log {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Whether any of the eight bytes is a CR or a LF (exact for "any", which is all it is asked).
bool holdsLineBreak(std::uint64_t word) {
  const std::uint64_t cr = word ^ (kOnes * '\r');
  const std::uint64_t lf = word ^ (kOnes * '\n');
  return (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighBits;
}

}  // namespace

void LineIndex::add(std::string_view bytes) {
  const char* const data = bytes.data();
  const std::size_t size = bytes.size();
  if (size == 0) return;
  std::size_t i = 0;
  if (afterCr_ && size > 0 && data[0] == '\n') {
    // The LF of a CR LF pair: the line after it starts one byte later.
    starts_.back() = end_ + 1;
    i = 1;
  }
  while (i < size) {
    // Most bytes are text: skip eight at a time while none of them is a line break.
    if (i + 8 <= size) {
      std::uint64_t word = 0;
      std::memcpy(&word, data + i, sizeof word);
      if (!holdsLineBreak(word)) {
        i += 8;
        continue;
      }
    }
    const std::size_t stop = std::min(size, i + 8);
    for (; i < stop; ++i) {
      const char c = data[i];
      if (c != '\n' && c != '\r') continue;
      if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
      starts_.push_back(end_ + i + 1);
    }
  }
  afterCr_ = data[size - 1] == '\r';
  end_ += size;
}

std::size_t LineIndex::lineAt(std::uint64_t offset) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return after == starts_.begin() ? 0 : static_cast<std::size_t>(after - starts_.begin() - 1);
}

void LineIndex::expectLines(std::size_t lines) {
  if (lines > starts_.capacity()) starts_.reserve(lines);
}

void LineIndex::release() {
  std::vector<std::uint64_t>{starts_.front()}.swap(starts_);
  end_ = starts_.front();
  afterCr_ = false;
}

}  // namespace lumeno::log
