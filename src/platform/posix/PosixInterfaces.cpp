// The per-interface facts of PosixNetworkInfo: IPv4 by interface and the IPv6 addresses.
#include "platform/posix/InterfaceTables.h"
#include "platform/posix/NetSystem.h"
#include "platform/posix/PosixNetworkInfo.h"

namespace lumeno::platform {
namespace {

std::vector<net::InterfaceIPv6> readIPv6Table() {
  const auto text = net::readProcFile("/proc/net/if_inet6");  // absent when IPv6 is off
  return text ? net::parseIfInet6(*text) : std::vector<net::InterfaceIPv6>{};
}

}  // namespace

std::vector<std::string> PosixNetworkInfo::ipv4InterfaceNames() const {
  return net::ipv4InterfaceNames(net::readInterfaceAddresses());
}

std::optional<std::string> PosixNetworkInfo::interfaceIPv4(const std::string& name) const {
  return net::ipv4OfInterface(net::readInterfaceAddresses(), name);
}

std::vector<IPv6Address> PosixNetworkInfo::interfaceIPv6(const std::string& name) const {
  return net::ipv6OfInterface(readIPv6Table(), name);
}

std::string PosixNetworkInfo::automaticIPv6Interface() const {
  return net::automaticIPv6Interface(net::readIPv6Routes(), net::readIPv4Routes());
}

}  // namespace lumeno::platform
