#include "log/LineIndex.h"

#include <algorithm>
#include <cstring>

namespace lumeno::log {

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
  for (; i < size; ++i) {
    const char c = data[i];
    // Most bytes are text: one comparison sends them on.
    if (c > '\r' || (c != '\n' && c != '\r')) continue;
    if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
    starts_.push_back(end_ + i + 1);
  }
  afterCr_ = data[size - 1] == '\r';
  end_ += size;
}

std::size_t LineIndex::lineAt(std::uint64_t offset) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return after == starts_.begin() ? 0 : static_cast<std::size_t>(after - starts_.begin() - 1);
}

void LineIndex::release() {
  std::vector<std::uint64_t>{starts_.front()}.swap(starts_);
  end_ = starts_.front();
  afterCr_ = false;
}

}  // namespace lumeno::log
