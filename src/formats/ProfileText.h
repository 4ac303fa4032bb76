// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The rules of the profile (INI) file, as pure functions on the file's bytes. They read and write
// the way the Windows private-profile functions do, so a Lumeno.ini reads the same on every
// platform:
//  - "[name]" starts a section; ";" at the start of a line starts a comment line; a key line is
//    "name=value". A line that holds only a name is a key without a value.
//  - section and key names match without regard to ASCII case and to surrounding spaces/tabs;
//    the first matching section, and within it the first matching key, win;
//  - a value is trimmed of spaces/tabs and loses one pair of matching surrounding quotes
//    (' or "); an inline ";" belongs to the value;
//  - CR LF, LF and CR all end a line; a UTF-8 byte-order mark at the start is skipped.
// Files of any size are read in one pass that keeps only what one key needs (ProfileScan.h).
namespace lumeno::settings {

struct ProfileFindings;

// What a read copied into the caller's buffer: the number of characters and the text itself.
struct ProfileString {
  std::size_t count = 0;
  std::string text;
  friend bool operator==(const ProfileString&, const ProfileString&) = default;
};

// Reads `key` of `section` from the file's bytes into a buffer of `bufferSize` characters (one is
// kept for the terminating NUL, so at most bufferSize - 1 characters come back). An absent key,
// section or file (pass empty bytes), or a key line without "=", yields `defaultText` (trailing
// blanks removed). A key with nothing after "=" yields 0 characters.
ProfileString readProfileText(std::string_view fileBytes, std::string_view section, std::string_view key,
                              std::string_view defaultText, std::size_t bufferSize);
// The same read from what a scan of the file found (the scan kept bufferSize bytes of the value).
ProfileString profileReadResult(const ProfileFindings& found, std::string_view defaultText,
                                std::size_t bufferSize);

// The file's bytes with `key` of `section` set to `value`, every other byte kept: comments, order,
// blank lines, the key line's spacing before "=", line ends. Everything after the key's "=" up to
// its line end becomes the value, so the file then holds exactly that value. A missing key goes at
// the end of its section (after its last non-blank line) and a missing section at the end of the
// file, with the file's own line end (CR LF for a file that has none yet). Nothing when the names
// or the value cannot be written without breaking the file's structure (a line break or NUL
// anywhere, "=" in the key, an empty key, a key or section name that would read as something else).
std::optional<std::string> writeProfileText(std::string_view fileBytes, std::string_view section,
                                            std::string_view key, std::string_view value);

// Whether the names and the value can be written at all (see writeProfileText).
bool canWriteProfileText(std::string_view section, std::string_view key, std::string_view value);

// A write as one change: `removed` bytes at `at` give way to `inserted`.
struct ProfileEdit {
  std::uint64_t at = 0;
  std::uint64_t removed = 0;
  std::string inserted;
  friend bool operator==(const ProfileEdit&, const ProfileEdit&) = default;
};

// The change that sets the key, from what a scan of the whole file found (the scan kept
// value.size() bytes of the value part); nothing when the file already holds exactly that value.
// The names and value must pass canWriteProfileText.
std::optional<ProfileEdit> profileEdit(const ProfileFindings& found, std::string_view section,
                                       std::string_view key, std::string_view value);

// Whether a setting's value is on: it reads as a number (decimal, optional sign, fraction and
// exponent, surrounding blanks allowed; never the locale's decimal comma) that is not zero.
// Text that is not a number, and the empty text, is off.
bool readsAsOn(const std::string& value);

}  // namespace lumeno::settings
