// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/ProfileScan.h"

#include <algorithm>
#include <cstring>

namespace lumeno::settings {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Index of the first `c` in data[from, size), or size.
std::size_t indexOf(const char* data, std::size_t from, std::size_t size, char c) {
  const void* hit = std::memchr(data + from, c, size - from);
  return hit == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
}

}  // namespace

void ProfileScanner::NameMatcher::reset(std::string_view name, bool skipBlanks) {
  *this = NameMatcher{};
  target = name;
  skipLeadingBlanks = skipBlanks;
}

void ProfileScanner::NameMatcher::take(char c, std::uint64_t offset) {
  if (!started) {
    if (skipLeadingBlanks && isBlank(c)) return;
    started = true;
    start = offset;
  }
  if (failed || tailSeen) return;
  if (matched < target.size()) {
    if (asciiLower(c) == asciiLower(target[matched])) {
      ++matched;
    } else {
      failed = true;
    }
    return;
  }
  if (!isBlank(c)) {
    tailSeen = true;
    tailFirstNonBlank = offset;
  }
}

bool ProfileScanner::NameMatcher::matchesEndingAt(std::uint64_t terminator) const {
  // Only blanks between the whole target and the terminator, which is itself the first non-blank.
  return started && !failed && tailSeen && tailFirstNonBlank == terminator;
}

bool ProfileScanner::NameMatcher::matchesWhole() const {
  return started && !failed && matched == target.size() && !tailSeen;
}

ProfileScanner::ProfileScanner(std::string_view section, std::string_view key, std::size_t valueHeadLimit,
                               std::size_t valuePartHeadLimit)
    : section_(trimmed(section)),
      key_(trimmed(key)),
      valueHeadLimit_(valueHeadLimit),
      valuePartHeadLimit_(valuePartHeadLimit) {
  // Lines before any header form a section without a name.
  inTarget_ = section_.empty();
  found_.sectionFound = inTarget_;
}

void ProfileScanner::feed(std::string_view bytes) {
  if (bytes.empty()) return;
  std::uint64_t offset = found_.size;
  found_.size += bytes.size();
  found_.endsWithLineBreak = bytes.back() == '\r' || bytes.back() == '\n';
  if (bomOpen_) {
    const std::size_t take = std::min(kUtf8Bom.size() - bomHeld_.size(), bytes.size());
    bomHeld_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    offset += take;
    const bool stillMark = bomHeld_ == kUtf8Bom.substr(0, bomHeld_.size());
    if (stillMark && bomHeld_.size() < kUtf8Bom.size()) return;
    bomOpen_ = false;
    if (!stillMark) process(bomHeld_.data(), bomHeld_.size(), 0);  // ordinary bytes after all
  }
  if (!bytes.empty()) process(bytes.data(), bytes.size(), offset);
}

void ProfileScanner::finish() {
  if (bomOpen_) {
    bomOpen_ = false;
    if (!bomHeld_.empty()) process(bomHeld_.data(), bomHeld_.size(), 0);
  }
  if (settled_) return;
  if (pendingCr_) {
    pendingCr_ = false;
    closeLine(pendingCrAt_ + 1, "\r");
  } else if (lineOpen_) {
    closeContent(found_.size);
    closeLine(found_.size, {});
  }
}

void ProfileScanner::process(const char* data, std::size_t size, std::uint64_t offset) {
  if (settled_) return;
  std::size_t pos = 0;
  if (pendingCr_) {
    pendingCr_ = false;
    if (data[0] == '\n') {
      closeLine(pendingCrAt_ + 2, "\r\n");
      pos = 1;
    } else {
      closeLine(pendingCrAt_ + 1, "\r");
    }
  }
  std::size_t cr = indexOf(data, pos, size, '\r');
  while (pos < size && !settled_) {
    if (!lineOpen_) startLine();
    if (cr < pos) cr = indexOf(data, pos, size, '\r');
    const std::size_t brk = std::min(indexOf(data, pos, size, '\n'), cr);
    if (brk > pos) takeContent(data + pos, brk - pos, offset + pos);
    if (brk == size) return;
    closeContent(offset + brk);
    if (settled_) return;
    if (data[brk] == '\n') {
      closeLine(offset + brk + 1, "\n");
      pos = brk + 1;
    } else if (brk + 1 == size) {
      pendingCr_ = true;  // CR LF or CR alone: the next byte tells
      pendingCrAt_ = offset + brk;
      return;
    } else if (data[brk + 1] == '\n') {
      closeLine(offset + brk + 2, "\r\n");
      pos = brk + 2;
    } else {
      closeLine(offset + brk + 1, "\r");
      pos = brk + 1;
    }
  }
}

void ProfileScanner::startLine() {
  lineOpen_ = true;
  kind_ = LineKind::Blank;
  lineInTarget_ = false;
  bracketFirst_ = false;
  hasCloseBracket_ = false;
  matchingSection_ = false;
  matchingKey_ = false;
  equalsSeen_ = false;
  keyMatched_ = false;
  valuePartHead_.clear();
  valueHead_.clear();
  valueStarted_ = false;
  valueCut_ = false;
  valueNonBlankEnd_ = 0;
  valueLastNonBlank_ = 0;
  previous_ = 0;
}

void ProfileScanner::takeContent(const char* data, std::size_t size, std::uint64_t offset) {
  std::size_t i = 0;
  if (kind_ == LineKind::Blank) {
    while (i < size && isBlank(data[i])) ++i;
    if (i == size) return;
    lineInTarget_ = inTarget_;
    if (data[i] == ';') {
      kind_ = LineKind::Comment;
      return;
    }
    kind_ = LineKind::Text;
    bracketFirst_ = data[i] == '[';
    if (inTarget_) {
      matchingKey_ = true;
      name_.reset(key_, false);
    } else if (bracketFirst_ && !found_.sectionFound) {
      matchingSection_ = true;
      name_.reset(section_, true);
      ++i;  // the name starts after "["
    }
  }
  if (kind_ != LineKind::Text) return;
  if (bracketFirst_) {
    // Whether the line is a header, and where its name ends: the last "]".
    for (std::size_t j = size; j > i; --j) {
      if (data[j - 1] == ']') {
        hasCloseBracket_ = true;
        lastCloseBracket_ = offset + j - 1;
        break;
      }
    }
  }
  if (matchingSection_) {
    for (; i < size && !name_.settled(); ++i) name_.take(data[i], offset + i);
    return;
  }
  for (; i < size && matchingKey_; ++i) {
    const char c = data[i];
    const std::uint64_t at = offset + i;
    if (keyMatched_) {
      takeValue(data + i, size - i, at);
      return;
    }
    if (!equalsSeen_ && c == '=') {
      equalsSeen_ = true;
      equalsAt_ = at;
    }
    name_.take(c, at);
    if (name_.failed) {
      matchingKey_ = false;  // another key: nothing more to learn from this line
    } else if (name_.tailSeen) {
      // The name is followed by blanks and then this byte: it matches when this is the first "=".
      keyMatched_ = equalsSeen_ && equalsAt_ == name_.tailFirstNonBlank;
      matchingKey_ = keyMatched_;
    }
  }
}

void ProfileScanner::takeValue(const char* data, std::size_t size, std::uint64_t offset) {
  std::size_t i = 0;
  // Byte by byte only while something is still kept of it.
  for (; i < size && (!valueStarted_ || valueHead_.size() < valueHeadLimit_ ||
                      valuePartHead_.size() < valuePartHeadLimit_);
       ++i) {
    takeValueByte(data[i], offset + i);
  }
  if (i == size || valueCut_) return;
  // The rest only moves the value's end: its last non-blank byte before any NUL.
  const void* nul = std::memchr(data + i, '\0', size - i);
  const std::size_t end =
      nul == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(nul) - data);
  for (std::size_t j = end; j > i; --j) {
    if (!isBlank(data[j - 1])) {
      valueNonBlankEnd_ = offset + j;
      valueLastNonBlank_ = data[j - 1];
      break;
    }
  }
  if (end > i) previous_ = data[end - 1];
  if (nul != nullptr) {
    valueCut_ = true;
    valueLength_ = offset + end - valueBegin_;
    valueLast_ = previous_;
  }
}

void ProfileScanner::takeValueByte(char c, std::uint64_t offset) {
  if (valuePartHead_.size() < valuePartHeadLimit_) valuePartHead_ += c;
  if (valueCut_) return;
  if (!valueStarted_) {
    if (isBlank(c)) return;
    valueStarted_ = true;
    valueBegin_ = offset;
  }
  if (c == '\0') {
    valueCut_ = true;
    valueLength_ = offset - valueBegin_;
    valueLast_ = previous_;
    return;
  }
  if (valueHead_.size() < valueHeadLimit_) valueHead_ += c;
  if (!isBlank(c)) {
    valueNonBlankEnd_ = offset + 1;
    valueLastNonBlank_ = c;
  }
  previous_ = c;
}

void ProfileScanner::closeContent(std::uint64_t contentEnd) {
  if (kind_ != LineKind::Text) return;
  if (bracketFirst_ && hasCloseBracket_) {  // a section header
    if (inTarget_) {
      inTarget_ = false;
      lineInTarget_ = false;
      settled_ = true;  // the section looked for ends here
    } else if (matchingSection_ && name_.matchesEndingAt(lastCloseBracket_)) {
      found_.sectionFound = true;
      inTarget_ = true;
      lineInTarget_ = true;
    }
    return;
  }
  if (!matchingKey_) return;
  if (keyMatched_) {
    found_.keyFound = true;
    found_.keyHasEquals = true;
    found_.valuePartBegin = equalsAt_ + 1;
    found_.valuePartEnd = contentEnd;
    found_.valuePartHead = valuePartHead_;
    if (!valueStarted_) {
      found_.valueLength = 0;
    } else if (!valueCut_) {
      found_.valueLength = valueNonBlankEnd_ - valueBegin_;
      found_.valueLast = valueLastNonBlank_;
    } else {
      found_.valueLength = valueLength_;
      found_.valueLast = valueLast_;
    }
    found_.valueHead = valueHead_.substr(
        0, static_cast<std::size_t>(std::min<std::uint64_t>(valueHead_.size(), found_.valueLength)));
    settled_ = true;
  } else if (name_.matchesWhole()) {
    found_.keyFound = true;
    found_.keyHasEquals = false;
    found_.valuePartBegin = name_.start + key_.size();
    found_.valuePartEnd = contentEnd;
    settled_ = true;
  }
}

void ProfileScanner::closeLine(std::uint64_t end, std::string_view lineBreak) {
  if (found_.lineEnd.empty()) found_.lineEnd = lineBreak;
  if (kind_ != LineKind::Blank && lineInTarget_) {
    found_.afterLastLine = end;
    found_.lastLineHasLineEnd = !lineBreak.empty();
  }
  lineOpen_ = false;
}

}  // namespace lumeno::settings
