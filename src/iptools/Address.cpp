// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/Address.h"

#include <cstdint>

namespace lumeno::iptools {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::optional<int> convertOctet(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  // Whole part; anything far beyond the range is refused before it can overflow.
  constexpr std::int64_t kTooLarge = 1'000'000;
  std::int64_t whole = 0;
  std::size_t digits = 0;
  std::size_t i = 0;
  for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
    whole = whole * 10 + (text[i] - '0');
    if (whole > kTooLarge) return std::nullopt;
  }

  // Fraction: only its first digit and whether anything non-zero follows decide the rounding.
  int firstFractionDigit = 0;
  bool nonZeroAfterFirst = false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (std::size_t position = 0; i < text.size() && isDigit(text[i]); ++i, ++position, ++digits) {
      const int digit = text[i] - '0';
      if (position == 0) {
        firstFractionDigit = digit;
      } else if (digit != 0) {
        nonZeroAfterFirst = true;
      }
    }
  }
  if (digits == 0 || i != text.size()) return std::nullopt;

  const bool roundUp =
      firstFractionDigit > 5 || (firstFractionDigit == 5 && (nonZeroAfterFirst || whole % 2 == 1));
  if (roundUp) ++whole;
  const std::int64_t value = negative ? -whole : whole;
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<std::string_view> addressClass(int firstOctet) {
  if (firstOctet < 127) return "Class A Address";
  if (firstOctet == 127) return "Loopback Address";
  if (firstOctet < 192) return "Class B Address";
  if (firstOctet < 224) return "Class C Address";
  return std::nullopt;
}

std::optional<TypedAddress> addressFromOctets(const std::array<std::string_view, 4>& octets) {
  TypedAddress address;
  std::optional<int> first;
  for (const std::string_view text : octets) {
    const std::optional<int> number = convertOctet(text);
    if (!number) return std::nullopt;
    if (!first) first = number;
    if (!address.target.empty()) address.target += '.';
    address.target += std::to_string(*number);
  }
  address.classText = addressClass(*first);
  return address;
}

bool isMissingDomain(std::string_view domain) {
  return domain.empty() || domain == "www.";
}

}  // namespace lumeno::iptools
