// SPDX-License-Identifier: GPL-3.0-or-later
// The IP tools output box's kept tail fed a large result as the program reads it (64 KB
// pieces), beside copying the same bytes into one string, measured in the same run. The tail
// keeps 100,000 lines or 8 MB, so each result below is far beyond what it keeps: a tail that
// costs more per byte as the result grows shows a ratio growing with the size.
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "TimeRecorder.h"

#include "iptools/OutputTail.h"

namespace {

using lumeno::iptools::OutputTail;

constexpr std::size_t kPiece = std::size_t{64} * 1024;
// The tail may cost this many times a plain copy of the same bytes, at every size.
constexpr double kAtMost = 25.0;

// `lines` ping replies of 80 bytes each (300,000 of them are 24 MB).
const std::string& pingResult(std::size_t lines) {
  static std::map<std::size_t, std::string> made;
  std::string& text = made[lines];
  if (text.empty()) {
    text.reserve(lines * 80);
    char line[96];
    for (std::size_t n = 0; n < lines; ++n) {
      std::snprintf(line, sizeof line,
                    "64 bytes from 192.168.100.200: icmp_seq=%07zu ttl=64 time=0.045 ms%12s\n", n, "");
      text += line;
    }
  }
  return text;
}

template <typename Sink>
void feed(std::string_view bytes, Sink&& sink) {
  for (std::size_t at = 0; at < bytes.size(); at += kPiece) sink(bytes.substr(at, kPiece));
}

// Baseline: the same pieces appended to one string.
void BM_Copy(benchmark::State& state) {
  const std::string& result = pingResult(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    std::string copy;
    feed(result, [&copy](std::string_view piece) { copy.append(piece); });
    benchmark::DoNotOptimize(copy.data());
  }
}

// The stored result shown: every piece into a fresh tail, then the text the box gets.
void BM_Tail(benchmark::State& state) {
  const std::string& result = pingResult(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    OutputTail tail;
    feed(result, [&tail](std::string_view piece) { tail.append(piece); });
    const std::string shown = tail.text();
    benchmark::DoNotOptimize(shown.data());
    if (!tail.leftOutEarlierOutput()) state.SkipWithError("the result was kept whole");
  }
}

// A running tool: the box takes each change as the output comes.
void BM_LiveTail(benchmark::State& state) {
  const std::string& result = pingResult(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    OutputTail tail;
    std::size_t given = 0;
    feed(result, [&](std::string_view piece) {
      tail.append(piece);
      given += tail.takeChange().appended.size();
    });
    benchmark::DoNotOptimize(given);
  }
}

constexpr std::int64_t kSizes[] = {150'000, 300'000, 800'000};  // 12, 24 and 64 MB

BENCHMARK(BM_Copy)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tail)
    ->Arg(kSizes[0])
    ->Arg(kSizes[1])
    ->Arg(kSizes[2])
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_LiveTail)
    ->Arg(kSizes[0])
    ->Arg(kSizes[1])
    ->Arg(kSizes[2])
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// True when the tail stays within kAtMost times the copy at every size.
bool printRatios(const lumeno::bench::TimeRecorder& recorder) {
  const auto time = [&recorder](const std::string& name) { return recorder.seconds(name); };
  bool fine = true;
  std::printf("\n");
  for (const std::int64_t lines : kSizes) {
    const std::string size = "/" + std::to_string(lines);
    const double copy = time("BM_Copy" + size);
    for (const char* name : {"BM_Tail", "BM_LiveTail"}) {
      const double tail = time(name + size);
      if (copy <= 0 || tail <= 0) {
        std::printf("%s%s: did not run\n", name, size.c_str());
        fine = false;
        continue;
      }
      std::printf("%s, %lld lines (%.0f MB): %.1f ms, %.1fx the copy's %.2f ms (must be <= %.0fx)\n", name,
                  static_cast<long long>(lines), static_cast<double>(lines) * 80 / 1e6, tail * 1e3,
                  tail / copy, copy * 1e3, kAtMost);
      fine = fine && tail / copy <= kAtMost;
    }
  }
  return fine;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  lumeno::bench::TimeRecorder recorder(lumeno::bench::TimeRecorder::Clock::Processor, true);
  benchmark::RunSpecifiedBenchmarks(&recorder);
  const bool fastEnough = printRatios(recorder);
  std::fflush(stdout);
  benchmark::Shutdown();
  return fastEnough ? 0 : 1;
}
