// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside a test's own network namespace ("ip netns exec").
//   (no arguments)  prints what the route check sees there, "online|offline <local IPv4>";
//   udp <IPv4>      sends one datagram to port 9 of that address (broadcast allowed);
//   watch           keeps one connection check, built as the program builds it, alive with an
//                   event loop running; for each line "online" or "offline" read from stdin it asks
//                   the check every 100 ms, the loop running in between as between the window's
//                   ticks, until the answer is that word or 10 s have passed, then prints the last
//                   answer on a line of its own.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <string>
#include <string_view>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

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

std::string word(bool connected) {
  return connected ? "online" : "offline";
}

int watch(int argc, char** argv) {
  const QCoreApplication application(argc, argv);
  const PosixNetworkInfo network;  // as the program makes it
  for (std::string wanted; std::getline(std::cin, wanted);) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string seen = word(network.isConnected());
    while (seen != wanted && std::chrono::steady_clock::now() < deadline) {
      QEventLoop loop;
      QTimer::singleShot(100, &loop, &QEventLoop::quit);
      loop.exec();
      seen = word(network.isConnected());
    }
    std::cout << seen << std::endl;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "udp") return sendDatagram(argv[2]);
  if (argc == 2 && std::string_view(argv[1]) == "watch") return watch(argc, argv);
  const PosixNetworkInfo network(PosixNetworkInfo::ConnectionSource::RoutesOnly);
  std::cout << word(network.isConnected()) << ' ' << network.localIPv4() << '\n';
  return 0;
}
