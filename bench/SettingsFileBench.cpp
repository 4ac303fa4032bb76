// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing one key of a 100 MB Lumeno.ini, beside the plain cost of reading the file
// once with read() in the same run; and how much the process's peak memory grew meanwhile.
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "TimeRecorder.h"

#include "TempFolder.h"
#include "platform/ProfileFile.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileBytes = std::size_t{100} << 20;
constexpr double kReadAtMostSeconds = 1.0;
constexpr long kMemoryGrowthAtMostKb = 16 * 1024;

long peakMemoryKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Writes `total` bytes made of `piece` repeated, after `head` and before `tail`, without ever
// holding the whole file in memory.
void writeLarge(const fs::path& file, const std::string& head, const std::string& piece,
                const std::string& tail) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  std::fwrite(head.data(), 1, head.size(), out);
  for (std::size_t written = head.size(); written + tail.size() < kFileBytes; written += piece.size()) {
    std::fwrite(piece.data(), 1, piece.size(), out);
  }
  std::fwrite(tail.data(), 1, tail.size(), out);
  std::fclose(out);
}

struct Files {
  Files() {
    // Thousands of sections of ordinary keys; the key looked for is the very last line.
    std::string sections;
    for (int i = 0; sections.size() < (std::size_t{1} << 20); ++i) {
      sections += "[Section " + std::to_string(i) + "]\r\nalertifoffline=0\r\nuselog = 0 ; a note\r\n\r\n";
    }
    writeLarge(manySections(), "; Lumeno options\r\n", sections, "[Options]\r\nuselog=1\r\n");
    // The key looked for holds one value of 100 MB.
    writeLarge(hugeValue(), "[Options]\r\nuselog=1", std::string(std::size_t{1} << 20, '7'), "\r\n");
    memoryBefore = peakMemoryKb();
  }
  [[nodiscard]] fs::path manySections() const { return folder / "sections.ini"; }
  [[nodiscard]] fs::path hugeValue() const { return folder / "value.ini"; }

  lumeno::test::TempFolder folder;
  long memoryBefore = 0;
};

Files& files() {
  static Files theFiles;
  return theFiles;
}

// Baseline: the file read once, piece by piece, with read().
void BM_PlainRead(benchmark::State& state) {
  const std::unique_ptr<char[]> buffer(new char[std::size_t{256} * 1024]);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    const int fd = ::open(files().manySections().c_str(), O_RDONLY);
    std::size_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.get(), std::size_t{256} * 1024)) > 0;)
      total += static_cast<std::size_t>(n);
    ::close(fd);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void readKey(benchmark::State& state, const fs::path& file, const char* expected) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    const lumeno::platform::ProfileRead read =
        lumeno::platform::readProfileString(file, "Options", "uselog", "0", 50);
    if (read.text != expected) state.SkipWithError(("read " + read.text).c_str());
  }
}

void BM_ReadSettingAfterManySections(benchmark::State& state) {
  readKey(state, files().manySections(), "1");
}
BENCHMARK(BM_ReadSettingAfterManySections)->Unit(benchmark::kMillisecond);

void BM_ReadSettingWithAHugeValue(benchmark::State& state) {
  readKey(state, files().hugeValue(), ("1" + std::string(48, '7')).c_str());
}
BENCHMARK(BM_ReadSettingWithAHugeValue)->Unit(benchmark::kMillisecond);

// A write reads the file to the key and copies it whole into its replacement.
void BM_WriteSettingAfterManySections(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    if (!lumeno::platform::writeProfileString(files().manySections(), "Options", "uselog",
                                              ++n % 2 ? "0" : "1")) {
      state.SkipWithError("the write failed");
    }
  }
}
BENCHMARK(BM_WriteSettingAfterManySections)->Unit(benchmark::kMillisecond)->Iterations(4);

// True when every read of 100 MB stays under the bar and memory did not grow with the file.
bool printRatios(const lumeno::bench::TimeRecorder& recorder) {
  const auto time = [&recorder](const char* name) { return recorder.seconds(name); };
  const double plain = time("BM_PlainRead");
  const double sections = time("BM_ReadSettingAfterManySections");
  const double value = time("BM_ReadSettingWithAHugeValue");
  const double write = time("BM_WriteSettingAfterManySections");
  if (plain <= 0 || sections <= 0 || value <= 0 || write <= 0) {
    std::printf("ratios: not all benchmarks ran\n");
    return false;
  }
  const long growthKb = peakMemoryKb() - files().memoryBefore;
  std::printf("\nplain read() of 100 MB: %.1f ms\n", plain * 1e3);
  std::printf("read of a key after 100 MB of sections: %.1f ms, %.2fx the plain read (must be < %.0f ms)\n",
              sections * 1e3, sections / plain, kReadAtMostSeconds * 1e3);
  std::printf("read of a key whose value is 100 MB: %.1f ms, %.2fx the plain read (must be < %.0f ms)\n",
              value * 1e3, value / plain, kReadAtMostSeconds * 1e3);
  std::printf("write of a key after 100 MB of sections: %.1f ms, %.2fx the plain read\n", write * 1e3,
              write / plain);
  std::printf("peak memory grew by %ld kB over all reads and writes (must be < %ld kB)\n", growthKb,
              kMemoryGrowthAtMostKb);
  return sections < kReadAtMostSeconds && value < kReadAtMostSeconds && growthKb < kMemoryGrowthAtMostKb;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  files();  // made before anything is measured
  lumeno::bench::TimeRecorder recorder;
  benchmark::RunSpecifiedBenchmarks(&recorder);
  const bool fastEnough = printRatios(recorder);
  std::fflush(stdout);
  benchmark::Shutdown();
  return fastEnough ? 0 : 1;
}
