// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/TrayTip.h"

namespace lumeno::tray {
namespace {

bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

}  // namespace

std::string_view cutTip(std::string_view text) {
  if (text.size() <= kTipMaxBytes) return text;
  std::size_t end = kTipMaxBytes;
  // text[end] is the first byte left out; while it continues a character, that character
  // started inside the kept part and must go with it.
  while (end > 0 && isContinuationByte(text[end])) --end;
  // A line break cut in two would leave a lone CR at the end of the tip.
  if (end > 0 && text[end - 1] == '\r' && text[end] == '\n') --end;
  return text.substr(0, end);
}

}  // namespace lumeno::tray
