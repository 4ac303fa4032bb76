// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside a test's own network namespace and prints what the program sees there: with no
// argument "online|offline <local IPv4>", else the answer to one question (see its cases below).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <iostream>
#include <string>
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

// The per-interface questions; false when `command` is none of them.
bool answerInterfaceQuestion(std::string_view command, int argc, char** argv) {
  const PosixNetworkInfo network(PosixNetworkInfo::ConnectionSource::RoutesOnly);
  if (command == "interfaces") {
    for (const auto& name : network.ipv4InterfaceNames()) std::cout << name << ' ';
    std::cout << '\n';
  } else if (command == "ipv4" && argc == 3) {
    std::cout << network.interfaceIPv4(argv[2]).value_or("none") << '\n';
  } else if (command == "ipv6" && argc == 3) {
    using lumeno::platform::IPv6Scope;
    for (const auto& a : network.interfaceIPv6(argv[2])) {
      const char* scope = a.scope == IPv6Scope::Global      ? " global"
                          : a.scope == IPv6Scope::LinkLocal ? " link"
                                                            : " other";
      std::cout << a.text << scope << (a.temporary ? " temporary" : "") << (a.deprecated ? " deprecated" : "")
                << (a.tentative ? " tentative" : "") << '\n';
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && answerInterfaceQuestion(argv[1], argc, argv)) return 0;
  if (argc == 3 && std::string_view(argv[1]) == "udp") return sendDatagram(argv[2]);
  const PosixNetworkInfo network(PosixNetworkInfo::ConnectionSource::RoutesOnly);
  std::cout << (network.isConnected() ? "online" : "offline") << ' ' << network.localIPv4() << '\n';
  return 0;
}
