// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside a test's own network namespace and prints what the program sees there,
// "online|offline <local IPv4>"; with "udp <address>" it sends one datagram there instead.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <iostream>
#include <string_view>

#include "platform/posix/PosixNetworkInfo.h"

namespace {

using lumeno::platform::PosixNetworkInfo;

int sendDatagram(const char* address) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(9);
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  if (fd < 0 || ::inet_pton(AF_INET, address, &to.sin_addr) != 1 ||
      ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    return 1;
  }
  const auto sent = ::sendto(fd, "x", 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  ::close(fd);
  return sent == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "udp") return sendDatagram(argv[2]);
  const PosixNetworkInfo network(PosixNetworkInfo::ConnectionSource::RoutesOnly);
  std::cout << (network.isConnected() ? "online" : "offline") << ' ' << network.localIPv4() << '\n';
  return 0;
}
