// The route-based connection check and the local address choice against a real kernel, inside two
// network namespaces the test makes and removes itself. Nothing here touches the host's own
// interfaces or routes: every "ip" command names one of the test's namespaces.

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

extern char** environ;

namespace {

struct Outcome {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

// Runs a program (found on PATH) with its arguments, no shell, and waits for it to end.
Outcome run(const std::vector<std::string>& command) {
  Outcome outcome;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return outcome;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (spawned == 0) {
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
      if (n > 0) {
        outcome.output.append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        break;
      }
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  } else {
    outcome.output = "cannot start " + command.front();
  }
  ::close(pipeEnds[0]);
  return outcome;
}

// A named network namespace that exists exactly as long as this object.
class NetworkNamespace {
 public:
  explicit NetworkNamespace(std::string name) : name_(std::move(name)) {
    const auto outcome = run({"ip", "netns", "add", name_});
    created_ = outcome.exitCode == 0;
    error_ = outcome.output;
  }
  NetworkNamespace(const NetworkNamespace&) = delete;
  NetworkNamespace& operator=(const NetworkNamespace&) = delete;
  ~NetworkNamespace() {
    if (created_) run({"ip", "netns", "delete", name_});
  }
  [[nodiscard]] bool created() const { return created_; }
  [[nodiscard]] const std::string& name() const { return name_; }
  [[nodiscard]] const std::string& error() const { return error_; }

 private:
  std::string name_;
  bool created_ = false;
  std::string error_;
};

// What the probe saw inside the namespace.
struct ProbeReport {
  bool sysfsShowsNamespace = false;
  std::map<std::string, std::string> txBefore;
  std::map<std::string, std::string> txAfter;
  std::string connected;
  std::string address;
  std::string raw;
};

ProbeReport parseReport(const std::string& text) {
  ProbeReport report;
  report.raw = text;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string key = line.substr(0, space);
    const std::string rest = line.substr(space + 1);
    if (key == "sysfs-namespace") report.sysfsShowsNamespace = rest == "yes";
    if (key == "connected") report.connected = rest;
    if (key == "address") report.address = rest;
    if (key == "tx-before" || key == "tx-after") {
      const std::size_t split = rest.find(' ');
      auto& counters = key == "tx-before" ? report.txBefore : report.txAfter;
      counters[rest.substr(0, split)] = split == std::string::npos ? "" : rest.substr(split + 1);
    }
  }
  return report;
}

constexpr const char* kLink = "veth-lmn";   // our end, inside the tested namespace
constexpr const char* kPeer = "veth-peer";  // the other end, inside the peer namespace

class NamespaceNetwork : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "making network namespaces needs root";
    if (run({"ip", "-V"}).exitCode != 0) GTEST_SKIP() << "the ip command (iproute2) is not installed";
    const std::string base = "lumeno-test-" + std::to_string(::getpid());
    tested_ = std::make_unique<NetworkNamespace>(base);
    if (!tested_->created()) GTEST_SKIP() << "cannot make a network namespace here: " << tested_->error();
    peer_ = std::make_unique<NetworkNamespace>(base + "-peer");
    if (!peer_->created()) GTEST_SKIP() << "cannot make a second network namespace: " << peer_->error();
  }

  void TearDown() override {
    // Peer first: the pair goes with whichever namespace is removed first.
    peer_.reset();
    tested_.reset();
  }

  // "ip -n <namespace> ..." in one of our namespaces; fails the test when the command fails.
  void ip(const NetworkNamespace& where, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"ip", "-n", where.name()});
    const auto outcome = run(arguments);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
  }

  Outcome inside(const NetworkNamespace& where, const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"ip", "netns", "exec", where.name(), LUMENO_NET_PROBE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return run(command);
  }

  ProbeReport probe() {
    const auto outcome = inside(*tested_, {"check"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    return parseReport(outcome.output);
  }

  // Lo up in both, a veth pair between them with 10.213.0.2 here and 10.213.0.1 there, both up.
  void linkNamespaces() {
    ip(*tested_, {"link", "set", "lo", "up"});
    ip(*peer_, {"link", "set", "lo", "up"});
    ip(*tested_, {"link", "add", kLink, "type", "veth", "peer", "name", kPeer, "netns", peer_->name()});
    ip(*tested_, {"addr", "add", "10.213.0.2/24", "dev", kLink});
    ip(*peer_, {"addr", "add", "10.213.0.1/24", "dev", kPeer});
    ip(*tested_, {"link", "set", kLink, "up"});
    ip(*peer_, {"link", "set", kPeer, "up"});
  }

  std::unique_ptr<NetworkNamespace> tested_;
  std::unique_ptr<NetworkNamespace> peer_;
};

// The checks must send nothing: every transmit counter reads the same before and after.
void expectNothingSent(const ProbeReport& report) {
  EXPECT_TRUE(report.sysfsShowsNamespace) << "/sys does not show the namespace's interfaces\n" << report.raw;
  EXPECT_FALSE(report.txBefore.empty()) << report.raw;
  EXPECT_EQ(report.txBefore, report.txAfter) << report.raw;
}

TEST_F(NamespaceNetwork, OnlineOnlyWhileADefaultRouteHasALiveLink) {
  // IPv6 off here, so the kernel's own neighbour discovery sends nothing of its own accord and
  // every counted packet would be ours.
  const auto off = inside(*tested_, {"disable-ipv6"});
  ASSERT_EQ(off.exitCode, 0) << off.output;

  const auto alone = probe();
  EXPECT_EQ(alone.connected, "offline") << alone.raw;
  EXPECT_EQ(alone.address, "127.0.0.1") << alone.raw;
  expectNothingSent(alone);

  ASSERT_NO_FATAL_FAILURE(linkNamespaces());
  const auto noRoute = probe();
  EXPECT_EQ(noRoute.connected, "offline") << "a link without a default route is not a connection\n"
                                          << noRoute.raw;
  EXPECT_EQ(noRoute.address, "127.0.0.1") << "a veth end is not the machine's own card\n" << noRoute.raw;
  expectNothingSent(noRoute);

  ASSERT_NO_FATAL_FAILURE(ip(*tested_, {"route", "add", "default", "via", "10.213.0.1", "dev", kLink}));
  const auto routed = probe();
  EXPECT_EQ(routed.connected, "online") << routed.raw;
  EXPECT_EQ(routed.address, "10.213.0.2") << routed.raw;
  expectNothingSent(routed);

  // The counters do move when something is sent, so an unchanged counter above means something.
  // A broadcast needs no address resolution and draws no answer, so nothing follows it later.
  const auto sent = inside(*tested_, {"udp", "10.213.0.255"});
  ASSERT_EQ(sent.exitCode, 0) << sent.output;
  const auto sentReport = parseReport(sent.output);
  ASSERT_TRUE(sentReport.txBefore.count(kLink) == 1 && sentReport.txAfter.count(kLink) == 1) << sent.output;
  EXPECT_GT(std::stoull(sentReport.txAfter.at(kLink)), std::stoull(sentReport.txBefore.at(kLink)))
      << sent.output;

  // The far end goes down: the route stays, the carrier goes.
  ASSERT_NO_FATAL_FAILURE(ip(*peer_, {"link", "set", kPeer, "down"}));
  const auto noCarrier = probe();
  EXPECT_EQ(noCarrier.connected, "offline") << noCarrier.raw;
  expectNothingSent(noCarrier);

  // Our own end goes down: the route goes with it.
  ASSERT_NO_FATAL_FAILURE(ip(*peer_, {"link", "set", kPeer, "up"}));
  ASSERT_NO_FATAL_FAILURE(ip(*tested_, {"link", "set", kLink, "down"}));
  const auto down = probe();
  EXPECT_EQ(down.connected, "offline") << down.raw;
  EXPECT_EQ(down.address, "127.0.0.1") << down.raw;
  expectNothingSent(down);
}

TEST_F(NamespaceNetwork, AnIPv6DefaultRouteAloneCounts) {
  // IPv6 stays on here, so the kernel may send its own multicast reports at any moment; this case
  // checks the IPv6 table only, the counters are watched in the IPv4 case.
  ASSERT_NO_FATAL_FAILURE(linkNamespaces());
  ASSERT_NO_FATAL_FAILURE(ip(*tested_, {"-6", "addr", "add", "2001:db8:213::2/64", "dev", kLink, "nodad"}));
  ASSERT_NO_FATAL_FAILURE(ip(*peer_, {"-6", "addr", "add", "2001:db8:213::1/64", "dev", kPeer, "nodad"}));
  ASSERT_NO_FATAL_FAILURE(
      ip(*tested_, {"-6", "route", "add", "default", "via", "2001:db8:213::1", "dev", kLink}));
  const auto routed = probe();
  EXPECT_EQ(routed.connected, "online") << routed.raw;
  // No IPv4 default route, and the only IPv4 interface is a veth end.
  EXPECT_EQ(routed.address, "127.0.0.1") << routed.raw;

  ASSERT_NO_FATAL_FAILURE(ip(*peer_, {"link", "set", kPeer, "down"}));
  EXPECT_EQ(probe().connected, "offline");
}

}  // namespace
