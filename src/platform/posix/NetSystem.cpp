// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/NetSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <set>
#include <string_view>

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/Descriptor.h"

namespace lumeno::platform::net {
namespace {

// Link flags beyond the 16 bits the old interface ioctls carry (linux/if.h).
constexpr unsigned kLowerUp = 0x10000;  // the driver reports carrier
constexpr unsigned kDormant = 0x20000;  // waiting for an outside event, e.g. Wi-Fi authentication

// Carrier as the kernel knows it at this moment. IFF_RUNNING follows it only once the kernel's
// link-watch work has run, so it can lag behind a pulled cable.
bool hasCarrier(unsigned flags) {
  return (flags & kLowerUp) != 0 && (flags & kDormant) == 0;
}

constexpr std::size_t align4(std::size_t n) {
  return (n + 3U) & ~std::size_t{3};
}

// One message of a netlink answer: its header and the bytes after it.
struct Message {
  nlmsghdr header;
  std::string_view payload;
};

// Questions to the kernel's routing service over a route netlink socket. They stay inside the
// kernel: nothing is sent on the network. The kernel answers within send() and fills the next part
// of a long answer while the previous one is read, so every read takes what is already queued and
// never waits.
class RouteNetlink {
 public:
  RouteNetlink() : fd_(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {}
  [[nodiscard]] bool valid() const { return fd_.valid(); }

  // Sends a request (header and body), then hands each answering message to each(). False when
  // the exchange fails or the kernel answers with an error.
  template <typename Body, typename Each>
  bool ask(std::uint16_t type, bool dump, const Body& body, std::string_view attributes, Each each) {
    std::array<char, 128> request{};
    const std::size_t bodyAt = NLMSG_HDRLEN;
    const std::size_t attributesAt = bodyAt + align4(sizeof(Body));
    const std::size_t length = attributesAt + attributes.size();
    if (length > request.size()) return false;
    nlmsghdr header{};
    header.nlmsg_len = static_cast<std::uint32_t>(length);
    header.nlmsg_type = type;
    header.nlmsg_flags = static_cast<std::uint16_t>(NLM_F_REQUEST | (dump ? NLM_F_DUMP : 0));
    header.nlmsg_seq = ++sequence_;
    std::memcpy(request.data(), &header, sizeof header);
    std::memcpy(request.data() + bodyAt, &body, sizeof body);
    if (!attributes.empty()) std::memcpy(request.data() + attributesAt, attributes.data(), attributes.size());
    if (::send(fd_.get(), request.data(), length, 0) < 0) return false;

    for (;;) {
      const ssize_t n = ::recv(fd_.get(), reply_.data(), reply_.size(), MSG_DONTWAIT);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      std::string_view rest(reply_.data(), static_cast<std::size_t>(n));
      while (rest.size() >= NLMSG_HDRLEN) {
        Message message{};
        std::memcpy(&message.header, rest.data(), sizeof message.header);
        const std::size_t size = message.header.nlmsg_len;
        if (size < NLMSG_HDRLEN || size > rest.size()) return false;
        message.payload = rest.substr(NLMSG_HDRLEN, size - NLMSG_HDRLEN);
        rest.remove_prefix(std::min(align4(size), rest.size()));
        if (message.header.nlmsg_seq != sequence_) continue;  // a late answer to an earlier question
        if (message.header.nlmsg_type == NLMSG_DONE) return true;
        if (message.header.nlmsg_type == NLMSG_ERROR) return false;
        each(message);
        if (!dump) return true;
      }
    }
  }

 private:
  Descriptor fd_;
  std::uint32_t sequence_ = 0;
  std::array<char, std::size_t{32} * 1024>
      reply_;  // NOLINT(cppcoreguidelines-pro-type-member-init): filled by recv
};

// The fixed part of a message payload, if the payload is long enough to hold it.
template <typename T>
std::optional<T> fixedPart(std::string_view payload) {
  if (payload.size() < sizeof(T)) return std::nullopt;
  T value{};
  std::memcpy(&value, payload.data(), sizeof value);
  return value;
}

// Calls each(type, data) for every attribute after the fixed part of type T.
template <typename T, typename Each>
void forEachAttribute(std::string_view payload, Each each) {
  std::size_t at = align4(sizeof(T));
  while (at + sizeof(rtattr) <= payload.size()) {
    rtattr attribute{};
    std::memcpy(&attribute, payload.data() + at, sizeof attribute);
    if (attribute.rta_len < sizeof(rtattr) || at + attribute.rta_len > payload.size()) return;
    each(attribute.rta_type, payload.substr(at + sizeof(rtattr), attribute.rta_len - sizeof(rtattr)));
    at += align4(attribute.rta_len);
  }
}

// A name attribute as the kernel wants it: length, type, the name with its terminating zero.
std::string nameAttribute(const std::string& name) {
  rtattr attribute{};
  attribute.rta_type = IFLA_IFNAME;
  attribute.rta_len = static_cast<unsigned short>(sizeof(rtattr) + name.size() + 1);
  std::string bytes(align4(attribute.rta_len), '\0');
  std::memcpy(bytes.data(), &attribute, sizeof attribute);
  std::memcpy(bytes.data() + sizeof attribute, name.data(), name.size());
  return bytes;
}

std::optional<unsigned> linkFlags(RouteNetlink& netlink, const ifinfomsg& which,
                                  std::string_view attributes) {
  std::optional<unsigned> flags;
  netlink.ask(RTM_GETLINK, false, which, attributes, [&flags](const Message& message) {
    if (message.header.nlmsg_type != RTM_NEWLINK) return;
    if (const auto info = fixedPart<ifinfomsg>(message.payload)) flags = info->ifi_flags;
  });
  return flags;
}

std::uint32_t hostOrderAddress(std::string_view data) {
  std::uint32_t networkOrder = 0;
  std::memcpy(&networkOrder, data.data(), sizeof networkOrder);
  return ntohl(networkOrder);
}

std::uint32_t maskOfPrefix(unsigned prefixLength) {
  return prefixLength == 0 ? 0U : ~std::uint32_t{0} << (32U - std::min(prefixLength, 32U));
}

}  // namespace

std::optional<std::string> readProcFile(const char* path) {
  const Descriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return std::nullopt;
  std::string text;
  std::array<char, 4096> buffer{};
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer.data(), static_cast<std::size_t>(n));
  }
  return text;
}

std::vector<Route> readIPv4Routes() {
  const auto text = readProcFile("/proc/net/route");
  return text ? parseIPv4Routes(*text) : std::vector<Route>{};
}

std::vector<Route> readIPv6Routes() {
  const auto text = readProcFile("/proc/net/ipv6_route");
  return text ? parseIPv6Routes(*text) : std::vector<Route>{};
}

std::vector<InterfaceAddress> readInterfaceAddresses() {
  RouteNetlink netlink;
  if (!netlink.valid()) return {};

  struct Found {
    int index;
    InterfaceAddress address;
  };
  std::vector<Found> found;
  ifaddrmsg family{};
  family.ifa_family = AF_INET;
  const bool listed = netlink.ask(RTM_GETADDR, true, family, {}, [&found](const Message& message) {
    const auto info = fixedPart<ifaddrmsg>(message.payload);
    if (message.header.nlmsg_type != RTM_NEWADDR || !info || info->ifa_family != AF_INET) return;
    Found entry{static_cast<int>(info->ifa_index), {}};
    entry.address.netmask = maskOfPrefix(info->ifa_prefixlen);
    bool haveLocal = false;
    forEachAttribute<ifaddrmsg>(message.payload, [&entry, &haveLocal](unsigned type, std::string_view data) {
      // IFA_LOCAL is this machine's end; IFA_ADDRESS differs from it on point-to-point links.
      if (type == IFA_LOCAL && data.size() >= 4) {
        entry.address.address = hostOrderAddress(data);
        haveLocal = true;
      } else if (type == IFA_ADDRESS && data.size() >= 4 && !haveLocal) {
        entry.address.address = hostOrderAddress(data);
      } else if (type == IFA_LABEL) {
        entry.address.interface = interfaceOfLabel(std::string(data.substr(0, data.find('\0'))));
      }
    });
    if (!entry.address.interface.empty()) found.push_back(std::move(entry));
  });
  if (!listed) return {};

  // Each interface's flags, asked once per interface. Loopback addresses are never shown, so an
  // interface that has nothing else need not be asked.
  const auto isLoopback = [](const Found& entry) { return (entry.address.address >> 24U) == 127U; };
  std::map<int, unsigned> flagsOf;
  for (const auto& entry : found) {
    if (flagsOf.count(entry.index) != 0) continue;
    if (std::all_of(found.begin(), found.end(),
                    [&](const Found& other) { return other.index != entry.index || isLoopback(other); })) {
      flagsOf[entry.index] = IFF_LOOPBACK;
      continue;
    }
    ifinfomsg which{};
    which.ifi_family = AF_UNSPEC;
    which.ifi_index = entry.index;
    flagsOf[entry.index] = linkFlags(netlink, which, {}).value_or(0U);
  }
  std::vector<InterfaceAddress> out;
  out.reserve(found.size());
  for (auto& entry : found) {
    const unsigned flags = flagsOf[entry.index];
    entry.address.up = (flags & IFF_UP) != 0;
    entry.address.carrier = hasCarrier(flags);
    entry.address.loopback = (flags & IFF_LOOPBACK) != 0;
    out.push_back(std::move(entry.address));
  }
  return out;
}

std::map<std::string, LinkState> readLinkStates(const std::vector<std::string>& names) {
  std::map<std::string, LinkState> states;
  if (names.empty()) return states;
  RouteNetlink netlink;
  if (!netlink.valid()) return states;
  for (const auto& name : names) {
    if (name.empty() || name.size() >= IFNAMSIZ) continue;
    ifinfomsg which{};
    which.ifi_family = AF_UNSPEC;
    if (const auto flags = linkFlags(netlink, which, nameAttribute(name))) {
      states[name] = LinkState{(*flags & IFF_UP) != 0, hasCarrier(*flags)};
    }
  }
  return states;
}

bool connectedByRoutes() {
  // IPv4 first: most machines answer there, and the IPv6 table can be long.
  const auto ipv4 = readIPv4Routes();
  if (hasCarryingDefaultRoute(ipv4, readLinkStates(defaultRouteInterfaces(ipv4)))) return true;
  const auto ipv6 = readIPv6Routes();
  return hasCarryingDefaultRoute(ipv6, readLinkStates(defaultRouteInterfaces(ipv6)));
}

std::string localIPv4FromSystem() {
  return chooseLocalIPv4(readIPv4Routes(), readInterfaceAddresses());
}

}  // namespace lumeno::platform::net
