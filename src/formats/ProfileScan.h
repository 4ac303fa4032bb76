// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One pass over a profile file, fed in pieces of any size, that finds what a read or a write of
// one key needs and keeps nothing else: memory stays the same whatever the size of the file or
// of any line in it. The rules are those described in ProfileText.h.
namespace lumeno::settings {

// What the scan found. Offsets count from the start of the file.
struct ProfileFindings {
  std::uint64_t size = 0;          // bytes fed so far
  std::string lineEnd;             // the file's first line end ("\r\n", "\n" or "\r"); empty if none seen
  bool endsWithLineBreak = false;  // the last byte fed is CR or LF

  // The first section of the name.
  bool sectionFound = false;
  std::uint64_t afterLastLine = 0;  // just after its last non-blank line (its header if none)
  bool lastLineHasLineEnd = true;   // whether that line ends with a line break

  // The first line of the key in that section.
  bool keyFound = false;
  bool keyHasEquals = false;
  // Everything after the "=" up to the line end: what a write replaces. Without "=", the blanks
  // after the key's name, which a write replaces with "=" and the value.
  std::uint64_t valuePartBegin = 0;
  std::uint64_t valuePartEnd = 0;
  std::string valuePartHead;  // its first bytes (as many as the scanner was asked to keep)
  // The value as a reader sees it: blanks around it removed, cut at a NUL byte.
  std::string valueHead;  // its first bytes
  std::uint64_t valueLength = 0;
  char valueLast = 0;  // its last byte
};

// One per read: members stay grouped by meaning rather than packed.
class ProfileScanner {  // NOLINT(clang-analyzer-optin.performance.Padding)
 public:
  // Looks for `key` in the first section called `section` (both matched without regard to ASCII
  // case or surrounding blanks). Keeps the first `valueHeadLimit` bytes of the value and the
  // first `valuePartHeadLimit` bytes of the value part.
  ProfileScanner(std::string_view section, std::string_view key, std::size_t valueHeadLimit,
                 std::size_t valuePartHeadLimit);

  // The next bytes of the file.
  void feed(std::string_view bytes);
  // The end of the file.
  void finish();

  // Nothing later in the file can change what was found about the key and its section (the
  // file's size and last byte still change).
  [[nodiscard]] bool settled() const { return settled_; }
  [[nodiscard]] const ProfileFindings& findings() const { return found_; }

 private:
  // Compares a name as it arrives, byte by byte, with the name looked for.
  struct NameMatcher {
    std::string_view target;
    bool skipLeadingBlanks = false;
    bool started = false;
    bool failed = false;
    std::size_t matched = 0;
    bool tailSeen = false;  // a non-blank byte after the whole target
    std::uint64_t tailFirstNonBlank = 0;
    std::uint64_t start = 0;

    void reset(std::string_view name, bool skipBlanks);
    void take(char c, std::uint64_t offset);
    [[nodiscard]] bool settled() const { return failed || tailSeen; }
    // The name runs up to `terminator` (exclusive), blanks before it not counted.
    [[nodiscard]] bool matchesEndingAt(std::uint64_t terminator) const;
    // The name runs to the end of the text.
    [[nodiscard]] bool matchesWhole() const;
  };

  enum class LineKind { Blank, Comment, Text };

  void process(const char* data, std::size_t size, std::uint64_t offset);
  void startLine();
  void takeContent(const char* data, std::size_t size, std::uint64_t offset);
  void takeValue(const char* data, std::size_t size, std::uint64_t offset);
  void takeValueByte(char c, std::uint64_t offset);
  void closeContent(std::uint64_t contentEnd);
  void closeLine(std::uint64_t end, std::string_view lineBreak);

  std::string section_;
  std::string key_;
  std::size_t valueHeadLimit_;
  std::size_t valuePartHeadLimit_;
  ProfileFindings found_;
  bool settled_ = false;
  bool inTarget_ = false;

  // A byte-order mark is looked for in the first three bytes.
  bool bomOpen_ = true;
  std::string bomHeld_;

  bool pendingCr_ = false;  // the last byte fed was a CR: its line's end waits for the next byte
  std::uint64_t pendingCrAt_ = 0;

  // The line being read.
  bool lineOpen_ = false;
  bool contentClosed_ = false;
  LineKind kind_ = LineKind::Blank;
  bool lineInTarget_ = false;  // a non-blank line of the target section, or its header
  bool bracketFirst_ = false;
  bool hasCloseBracket_ = false;
  std::uint64_t lastCloseBracket_ = 0;
  bool matchingSection_ = false;  // this line's name is compared with the section looked for
  bool matchingKey_ = false;      // ... with the key looked for
  NameMatcher name_;
  bool equalsSeen_ = false;
  std::uint64_t equalsAt_ = 0;
  bool keyMatched_ = false;  // name and "=" match: the rest of the line is the value
  std::string valuePartHead_;
  std::string valueHead_;
  bool valueStarted_ = false;
  bool valueCut_ = false;  // a NUL ended the value
  std::uint64_t valueBegin_ = 0;
  std::uint64_t valueNonBlankEnd_ = 0;
  char valueLastNonBlank_ = 0;
  std::uint64_t valueLength_ = 0;  // set when a NUL cuts the value
  char valueLast_ = 0;
  char previous_ = 0;
};

}  // namespace lumeno::settings
