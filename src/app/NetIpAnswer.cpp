// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NetIpAnswer.h"

#include <cctype>

namespace lumeno::app {
namespace {

bool isSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool isDottedIpv4(std::string_view text) {
  int parts = 0;
  std::size_t i = 0;
  while (true) {
    std::size_t digits = 0;
    int value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0 && digits < 4) {
      value = value * 10 + (text[i] - '0');
      ++digits;
      ++i;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    ++parts;
    if (i == text.size()) return parts == 4;
    if (text[i] != '.' || parts == 4) return false;
    ++i;
  }
}

}  // namespace

std::optional<std::string> parseNetIpAnswer(std::string_view body) {
  while (!body.empty() && isSpace(body.front())) body.remove_prefix(1);
  while (!body.empty() && isSpace(body.back())) body.remove_suffix(1);
  if (!isDottedIpv4(body)) return std::nullopt;
  return std::string(body);
}

std::string netIpFoundText(std::string_view address) {
  return "Your Net IP (the address the Internet sees) is " + std::string(address);
}

std::string netIpFailedText(std::string_view reason) {
  return "The Net IP could not be found: " + std::string(reason);
}

}  // namespace lumeno::app
