// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The desktop entry that starts the program when the user logs in (an XDG autostart entry), and
// the quoting rules of the desktop entry format that it needs.
namespace lumeno::settings {

// One argument of an Exec line as it appears in the file: enclosed in double quotes, with '"',
// '`', '$' and '\' escaped by a backslash, '%' doubled, and then escaped again by the rules for
// string values (so a literal backslash becomes four). Reads back as exactly `argument`.
std::string execArgument(std::string_view argument);

// A string value escaped for a desktop entry: '\' as "\\", line breaks and tabs as "\n", "\r",
// "\t", and a leading space as "\s".
std::string escapeStringValue(std::string_view text);

// Whether the text is well-formed UTF-8 (a desktop entry must be).
bool isUtf8(std::string_view text);

// The whole entry that starts `program` (an absolute path) from its own folder, shown as `name`,
// and only while `program` is there.
// Nothing when the entry cannot say that faithfully (a relative path, a path or name that is not
// UTF-8 or holds a control character a desktop entry cannot carry).
std::optional<std::string> autostartEntry(std::string_view name, std::string_view program);

// The folder part of an absolute path: everything before the last '/' ("/" for a file at the root).
std::string_view folderOf(std::string_view program);

}  // namespace lumeno::settings
