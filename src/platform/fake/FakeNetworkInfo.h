// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

  std::string address = "192.168.0.5";
  std::string host = "testhost";
  bool connected = true;
  mutable int addressReads = 0;
  mutable int hostNameReads = 0;
  mutable int connectionChecks = 0;
};

}  // namespace lumeno::platform
