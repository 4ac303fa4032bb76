// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/AppContext.h"

namespace lumeno::settings {

// The value of `key` in `section` of Lumeno.ini (at most 49 characters, trimmed). An absent
// file, section or key reads as "0". A key present with nothing after its equals sign is a
// failure: the message "An error has occurred while calling the API function" is shown and
// nothing is returned, so that the main window can log "[Error API ini] ," and go on with the
// value it read last.
std::optional<std::string> readSetting(const AppContext& context, std::string_view section,
                                       std::string_view key);

// A text setting read the same way, except that an absent key and one with nothing after its
// equals sign both read as empty, without a message: for keys where empty has a meaning.
std::string readTextSetting(const AppContext& context, std::string_view section, std::string_view key);

// Writes `value` under `key` in `section`, changing nothing else in the file. On failure shows
// the same message and returns false; the file keeps its old value.
bool writeSetting(const AppContext& context, std::string_view section, std::string_view key,
                  std::string_view value);

// Whether a value reads as on: a number other than zero. Anything that is not a number is off.
bool readsAsOn(const std::string& value);

}  // namespace lumeno::settings
