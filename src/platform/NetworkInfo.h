// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lumeno::platform {

// What the machine knows about its own network. Every call reads afresh and sends nothing.
class NetworkInfo {
 public:
  virtual ~NetworkInfo() = default;
  // The local IPv4 address in dotted form, e.g. "192.168.0.5".
  [[nodiscard]] virtual std::string localIPv4() const = 0;
  [[nodiscard]] virtual std::string hostName() const = 0;
  // Whether the computer is connected to the Internet; a failed query reads as false.
  [[nodiscard]] virtual bool isConnected() const = 0;
};

}  // namespace lumeno::platform
