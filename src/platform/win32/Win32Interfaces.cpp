// The per-interface facts of Win32NetworkInfo: IPv4 by adapter and the IPv6 addresses. Adapters
// are named by their friendly name ("Ethernet", "Wi-Fi").
#include <algorithm>
#include <array>
#include <vector>

#include <winsock2.h>
#include <ws2tcpip.h>
// winsock2 first, then the rest of the Windows headers.
#include <iphlpapi.h>

#include "platform/win32/Text.h"
#include "platform/win32/Win32NetworkInfo.h"

namespace lumeno::platform {
namespace {

// The adapters with their unicast addresses of `family`; empty when the list cannot be read.
std::vector<unsigned char> adapters(ULONG family) {
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer(size);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    const ULONG result = ::GetAdaptersAddresses(
        family, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    if (result == NO_ERROR) return buffer;
    if (result != ERROR_BUFFER_OVERFLOW) return {};
    buffer.resize(size);
  }
  return {};
}

template <typename Each>
void forEachAdapter(std::vector<unsigned char>& buffer, Each each) {
  for (auto* adapter = buffer.empty() ? nullptr : reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
       adapter != nullptr; adapter = adapter->Next) {
    if (adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
    each(*adapter, toUtf8(adapter->FriendlyName != nullptr ? adapter->FriendlyName : L""));
  }
}

std::string text(const SOCKADDR* address, int family) {
  std::array<char, INET6_ADDRSTRLEN> out{};
  const void* bytes =
      family == AF_INET
          ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in*>(address)->sin_addr)
          : static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr);
  if (::inet_ntop(family, bytes, out.data(), out.size()) == nullptr) return {};
  return out.data();
}

IPv6Scope scopeOf(const sockaddr_in6& address) {
  const unsigned char first = address.sin6_addr.s6_addr[0];
  const unsigned char second = address.sin6_addr.s6_addr[1];
  if (first == 0xFE && (second & 0xC0) == 0x80) return IPv6Scope::LinkLocal;
  if ((first & 0xE0) == 0x20 || (first & 0xFE) == 0xFC) return IPv6Scope::Global;  // 2000::/3, fc00::/7
  return IPv6Scope::Other;
}

// The index of the interface the system would use to reach everything of `family`.
std::optional<DWORD> bestInterface(int family) {
  sockaddr_storage everything{};
  everything.ss_family = static_cast<decltype(everything.ss_family)>(family);
  DWORD index = 0;
  if (::GetBestInterfaceEx(reinterpret_cast<sockaddr*>(&everything), &index) != NO_ERROR) return std::nullopt;
  return index;
}

}  // namespace

std::vector<std::string> Win32NetworkInfo::ipv4InterfaceNames() const {
  std::vector<unsigned char> buffer = adapters(AF_INET);
  std::vector<std::string> names;
  forEachAdapter(buffer, [&names](const IP_ADAPTER_ADDRESSES& adapter, const std::string& name) {
    if (adapter.FirstUnicastAddress != nullptr && !name.empty()) names.push_back(name);
  });
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::optional<std::string> Win32NetworkInfo::interfaceIPv4(const std::string& name) const {
  std::vector<unsigned char> buffer = adapters(AF_INET);
  std::optional<std::string> found;
  forEachAdapter(buffer, [&](const IP_ADAPTER_ADDRESSES& adapter, const std::string& adapterName) {
    if (!found && adapterName == name && adapter.FirstUnicastAddress != nullptr)
      found = text(adapter.FirstUnicastAddress->Address.lpSockaddr, AF_INET);
  });
  return found;
}

std::vector<IPv6Address> Win32NetworkInfo::interfaceIPv6(const std::string& name) const {
  std::vector<unsigned char> buffer = adapters(AF_INET6);
  std::vector<IPv6Address> out;
  forEachAdapter(buffer, [&](const IP_ADAPTER_ADDRESSES& adapter, const std::string& adapterName) {
    if (adapterName != name) return;
    for (const auto* unicast = adapter.FirstUnicastAddress; unicast != nullptr; unicast = unicast->Next) {
      const auto* v6 = reinterpret_cast<const sockaddr_in6*>(unicast->Address.lpSockaddr);
      IPv6Address address;
      address.text = text(unicast->Address.lpSockaddr, AF_INET6);
      address.scope = scopeOf(*v6);
      address.temporary = unicast->SuffixOrigin == IpSuffixOriginRandom;
      address.deprecated = unicast->DadState == IpDadStateDeprecated;
      address.tentative =
          unicast->DadState != IpDadStatePreferred && unicast->DadState != IpDadStateDeprecated;
      out.push_back(std::move(address));
    }
  });
  return out;
}

std::string Win32NetworkInfo::automaticIPv6Interface() const {
  for (const int family : {AF_INET6, AF_INET}) {
    const auto index = bestInterface(family);
    if (!index) continue;
    std::vector<unsigned char> buffer = adapters(AF_UNSPEC);
    std::string found;
    forEachAdapter(buffer, [&](const IP_ADAPTER_ADDRESSES& adapter, const std::string& name) {
      if (found.empty() && (adapter.IfIndex == *index || adapter.Ipv6IfIndex == *index)) found = name;
    });
    if (!found.empty()) return found;
  }
  return {};
}

}  // namespace lumeno::platform
