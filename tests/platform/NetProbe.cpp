// Runs inside a test's own network namespace ("ip netns exec"). Without arguments it prints what the
// program sees there, "online|offline <local IPv4>"; "udp <IPv4>" sends one datagram to port 9 of that
// address (broadcast allowed). Per interface: "interfaces" prints the IPv4 interfaces on one line,
// "ipv4 <name>" its address or "none", "ipv6 <name>" one line per address ("<address> global|link|other"
// and any of " temporary", " deprecated", " tentative"), "auto6" the automatic IPv6 interface.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <string_view>

#include "platform/posix/PosixNetworkInfo.h"

int main(int argc, char** argv) {
  using lumeno::platform::PosixNetworkInfo;
  if (argc == 3 && std::string_view(argv[1]) == "udp") {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd < 0 || ::inet_pton(AF_INET, argv[2], &to.sin_addr) != 1 ||
        ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
      return 1;
    }
    const auto sent = ::sendto(fd, "x", 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    ::close(fd);
    return sent == 1 ? 0 : 1;
  }
  const PosixNetworkInfo network(PosixNetworkInfo::ConnectionSource::RoutesOnly);
  const std::string_view command = argc >= 2 ? argv[1] : "";
  if (command == "interfaces") {
    for (const auto& name : network.ipv4InterfaceNames()) std::cout << name << ' ';
    std::cout << '\n';
    return 0;
  }
  if (command == "ipv4" && argc == 3) {
    std::cout << network.interfaceIPv4(argv[2]).value_or("none") << '\n';
    return 0;
  }
  if (command == "ipv6" && argc == 3) {
    using lumeno::platform::IPv6Scope;
    for (const auto& a : network.interfaceIPv6(argv[2])) {
      std::cout << a.text
                << (a.scope == IPv6Scope::Global      ? " global"
                    : a.scope == IPv6Scope::LinkLocal ? " link"
                                                      : " other")
                << (a.temporary ? " temporary" : "") << (a.deprecated ? " deprecated" : "")
                << (a.tentative ? " tentative" : "") << '\n';
    }
    return 0;
  }
  if (command == "auto6") {
    std::cout << network.automaticIPv6Interface() << '\n';
    return 0;
  }
  std::cout << (network.isConnected() ? "online " : "offline ") << network.localIPv4() << '\n';
  return 0;
}
