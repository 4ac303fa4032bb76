// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AddressChoice.h"

#include <charconv>

namespace lumeno::app {
namespace {

enum class Reach { Internet, Site, None };

// How far an address of global scope reaches, from its first 16 bits: the kernel calls
// unique-local addresses (fc00::/7) global too, but they never leave the site.
Reach reachOf(const std::string& text) {
  unsigned first = 0;
  const char* end = text.data() + text.size();
  if (std::from_chars(text.data(), end, first, 16).ec != std::errc{}) return Reach::None;  // "::..."
  if ((first & 0xE000U) == 0x2000U) return Reach::Internet;                                // 2000::/3
  if ((first & 0xFE00U) == 0xFC00U) return Reach::Site;                                    // fc00::/7
  return Reach::None;
}

}  // namespace

std::optional<std::string> chooseIPv6(const std::vector<platform::IPv6Address>& addresses) {
  for (const Reach reach : {Reach::Internet, Reach::Site}) {
    for (const bool temporary : {false, true}) {
      for (const auto& a : addresses) {
        if (a.scope == platform::IPv6Scope::Global && !a.deprecated && !a.tentative &&
            a.temporary == temporary && reachOf(a.text) == reach) {
          return a.text;
        }
      }
    }
  }
  return std::nullopt;
}

bool isRealAddress(const std::string& address) {
  return !address.empty() && !address.starts_with("127.");
}

std::string ipv4For(const platform::NetworkInfo& network, const std::string& chosen) {
  if (!chosen.empty()) {
    if (auto address = network.interfaceIPv4(chosen)) return *address;
  }
  return network.localIPv4();
}

std::optional<std::string> ipv6For(const platform::NetworkInfo& network, const std::string& chosen) {
  const bool chosenExists = !chosen.empty() && network.interfaceIPv4(chosen).has_value();
  return chooseIPv6(network.interfaceIPv6(chosenExists ? chosen : network.automaticIPv6Interface()));
}

}  // namespace lumeno::app
