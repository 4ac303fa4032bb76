// Runs inside a test's private network namespace (started with "ip netns exec") and reports what
// the program would show there, bracketed by the interfaces' transmit counters.
//
//   net_probe check         sysfs-namespace yes|no, tx-before lines, connected online|offline,
//                           address <dotted>, tx-after lines
//   net_probe disable-ipv6  turns IPv6 off for every interface made from now on
//   net_probe udp <IPv4>    sends one datagram to that address (port 9, broadcast allowed) between
//                           two tx reports

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <string_view>

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/PosixNetworkInfo.h"

namespace {

// The interfaces of this process's network namespace, asked of the kernel directly.
std::set<std::string> kernelInterfaces() {
  std::set<std::string> names;
  if (struct if_nameindex* list = ::if_nameindex(); list != nullptr) {
    for (const struct if_nameindex* it = list; it->if_index != 0; ++it) names.insert(it->if_name);
    ::if_freenameindex(list);
  }
  return names;
}

std::set<std::string> sysfsInterfaces() {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net", error)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

void printTransmitCounters(std::string_view label) {
  for (const auto& name : kernelInterfaces()) {
    std::ifstream in("/sys/class/net/" + name + "/statistics/tx_packets");
    std::string count;
    if (!(in >> count)) count = "unreadable";
    std::cout << label << ' ' << name << ' ' << count << '\n';
  }
}

bool writeFile(const std::string& path, std::string_view text) {
  std::ofstream out(path);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

int check() {
  // The counters come from /sys, which "ip netns exec" mounts afresh for the namespace; make sure
  // it shows this namespace and not the host's.
  std::cout << "sysfs-namespace " << (sysfsInterfaces() == kernelInterfaces() ? "yes" : "no") << '\n';
  printTransmitCounters("tx-before");
  const lumeno::platform::PosixNetworkInfo network(
      lumeno::platform::PosixNetworkInfo::ConnectionSource::RoutesOnly);
  const bool connected = network.isConnected();
  const std::string address = network.localIPv4();
  printTransmitCounters("tx-after");
  std::cout << "connected " << (connected ? "online" : "offline") << '\n';
  std::cout << "address " << address << '\n';
  return 0;
}

int disableIPv6() {
  if (!std::filesystem::exists("/proc/sys/net/ipv6")) return 0;  // no IPv6 in this kernel at all
  const bool ok = writeFile("/proc/sys/net/ipv6/conf/default/disable_ipv6", "1\n") &&
                  writeFile("/proc/sys/net/ipv6/conf/all/disable_ipv6", "1\n");
  return ok ? 0 : 1;
}

int sendDatagram(const char* target) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(9);
  if (::inet_pton(AF_INET, target, &to.sin_addr) != 1) return 2;
  printTransmitCounters("tx-before");
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return 1;
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  const char byte = 'x';
  const auto sent = ::sendto(fd, &byte, 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  ::close(fd);
  printTransmitCounters("tx-after");
  return sent == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "check") return check();
  if (mode == "disable-ipv6") return disableIPv6();
  if (mode == "udp" && argc > 2) return sendDatagram(argv[2]);
  std::cerr << "usage: net_probe check | disable-ipv6 | udp <IPv4>\n";
  return 2;
}
