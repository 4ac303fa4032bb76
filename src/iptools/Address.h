// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The trace target typed octet by octet, its class, and the check of the typed domain.
namespace lumeno::iptools {

// An octet box's text as a whole number from -32768 to 32767: spaces around it are ignored, a
// leading sign is allowed, a decimal fraction is rounded to the nearest whole number with a half
// going to the even neighbour (2.5 -> 2, 3.5 -> 4). Nothing when the text is empty, is not a
// plain decimal number (no exponent, no hexadecimal) or is out of range. Numbers are not limited
// to 0..255.
[[nodiscard]] std::optional<int> convertOctet(std::string_view text);

// "Class A Address", "Loopback Address", "Class B Address" or "Class C Address" by the first
// octet alone; nothing from 224 on.
[[nodiscard]] std::optional<std::string_view> addressClass(int firstOctet);

struct TypedAddress {
  std::string target;                         // the four numbers in decimal joined by "."
  std::optional<std::string_view> classText;  // what the status label is to show, if anything
};

// The address from the four octet texts, first to fourth; nothing when any of them fails.
[[nodiscard]] std::optional<TypedAddress> addressFromOctets(const std::array<std::string_view, 4>& octets);

// True when the domain box holds no domain to trace: empty, or exactly "www." as it starts out.
[[nodiscard]] bool isMissingDomain(std::string_view domain);

}  // namespace lumeno::iptools
