// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/NotifyRecord.h"

#include <algorithm>

namespace lumeno::tray {
namespace {

bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

}  // namespace

std::string_view cutTip(std::string_view text) {
  if (text.size() <= NotifyRecord::kTipMaxBytes) return text;
  std::size_t end = NotifyRecord::kTipMaxBytes;
  // text[end] is the first byte left out; while it continues a character, that character
  // started inside the kept part and must go with it.
  while (end > 0 && isContinuationByte(text[end])) --end;
  // A line break cut in two would leave a lone CR at the end of the tip.
  if (end > 0 && text[end - 1] == '\r' && text[end] == '\n') --end;
  return text.substr(0, end);
}

void NotifyRecord::setTip(std::string_view text) {
  const std::string_view kept = cutTip(text);
  szTip.fill('\0');
  std::copy(kept.begin(), kept.end(), szTip.begin());
}

std::string NotifyRecord::tip() const {
  const auto nul = std::find(szTip.begin(), szTip.end(), '\0');
  return {szTip.begin(), nul};
}

}  // namespace lumeno::tray
