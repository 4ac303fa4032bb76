// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside a test's own network namespace and prints what the program sees there,
// "online|offline <local IPv4>".
#include <iostream>

#include "platform/posix/PosixNetworkInfo.h"

int main() {
  const lumeno::platform::PosixNetworkInfo network(
      lumeno::platform::PosixNetworkInfo::ConnectionSource::RoutesOnly);
  std::cout << (network.isConnected() ? "online" : "offline") << ' ' << network.localIPv4() << '\n';
  return 0;
}
