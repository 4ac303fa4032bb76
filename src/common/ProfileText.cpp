#include "common/ProfileText.h"

#include <charconv>
#include <system_error>
#include <vector>

namespace lumeno::settings {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
  a = trimmed(a);
  b = trimmed(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

// One line of the file, as offsets into the whole file's bytes.
struct Line {
  enum class Kind { Blank, Comment, Section, Key };
  Kind kind = Kind::Blank;
  std::size_t begin = 0;       // first byte of the line
  std::size_t contentEnd = 0;  // first byte of the line end (or the end of the file)
  std::size_t end = 0;         // first byte after the line end
  std::size_t textEnd = 0;     // end of the content without trailing blanks
  std::string_view name;       // section or key name (untrimmed inside the brackets)
  bool hasEquals = false;      // key lines: whether there is a value part at all
  std::size_t valueBegin = 0;  // key lines: the value, without surrounding blanks
  std::size_t valueEnd = 0;
};

std::vector<Line> splitLines(std::string_view bytes) {
  std::vector<Line> lines;
  std::size_t pos = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
  while (pos < bytes.size()) {
    Line line;
    line.begin = pos;
    const std::size_t brk = bytes.find_first_of("\r\n", pos);
    if (brk == std::string_view::npos) {
      line.contentEnd = line.end = bytes.size();
    } else {
      line.contentEnd = brk;
      line.end = brk + ((bytes[brk] == '\r' && brk + 1 < bytes.size() && bytes[brk + 1] == '\n') ? 2 : 1);
    }
    pos = line.end;

    std::size_t first = line.begin;
    std::size_t last = line.contentEnd;
    while (first < last && isBlank(bytes[first])) ++first;
    while (last > first && isBlank(bytes[last - 1])) --last;
    line.textEnd = last;
    const std::string_view text = bytes.substr(first, last - first);
    if (text.empty()) {
      line.kind = Line::Kind::Blank;
    } else if (text.front() == ';') {
      line.kind = Line::Kind::Comment;
    } else if (text.front() == '[' && text.rfind(']') != std::string_view::npos) {
      line.kind = Line::Kind::Section;
      line.name = text.substr(1, text.rfind(']') - 1);
    } else {
      line.kind = Line::Kind::Key;
      const std::size_t eq = text.find('=');
      if (eq == std::string_view::npos) {
        line.name = text;
      } else {
        line.name = trimmed(text.substr(0, eq));
        line.hasEquals = true;
        std::size_t valueBegin = first + eq + 1;
        while (valueBegin < last && isBlank(bytes[valueBegin])) ++valueBegin;
        line.valueBegin = valueBegin;
        line.valueEnd = last;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

// The lines [first, last) of the first section called `section`. Lines before any section header
// form a section without a name.
struct SectionRange {
  bool found = false;
  std::size_t header = 0;  // index of the header line (unused for the unnamed section)
  std::size_t first = 0;
  std::size_t last = 0;
};

SectionRange findSection(const std::vector<Line>& lines, std::string_view section) {
  SectionRange range;
  std::size_t start = 0;
  bool named = false;
  std::size_t header = 0;
  for (std::size_t i = 0; i <= lines.size(); ++i) {
    if (i == lines.size() || lines[i].kind == Line::Kind::Section) {
      const std::string_view name = named ? lines[header].name : std::string_view{};
      if (sameName(name, section)) {
        range.found = true;
        range.header = header;
        range.first = start;
        range.last = i;
        return range;
      }
      if (i == lines.size()) break;
      named = true;
      header = i;
      start = i + 1;
    }
  }
  return range;
}

const Line* findKey(const std::vector<Line>& lines, const SectionRange& range, std::string_view key) {
  for (std::size_t i = range.first; i < range.last; ++i) {
    if (lines[i].kind == Line::Kind::Key && sameName(lines[i].name, key)) return &lines[i];
  }
  return nullptr;
}

ProfileString copyToBuffer(std::string_view text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  if (text.size() > bufferSize - 1) text = text.substr(0, bufferSize - 1);
  return {text.size(), std::string(text)};
}

// The line end the file already uses (its first one), CR LF for a file that has none.
std::string_view lineEndOf(std::string_view bytes) {
  const std::size_t brk = bytes.find_first_of("\r\n");
  if (brk == std::string_view::npos) return kCrLf;
  if (bytes[brk] == '\n') return "\n";
  return (brk + 1 < bytes.size() && bytes[brk + 1] == '\n') ? kCrLf : std::string_view("\r");
}

bool hasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

}  // namespace

ProfileString readProfileText(std::string_view fileBytes, std::string_view section, std::string_view key,
                              std::string_view defaultText, std::size_t bufferSize) {
  while (!defaultText.empty() && defaultText.back() == ' ') defaultText.remove_suffix(1);

  const std::vector<Line> lines = splitLines(fileBytes);
  const SectionRange range = findSection(lines, section);
  if (!range.found) return copyToBuffer(defaultText, bufferSize);
  const Line* line = findKey(lines, range, key);
  if (line == nullptr || !line->hasEquals) return copyToBuffer(defaultText, bufferSize);

  std::string_view value = fileBytes.substr(line->valueBegin, line->valueEnd - line->valueBegin);
  // The value is a C string: it ends at a NUL byte.
  if (const std::size_t nul = value.find('\0'); nul != std::string_view::npos) value = value.substr(0, nul);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return copyToBuffer(value, bufferSize);
}

std::optional<std::string> writeProfileText(std::string_view fileBytes, std::string_view section,
                                            std::string_view key, std::string_view value) {
  section = trimmed(section);
  key = trimmed(key);
  if (hasLineBreakOrNul(section) || hasLineBreakOrNul(key) || hasLineBreakOrNul(value)) return std::nullopt;
  if (section.empty() || key.empty()) return std::nullopt;
  // Names that would read back as a comment, a section header or another key.
  if (key.find('=') != key.npos || key.front() == ';' || key.front() == '[') return std::nullopt;

  const std::vector<Line> lines = splitLines(fileBytes);
  const std::string_view lineEnd = lineEndOf(fileBytes);
  std::string out(fileBytes);

  const SectionRange range = findSection(lines, section);
  if (!range.found) {
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += lineEnd;
    out.append("[").append(section).append("]").append(lineEnd);
    out.append(key).append("=").append(value).append(lineEnd);
    return out;
  }

  if (const Line* line = findKey(lines, range, key); line != nullptr) {
    if (line->hasEquals) {
      out.replace(line->valueBegin, line->valueEnd - line->valueBegin, value);
    } else {
      out.insert(line->textEnd, std::string("=").append(value));
    }
    return out;
  }

  // After the last non-blank line of the section; its header when there is nothing else.
  std::size_t after = range.header;
  for (std::size_t i = range.first; i < range.last; ++i) {
    if (lines[i].kind != Line::Kind::Blank) after = i;
  }
  std::string added;
  const Line& anchor = lines[after];
  if (anchor.end == anchor.contentEnd) added += lineEnd;  // the file's last line, without a line end
  added.append(key).append("=").append(value).append(lineEnd);
  out.insert(anchor.end, added);
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
