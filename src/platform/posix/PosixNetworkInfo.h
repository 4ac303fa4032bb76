#pragma once

#include <string>

#include "platform/NetworkInfo.h"

namespace lumeno::platform {

// The machine's network facts on Linux.
//
// localIPv4(): the address of the interface that carries the default route, else the first address
// of an up physical interface, else "127.0.0.1". hostName(): gethostname().
// isConnected(): the desktop's connectivity service (Qt's QNetworkInformation, loaded once on first
// use) where one answers; "connected without Internet" reads as offline. Where none is loaded or it
// does not know, a default route through an interface that is up and has carrier counts as
// connected. Every answer is a local query: nothing is sent on the network.
class PosixNetworkInfo : public NetworkInfo {
 public:
  enum class ConnectionSource {
    SystemServiceThenRoutes,  // the desktop's connectivity service first (the program's choice)
    RoutesOnly,               // the routing tables alone (for a private network namespace)
  };

  explicit PosixNetworkInfo(ConnectionSource source = ConnectionSource::SystemServiceThenRoutes);

  [[nodiscard]] std::string localIPv4() const override;
  [[nodiscard]] std::string hostName() const override;
  [[nodiscard]] bool isConnected() const override;
  // Per interface (PosixInterfaces.cpp): the interface list, /proc/net/if_inet6 and the routes.
  [[nodiscard]] std::vector<std::string> ipv4InterfaceNames() const override;
  [[nodiscard]] std::optional<std::string> interfaceIPv4(const std::string& name) const override;
  [[nodiscard]] std::vector<IPv6Address> interfaceIPv6(const std::string& name) const override;
  [[nodiscard]] std::string automaticIPv6Interface() const override;

 private:
  ConnectionSource source_;
  mutable bool serviceLoadTried_ = false;
};

}  // namespace lumeno::platform
