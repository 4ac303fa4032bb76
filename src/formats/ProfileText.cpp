// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/ProfileText.h"

#include <charconv>
#include <system_error>

#include "formats/ProfileScan.h"

namespace lumeno::settings {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

ProfileString copyToBuffer(std::string_view text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  if (text.size() > bufferSize - 1) text = text.substr(0, bufferSize - 1);
  return {text.size(), std::string(text)};
}

bool hasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

}  // namespace

ProfileString profileReadResult(const ProfileFindings& found, std::string_view defaultText,
                                std::size_t bufferSize) {
  while (!defaultText.empty() && defaultText.back() == ' ') defaultText.remove_suffix(1);
  if (!found.sectionFound || !found.keyFound || !found.keyHasEquals)
    return copyToBuffer(defaultText, bufferSize);
  // The value is a C string that ended at a NUL byte; one pair of surrounding quotes goes.
  std::string_view value = found.valueHead;
  const bool quoted = found.valueLength >= 2 && !value.empty() &&
                      (value.front() == '"' || value.front() == '\'') && found.valueLast == value.front();
  if (quoted) {
    value.remove_prefix(1);
    const std::uint64_t inner = found.valueLength - 2;
    if (inner < value.size()) value = value.substr(0, static_cast<std::size_t>(inner));
  }
  return copyToBuffer(value, bufferSize);
}

ProfileString readProfileText(std::string_view fileBytes, std::string_view section, std::string_view key,
                              std::string_view defaultText, std::size_t bufferSize) {
  ProfileScanner scanner(section, key, bufferSize, 0);
  scanner.feed(fileBytes);
  scanner.finish();
  return profileReadResult(scanner.findings(), defaultText, bufferSize);
}

bool canWriteProfileText(std::string_view section, std::string_view key, std::string_view value) {
  section = trimmed(section);
  key = trimmed(key);
  if (hasLineBreakOrNul(section) || hasLineBreakOrNul(key) || hasLineBreakOrNul(value)) return false;
  if (section.empty() || key.empty()) return false;
  // Names that would read back as a comment, a section header or another key.
  return key.find('=') == key.npos && key.front() != ';' && key.front() != '[';
}

std::optional<ProfileEdit> profileEdit(const ProfileFindings& found, std::string_view section,
                                       std::string_view key, std::string_view value) {
  section = trimmed(section);
  key = trimmed(key);
  const std::string_view lineEnd = found.lineEnd.empty() ? kCrLf : std::string_view(found.lineEnd);
  ProfileEdit edit;
  if (!found.sectionFound) {
    edit.at = found.size;
    if (found.size > 0 && !found.endsWithLineBreak) edit.inserted += lineEnd;
    edit.inserted.append("[").append(section).append("]").append(lineEnd);
    edit.inserted.append(key).append("=").append(value).append(lineEnd);
  } else if (found.keyFound && found.keyHasEquals) {
    edit.at = found.valuePartBegin;
    edit.removed = found.valuePartEnd - found.valuePartBegin;
    if (edit.removed == value.size() && found.valuePartHead == value) return std::nullopt;
    edit.inserted = value;
  } else if (found.keyFound) {
    edit.at = found.valuePartBegin;
    edit.removed = found.valuePartEnd - found.valuePartBegin;
    edit.inserted.append("=").append(value);
  } else {
    // After the last non-blank line of the section; its header when there is nothing else.
    edit.at = found.afterLastLine;
    if (!found.lastLineHasLineEnd) edit.inserted += lineEnd;  // the file's last line
    edit.inserted.append(key).append("=").append(value).append(lineEnd);
  }
  return edit;
}

std::optional<std::string> writeProfileText(std::string_view fileBytes, std::string_view section,
                                            std::string_view key, std::string_view value) {
  if (!canWriteProfileText(section, key, value)) return std::nullopt;
  ProfileScanner scanner(section, key, 0, value.size());
  scanner.feed(fileBytes);
  scanner.finish();
  std::string out(fileBytes);
  if (const std::optional<ProfileEdit> edit = profileEdit(scanner.findings(), section, key, value)) {
    out.replace(static_cast<std::size_t>(edit->at), static_cast<std::size_t>(edit->removed), edit->inserted);
  }
  return out;
}

bool readsAsOn(const std::string& value) {
  std::string_view text = trimmed(value);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);  // from_chars takes no '+'
    if (!text.empty() && text.front() == '-') return false;
  }
  // Only plain decimal numbers: from_chars alone would also take "inf" and "nan".
  std::size_t i = (!text.empty() && text.front() == '-') ? 1 : 0;
  std::size_t digits = 0;
  std::size_t digitsBeforePoint = 0;
  std::optional<std::size_t> firstNonZero;  // index among the mantissa's digits
  bool seenPoint = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (c != '0' && !firstNonZero) firstNonZero = digits;
      ++digits;
      if (!seenPoint) ++digitsBeforePoint;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    const bool negative = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t expStart = j;
    for (; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j) {
      if (exponent < 1'000'000) exponent = exponent * 10 + (text[j] - '0');
    }
    if (j == expStart) return false;
    if (negative) exponent = -exponent;
    i = j;
  }
  if (i != text.size()) return false;
  if (!firstNonZero) return false;  // all digits zero: 0, -0, 0.0, 0e5

  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error == std::errc::result_out_of_range) {
    // Too large converts to infinity (on); too small converts to zero (off).
    const long long order =
        static_cast<long long>(digitsBeforePoint) - static_cast<long long>(*firstNonZero) + exponent;
    return order > 0;
  }
  return error == std::errc{} && end == text.data() + text.size() && number != 0;
}

}  // namespace lumeno::settings
