// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32NetworkInfo.h"

#include <array>
#include <vector>

#include <winsock2.h>
#include <ws2tcpip.h>
// winsock2 first, then the rest of the Windows headers.
#include <iphlpapi.h>
#include <wininet.h>

#include "platform/win32/Text.h"

namespace lumeno::platform {
namespace {

std::string dotted(const SOCKADDR* address) {
  const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
  const auto bytes = reinterpret_cast<const unsigned char*>(&v4->sin_addr);
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
         std::to_string(bytes[3]);
}

// The adapters with their IPv4 addresses; empty when the list cannot be read.
std::vector<unsigned char> adapterList() {
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer(size);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    const ULONG result = ::GetAdaptersAddresses(
        AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    if (result == NO_ERROR) return buffer;
    if (result != ERROR_BUFFER_OVERFLOW) return {};
    buffer.resize(size);
  }
  return {};
}

}  // namespace

std::string Win32NetworkInfo::localIPv4() const {
  DWORD bestIndex = 0;
  sockaddr_in internet{};
  internet.sin_family = AF_INET;  // 0.0.0.0: the default route
  const bool haveBest = ::GetBestInterfaceEx(reinterpret_cast<sockaddr*>(&internet), &bestIndex) == NO_ERROR;
  std::vector<unsigned char> buffer = adapterList();
  std::string firstUp;
  for (auto* adapter = buffer.empty() ? nullptr : reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
       adapter != nullptr; adapter = adapter->Next) {
    if (adapter->FirstUnicastAddress == nullptr) continue;
    std::string address = dotted(adapter->FirstUnicastAddress->Address.lpSockaddr);
    if (haveBest && adapter->IfIndex == bestIndex) return address;
    if (firstUp.empty() && adapter->OperStatus == IfOperStatusUp &&
        adapter->IfType != IF_TYPE_SOFTWARE_LOOPBACK)
      firstUp = address;
  }
  return firstUp.empty() ? "127.0.0.1" : firstUp;
}

std::string Win32NetworkInfo::hostName() const {
  std::array<wchar_t, 256> name{};
  auto size = static_cast<DWORD>(name.size());
  if (::GetComputerNameExW(ComputerNameDnsHostname, name.data(), &size) == FALSE) return {};
  return toUtf8(std::wstring_view(name.data(), size));
}

bool Win32NetworkInfo::isConnected() const {
  DWORD flags = 0;
  return ::InternetGetConnectedState(&flags, 0) != FALSE;
}

}  // namespace lumeno::platform
