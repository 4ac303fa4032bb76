// What the window thread pays for the network facts: the connection check (asked every 1.5 s), both
// the route check alone and the check as the program makes it (the routes, then NetworkManager if it
// runs, with an application object present), and the local address choice, each beside a stat() of
// /proc/net/route and a getpid() system call measured in the same run. Both must stay far below 100 us per
// call.

#include <cstdio>
#include <map>
#include <string>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "platform/posix/PosixNetworkInfo.h"

namespace {

using lumeno::platform::PosixNetworkInfo;

void baselineStat(benchmark::State& state) {
  struct stat info {};
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(::stat("/proc/net/route", &info));
  }
}

void baselineGetpid(benchmark::State& state) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    // The raw system call: glibc's getpid() is a real call too, but say so plainly.
    benchmark::DoNotOptimize(::syscall(SYS_getpid));
  }
}

void isConnectedByRoutes(benchmark::State& state) {
  const PosixNetworkInfo network(PosixNetworkInfo::ConnectionSource::RoutesOnly);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(network.isConnected());
  }
}

void isConnectedAsTheProgramAsks(benchmark::State& state) {
  const PosixNetworkInfo network;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(network.isConnected());
  }
}

void localIPv4(benchmark::State& state) {
  const PosixNetworkInfo network(PosixNetworkInfo::ConnectionSource::RoutesOnly);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(network.localIPv4());
  }
}

void hostName(benchmark::State& state) {
  const PosixNetworkInfo network;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(network.hostName());
  }
}

BENCHMARK(baselineStat)->Unit(benchmark::kMicrosecond);
BENCHMARK(baselineGetpid)->Unit(benchmark::kMicrosecond);
BENCHMARK(isConnectedByRoutes)->Unit(benchmark::kMicrosecond);
BENCHMARK(isConnectedAsTheProgramAsks)->Unit(benchmark::kMicrosecond);
BENCHMARK(localIPv4)->Unit(benchmark::kMicrosecond);
BENCHMARK(hostName)->Unit(benchmark::kMicrosecond);

// Shows the usual table and keeps each benchmark's real time per call in microseconds.
class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        perCall[run.benchmark_name()] = run.GetAdjustedRealTime();
        cpuPerCall[run.benchmark_name()] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> perCall;     // wall-clock time
  std::map<std::string, double> cpuPerCall;  // this process's CPU time (less shaken by a busy machine)
};

}  // namespace

int main(int argc, char** argv) {
  // The program's check asks NetworkManager only once there is an application object.
  const QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  const auto& t = collector.perCall;
  for (const char* name : {"baselineStat", "baselineGetpid", "isConnectedByRoutes", "localIPv4"}) {
    if (t.count(name) == 0) {
      std::printf("%s was not measured (filtered out?); no ratios\n", name);
      return 0;
    }
  }
  const double stat = t.at("baselineStat");
  const double getpid = t.at("baselineGetpid");
  bool fast = true;
  for (const char* name : {"isConnectedByRoutes", "isConnectedAsTheProgramAsks", "localIPv4"}) {
    if (t.count(name) == 0) continue;
    const double cost = t.at(name);
    std::printf(
        "%s: %.2f us/call, baseline stat: %.2f us/call, ratio %.1f; baseline getpid: %.2f us/call, ratio %.0f"
        " (CPU time: %.2f us/call, stat %.2f, ratio %.1f)\n",
        name, cost, stat, cost / stat, getpid, cost / getpid, collector.cpuPerCall.at(name),
        collector.cpuPerCall.at("baselineStat"),
        collector.cpuPerCall.at(name) / collector.cpuPerCall.at("baselineStat"));
    fast = fast && cost < 100.0;
  }
  if (t.count("hostName") != 0) std::printf("hostName: %.2f us/call\n", t.at("hostName"));
  std::printf("%s\n", fast ? "every call under 100 us" : "LIMIT EXCEEDED: a call costs 100 us or more");
  return fast ? 0 : 1;
}
