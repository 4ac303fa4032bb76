#include "platform/posix/InterfaceTables.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include <arpa/inet.h>
#include <netinet/in.h>

namespace lumeno::platform::net {
namespace {

// Address flags and scopes as the kernel prints them in /proc/net/if_inet6 (linux/if_addr.h,
// net/ipv6.h).
constexpr unsigned kTemporary = 0x01;
constexpr unsigned kDadFailed = 0x08;
constexpr unsigned kDeprecated = 0x20;
constexpr unsigned kTentative = 0x40;
constexpr unsigned kScopeGlobal = 0x00;
constexpr unsigned kScopeLinkLocal = 0x20;

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

std::optional<unsigned> hexNumber(std::string_view s) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
  if (s.empty() || error != std::errc{} || end != s.data() + s.size()) return std::nullopt;
  return value;
}

// "20010db8000100000000000000000005" as "2001:db8:1::5".
std::optional<std::string> compressedIPv6(std::string_view hex) {
  if (hex.size() != 32) return std::nullopt;
  in6_addr bytes{};
  for (std::size_t i = 0; i < 16; ++i) {
    const auto byte = hexNumber(hex.substr(2 * i, 2));
    if (!byte) return std::nullopt;
    bytes.s6_addr[i] = static_cast<std::uint8_t>(*byte);
  }
  std::array<char, INET6_ADDRSTRLEN> text{};
  if (::inet_ntop(AF_INET6, &bytes, text.data(), text.size()) == nullptr) return std::nullopt;
  return std::string(text.data());
}

}  // namespace

std::vector<InterfaceIPv6> parseIfInet6(std::string_view text) {
  // address ifindex prefix-length scope flags name
  std::vector<InterfaceIPv6> table;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const auto f = fields(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (f.size() < 6) continue;
    const auto address = compressedIPv6(f[0]);
    const auto scope = hexNumber(f[3]);
    const auto flags = hexNumber(f[4]);
    if (!address || !scope || !flags || !hexNumber(f[1]) || !hexNumber(f[2])) continue;
    InterfaceIPv6 entry;
    entry.interface = std::string(f[5]);
    entry.address.text = *address;
    entry.address.scope = *scope == kScopeGlobal      ? IPv6Scope::Global
                          : *scope == kScopeLinkLocal ? IPv6Scope::LinkLocal
                                                      : IPv6Scope::Other;
    entry.address.temporary = (*flags & kTemporary) != 0;
    entry.address.deprecated = (*flags & kDeprecated) != 0;
    entry.address.tentative = (*flags & (kTentative | kDadFailed)) != 0;
    table.push_back(std::move(entry));
  }
  return table;
}

std::vector<std::string> ipv4InterfaceNames(const std::vector<InterfaceAddress>& addresses) {
  std::vector<std::string> names;
  for (const auto& a : addresses) {
    if (a.loopback || (a.address >> 24U) == 127U) continue;
    if (std::find(names.begin(), names.end(), a.interface) == names.end()) names.push_back(a.interface);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> ipv4OfInterface(const std::vector<InterfaceAddress>& addresses,
                                           std::string_view name) {
  for (const auto& a : addresses) {
    if (a.interface == name && !a.loopback && (a.address >> 24U) != 127U) return formatIPv4(a.address);
  }
  return std::nullopt;
}

std::vector<IPv6Address> ipv6OfInterface(const std::vector<InterfaceIPv6>& table, std::string_view name) {
  std::vector<IPv6Address> out;
  for (const auto& entry : table) {
    if (entry.interface == name) out.push_back(entry.address);
  }
  return out;
}

std::string automaticIPv6Interface(const std::vector<Route>& ipv6Routes,
                                   const std::vector<Route>& ipv4Routes) {
  for (const auto* routes : {&ipv6Routes, &ipv4Routes}) {
    const auto names = defaultRouteInterfaces(*routes);
    if (!names.empty()) return names.front();
  }
  return {};
}

}  // namespace lumeno::platform::net
