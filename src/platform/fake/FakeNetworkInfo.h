#pragma once

#include <map>
#include <vector>

#include "platform/NetworkInfo.h"

namespace lumeno::platform {

class FakeNetworkInfo : public NetworkInfo {
 public:
  [[nodiscard]] std::string localIPv4() const override {
    ++addressReads;
    return address;
  }
  [[nodiscard]] std::string hostName() const override {
    ++hostNameReads;
    return host;
  }
  [[nodiscard]] bool isConnected() const override {
    ++connectionChecks;
    return connected;
  }
  [[nodiscard]] std::vector<std::string> ipv4InterfaceNames() const override {
    std::vector<std::string> names;
    for (const auto& [name, ipv4] : interfaces) names.push_back(name);
    return names;
  }
  [[nodiscard]] std::optional<std::string> interfaceIPv4(const std::string& name) const override {
    const auto it = interfaces.find(name);
    if (it == interfaces.end()) return std::nullopt;
    return it->second;
  }
  [[nodiscard]] std::vector<IPv6Address> interfaceIPv6(const std::string& name) const override {
    const auto it = ipv6.find(name);
    return it == ipv6.end() ? std::vector<IPv6Address>{} : it->second;
  }
  [[nodiscard]] std::string automaticIPv6Interface() const override { return ipv6DefaultInterface; }

  std::string address = "192.168.0.5";  // what the automatic rule (the default route) gives
  std::string host = "testhost";
  bool connected = true;
  std::map<std::string, std::string> interfaces;         // name -> IPv4, loopback aside
  std::map<std::string, std::vector<IPv6Address>> ipv6;  // name -> its IPv6 addresses
  std::string ipv6DefaultInterface;
  mutable int addressReads = 0;
  mutable int hostNameReads = 0;
  mutable int connectionChecks = 0;
};

}  // namespace lumeno::platform
