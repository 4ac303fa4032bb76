#pragma once

#include "platform/NetworkInfo.h"

namespace lumeno::platform {

// The machine's network facts on Windows. localIPv4(): the address of the interface the system
// would use for the Internet (its best route to 0.0.0.0), else the first address of an up
// interface that is not loopback, else "127.0.0.1". hostName(): the DNS host name.
// isConnected(): InternetGetConnectedState, a local query that sends nothing.
class Win32NetworkInfo : public NetworkInfo {
 public:
  [[nodiscard]] std::string localIPv4() const override;
  [[nodiscard]] std::string hostName() const override;
  [[nodiscard]] bool isConnected() const override;
  // Per adapter, by friendly name (Win32Interfaces.cpp).
  [[nodiscard]] std::vector<std::string> ipv4InterfaceNames() const override;
  [[nodiscard]] std::optional<std::string> interfaceIPv4(const std::string& name) const override;
  [[nodiscard]] std::vector<IPv6Address> interfaceIPv6(const std::string& name) const override;
  [[nodiscard]] std::string automaticIPv6Interface() const override;
};

}  // namespace lumeno::platform
