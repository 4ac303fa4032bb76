// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/AppContext.h"

namespace lumeno::settings {

// A window's three text fields for the settings file: the caller fills the current section and
// key (and, before a write, the current value), then calls readSetting or writeSetting.
struct SettingFields {
  std::string currentSection;
  std::string currentKey;
  std::string currentValue;
};

// Reads the current key of the current section of Lumeno.ini into the current value (at most
// 49 characters, trimmed). An absent file, section or key reads as "0". A key present with
// nothing after its equals sign is a failure: the message "An error has occurred while calling
// the API function" is shown, the current value is left as it was, and false is returned so
// the main window can log "[Error API ini] ,".
bool readSetting(const AppContext& context, SettingFields& fields);

// Reads a text setting the same way, except that an absent key and one with nothing after its
// equals sign both read as empty, without a message: for keys where empty has a meaning.
void readTextSetting(const AppContext& context, SettingFields& fields);

// Writes the current value under the current key of the current section, changing nothing
// else in the file. On failure shows the same message and returns false; the file keeps its
// old value.
bool writeSetting(const AppContext& context, const SettingFields& fields);

// Whether a value reads as on: a number other than zero. Anything that is not a number is off.
bool readsAsOn(const std::string& value);

}  // namespace lumeno::settings
