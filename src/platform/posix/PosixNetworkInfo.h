#pragma once

#include <string>

#include "platform/NetworkInfo.h"
#include "platform/posix/NetTables.h"

namespace lumeno::platform {

// The machine's network facts on Linux.
//
// localIPv4(): the address of the interface that carries the default route, else the first address
// of an up physical interface, else "127.0.0.1". hostName(): gethostname().
// isConnected(): a default route through an interface that is up and has carrier, read afresh from
// the kernel at every call; that check alone can make the machine "online". NetworkManager, where
// it runs, may only add "offline" when it says the network behind the route has no Internet. No
// other connectivity service is asked: GLib's network monitor, for one, may never report a change.
// Every answer is a local query: nothing is sent on the network.
class PosixNetworkInfo : public NetworkInfo {
 public:
  enum class ConnectionSource {
    RoutesAndService,  // the routes, with NetworkManager's "no Internet" on top (the program's choice)
    RoutesOnly,        // the routing tables alone
  };

  explicit PosixNetworkInfo(ConnectionSource source = ConnectionSource::RoutesAndService);

  [[nodiscard]] std::string localIPv4() const override;
  [[nodiscard]] std::string hostName() const override;
  [[nodiscard]] bool isConnected() const override;
  // Per interface (PosixInterfaces.cpp): the interface list, /proc/net/if_inet6 and the routes.
  [[nodiscard]] std::vector<std::string> ipv4InterfaceNames() const override;
  [[nodiscard]] std::optional<std::string> interfaceIPv4(const std::string& name) const override;
  [[nodiscard]] std::vector<IPv6Address> interfaceIPv6(const std::string& name) const override;
  [[nodiscard]] std::string automaticIPv6Interface() const override;

 private:
  // What NetworkManager says, or Unknown when it is not running or not yet loaded.
  [[nodiscard]] net::SystemReachability serviceReachability() const;

  ConnectionSource source_;
  mutable bool serviceLoadTried_ = false;
};

}  // namespace lumeno::platform
