// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the settings file's text rules. Input: four selector bytes (section, key, value, piece
// size), then the file's bytes. After every write: the written key reads back, every other key
// reads as before, the change is one span (the edit a file read in pieces gives) that removes no
// line break, writing the same again changes nothing, and a file read in pieces reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ProfileScan.h"
#include "formats/ProfileText.h"

namespace {

using lumeno::settings::ProfileEdit;
using lumeno::settings::ProfileScanner;
using lumeno::settings::ProfileString;

const std::vector<std::string> kSections{"Options", "Automation", " options ", "OPTIONS", "", "a]b",
                                         "[x",      "x]",         "S",         "s ; c",   "="};
const std::vector<std::string> kKeys{
    "uselog", "alertifoffline", "hostnameintext1.text", "UseLog ", "k", "a b", "[x", ";c", "k=v", "", "]"};
const std::string kLong(70, 'v');  // more than a read of 50 characters keeps
const std::vector<std::string> kValues{"1",        "0",   " 1 ", "",   "\"1\"",    "'x'",
                                       "1 ; note", "a=b", "[S]", "\"", "1\r\n[X]", std::string("k\0v", 3),
                                       kLong};

[[noreturn]] void broken(const char* property, std::string_view file, std::string_view section,
                         std::string_view key, std::string_view value) {
  std::fprintf(stderr, "broken: %s\n  section [%.*s] key [%.*s] value [%.*s], file of %zu bytes\n", property,
               static_cast<int>(section.size()), section.data(), static_cast<int>(key.size()), key.data(),
               static_cast<int>(value.size()), value.data(), file.size());
  std::abort();
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool sameName(std::string_view a, std::string_view b) {
  a = trimmed(a);
  b = trimmed(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// What a reader gets for a value written as `value`: blanks around it gone, one pair of quotes gone.
std::string readBackOf(std::string_view value) {
  value = trimmed(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// Names that appear in the file, roughly: the text of "[...]" lines and before "=" (a superset
// of the real ones is fine: every pair is checked to read the same before and after).
void namesIn(std::string_view file, std::set<std::string>& sections, std::set<std::string>& keys) {
  std::size_t pos = 0;
  while (pos < file.size() && sections.size() + keys.size() < 20) {
    std::size_t end = file.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = file.size();
    const std::string_view line = trimmed(file.substr(pos, end - pos));
    if (!line.empty() && line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos) sections.emplace(line.substr(1, close - 1));
    }
    keys.emplace(line.substr(0, line.find('=')));
    pos = end + 1;
  }
}

std::string applied(std::string_view file, const ProfileEdit& edit) {
  std::string out(file);
  out.replace(static_cast<std::size_t>(edit.at), static_cast<std::size_t>(edit.removed), edit.inserted);
  return out;
}

// The same read and edit from a file fed in pieces.
void checkPieces(std::string_view file, std::string_view section, std::string_view key,
                 std::string_view value, std::size_t piece) {
  ProfileScanner reader(section, key, 50, 0);
  ProfileScanner writer(section, key, 0, value.size());
  for (std::size_t at = 0; at < file.size(); at += piece) {
    reader.feed(file.substr(at, piece));
    writer.feed(file.substr(at, piece));
  }
  reader.finish();
  writer.finish();
  if (lumeno::settings::profileReadResult(reader.findings(), "0", 50) !=
      lumeno::settings::readProfileText(file, section, key, "0", 50)) {
    broken("a file read in pieces reads differently", file, section, key, value);
  }
  if (!lumeno::settings::canWriteProfileText(section, key, value)) return;
  const std::optional<ProfileEdit> edit =
      lumeno::settings::profileEdit(writer.findings(), section, key, value);
  if ((edit ? applied(file, *edit) : std::string(file)) !=
      lumeno::settings::writeProfileText(file, section, key, value)) {
    broken("a file written in pieces writes differently", file, section, key, value);
  }
  if (edit && file.substr(static_cast<std::size_t>(edit->at), static_cast<std::size_t>(edit->removed))
                      .find_first_of("\r\n") != std::string_view::npos) {
    broken("the change removes a line break", file, section, key, value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::string& section = kSections[data[0] % kSections.size()];
  const std::string& key = kKeys[data[1] % kKeys.size()];
  const std::string& value = kValues[data[2] % kValues.size()];
  const std::size_t piece = data[3] % 7 + 1;
  const std::string_view file(reinterpret_cast<const char*>(data) + 4, size - 4);

  checkPieces(file, section, key, value, piece);
  const std::optional<std::string> written = lumeno::settings::writeProfileText(file, section, key, value);
  if (written.has_value() != lumeno::settings::canWriteProfileText(section, key, value)) {
    broken("a write is refused, or not, against the rules", file, section, key, value);
  }
  if (!written) return 0;

  const std::size_t buffer = value.size() + 2;
  if (lumeno::settings::readProfileText(*written, section, key, "\x01", buffer).text != readBackOf(value)) {
    broken("the written key does not read back", file, section, key, value);
  }
  std::set<std::string> sections{section, "Options", "Automation", ""};
  std::set<std::string> keys{key, "uselog", "k"};
  namesIn(file, sections, keys);
  for (const std::string& otherSection : sections) {
    for (const std::string& otherKey : keys) {
      if (sameName(otherSection, section) && sameName(otherKey, key)) continue;
      if (lumeno::settings::readProfileText(file, otherSection, otherKey, "\x01", 80) !=
          lumeno::settings::readProfileText(*written, otherSection, otherKey, "\x01", 80)) {
        broken("another key reads differently after the write", file, otherSection, otherKey, value);
      }
    }
  }
  if (lumeno::settings::writeProfileText(*written, section, key, value) != written) {
    broken("writing the same again changes the file", file, section, key, value);
  }
  return 0;
}
