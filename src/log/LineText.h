// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// How the log's bytes become the text a line shows, and how a line is matched by a search.
namespace lumeno::log {

// A line's bytes without its line break (CR LF, LF or CR at the end).
std::string_view withoutLineBreak(std::string_view line);

// The bytes as valid UTF-8: every byte that is not part of a well-formed UTF-8 character
// becomes U+FFFD, so a damaged log still shows all of its readable text.
std::string displayText(std::string_view bytes);

// The text to look for, as the search compares it: ASCII letters in lower case, and cut at the
// first line break (a line never holds one).
std::string searchKey(std::string_view typed);

// The bytes with the ASCII letters in lower case.
std::string foldCase(std::string_view bytes);

}  // namespace lumeno::log
