// SPDX-License-Identifier: GPL-3.0-or-later
// The connection check and the local address against a real kernel, in two network namespaces of
// the test's own: every command names one, so nothing touches the host's interfaces or routes.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

struct Outcome {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

Outcome run(const std::string& command) {
  Outcome outcome;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) outcome.output += buffer;
  const int status = ::pclose(pipe);
  if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  return outcome;
}

// Each step in turn, stopping at the first that fails.
::testing::AssertionResult ip(const std::vector<std::pair<std::string, std::string>>& steps) {
  for (const auto& [where, arguments] : steps) {
    const auto outcome = run(std::string("ip -n ").append(where).append(" ").append(arguments));
    if (outcome.exitCode != 0) return ::testing::AssertionFailure() << arguments << ": " << outcome.output;
  }
  return ::testing::AssertionSuccess();
}

class NamespaceNetwork : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "making network namespaces needs root";
    if (run("ip -V").exitCode != 0) GTEST_SKIP() << "the ip command (iproute2) is not installed";
    for (const auto& name : {tested_, peer_}) {
      const auto made = run("ip netns add " + name);
      if (made.exitCode != 0) GTEST_SKIP() << "cannot make a network namespace here: " << made.output;
      made_.push_back(name);
    }
  }
  void TearDown() override {
    for (const auto& name : made_) run("ip netns delete " + name);
  }

  [[nodiscard]] Outcome inside(const std::string& command) const {
    return run("ip netns exec " + tested_ + " " + command);
  }

  // Packets sent so far by each interface of the tested namespace, a "<its folder>:<count>" line each.
  [[nodiscard]] std::string sent() const {
    return inside("sh -c 'grep -H . /sys/class/net/*/statistics/tx_packets'").output;
  }

  // What the program shows inside the tested namespace, e.g. "online 10.213.0.2".
  [[nodiscard]] std::string answer() const {
    const auto seen = inside("'" LUMENO_NET_PROBE "'");
    EXPECT_EQ(seen.exitCode, 0) << seen.output;
    return seen.output.substr(0, seen.output.find('\n'));
  }

  // The answer, failing the test if any interface of the namespace sent a packet meanwhile.
  [[nodiscard]] std::string quietAnswer() const {
    const std::string before = sent();
    EXPECT_NE(before.find("/lo/"), std::string::npos) << "cannot read the namespace's counters: " << before;
    auto shown = answer();
    EXPECT_EQ(sent(), before) << "the check sent packets";
    return shown;
  }

  // Lo up in both; a veth pair between them, 10.213.0.2 here and 10.213.0.1 there, both ends up.
  [[nodiscard]] ::testing::AssertionResult linkNamespaces() const {
    return ip({{tested_, "link set lo up"},
               {peer_, "link set lo up"},
               {tested_, "link add veth-lmn type veth peer name veth-peer netns " + peer_},
               {tested_, "addr add 10.213.0.2/24 dev veth-lmn"},
               {peer_, "addr add 10.213.0.1/24 dev veth-peer"},
               {tested_, "link set veth-lmn up"},
               {peer_, "link set veth-peer up"}});
  }

  // A run may name its namespaces, so that leftovers are easy to tell apart.
  const char* prefix_ = std::getenv("LUMENO_NETNS_PREFIX");
  std::string tested_ = std::string(prefix_ != nullptr && *prefix_ != '\0' ? prefix_ : "lumeno-test") + "-" +
                        std::to_string(::getpid());
  std::string peer_ = tested_ + "-peer";
  std::vector<std::string> made_;
};

TEST_F(NamespaceNetwork, OnlineOnlyWhileADefaultRouteHasALiveLinkAndTheCheckSendsNothing) {
  // IPv6 off, so the kernel sends nothing of its own accord and every counted packet would be ours.
  if (std::filesystem::exists("/proc/sys/net/ipv6")) {
    const auto off =
        inside("sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1");
    ASSERT_EQ(off.exitCode, 0) << off.output;
  }
  EXPECT_EQ(quietAnswer(), "offline 127.0.0.1");
  ASSERT_TRUE(linkNamespaces());
  EXPECT_EQ(quietAnswer(), "offline 127.0.0.1") << "no default route yet, and a veth end is no network card";
  ASSERT_TRUE(ip({{tested_, "route add default via 10.213.0.1 dev veth-lmn"}}));
  EXPECT_EQ(quietAnswer(), "online 10.213.0.2");

  // The counters do move when something is sent: one datagram to the peer, and the address
  // resolution before it.
  const std::string before = sent();
  const auto udp = inside("bash -c 'echo x > /dev/udp/10.213.0.1/9'");
  ASSERT_EQ(udp.exitCode, 0) << udp.output;
  EXPECT_NE(sent(), before);
  // Every way back to offline, with the program's own check, is the lamp's end-to-end case.
}

TEST_F(NamespaceNetwork, AnIPv6DefaultRouteAloneCounts) {
  // IPv6 stays on here, so the kernel may send reports of its own: only the answer is checked.
  if (!std::filesystem::exists("/proc/sys/net/ipv6")) GTEST_SKIP() << "this kernel has no IPv6";
  ASSERT_TRUE(linkNamespaces());
  ASSERT_TRUE(ip({{tested_, "-6 addr add 2001:db8:213::2/64 dev veth-lmn nodad"},
                  {peer_, "-6 addr add 2001:db8:213::1/64 dev veth-peer nodad"},
                  {tested_, "-6 route add default via 2001:db8:213::1 dev veth-lmn"}}));
  EXPECT_EQ(answer(), "online 127.0.0.1")
      << "no IPv4 default route, and the only IPv4 interface is a veth end";
  ASSERT_TRUE(ip({{peer_, "link set veth-peer down"}}));
  EXPECT_THAT(answer(), ::testing::StartsWith("offline "));
}

}  // namespace
