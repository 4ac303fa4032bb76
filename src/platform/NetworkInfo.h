#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumeno::platform {

// How far an IPv6 address reaches.
enum class IPv6Scope { Global, LinkLocal, Other };

// One IPv6 address of an interface and what the kernel says about it.
struct IPv6Address {
  std::string text;  // compressed form, e.g. "2001:db8:1::5"
  IPv6Scope scope = IPv6Scope::Global;
  bool temporary = false;   // a privacy address, replaced from time to time
  bool deprecated = false;  // past its preferred lifetime: not for new connections
  bool tentative = false;   // duplicate detection still running or failed: not usable
  friend bool operator==(const IPv6Address&, const IPv6Address&) = default;
};

// What the machine knows about its own network. Every call reads afresh and sends nothing.
class NetworkInfo {
 public:
  virtual ~NetworkInfo() = default;
  // The local IPv4 address in dotted form, e.g. "192.168.0.5".
  [[nodiscard]] virtual std::string localIPv4() const = 0;
  [[nodiscard]] virtual std::string hostName() const = 0;
  // Whether the computer is connected to the Internet; a failed query reads as false.
  [[nodiscard]] virtual bool isConnected() const = 0;

  // The interfaces that have an IPv4 address, loopback aside, by name, each once.
  [[nodiscard]] virtual std::vector<std::string> ipv4InterfaceNames() const = 0;
  // The IPv4 address of the named interface; nothing when it has none or does not exist.
  [[nodiscard]] virtual std::optional<std::string> interfaceIPv4(const std::string& name) const = 0;
  // Every IPv6 address of the named interface; empty when it has none or does not exist.
  [[nodiscard]] virtual std::vector<IPv6Address> interfaceIPv6(const std::string& name) const = 0;
  // The interface whose IPv6 addresses count when no interface is chosen: that of the IPv6
  // default route, else that of the IPv4 default route; empty when there is neither.
  [[nodiscard]] virtual std::string automaticIPv6Interface() const = 0;
};

}  // namespace lumeno::platform
