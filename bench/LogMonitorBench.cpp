// SPDX-License-Identifier: GPL-3.0-or-later
// The log monitor on a 50 MB log, each cost beside reading the file once with read(), measured
// in the same run: opening it (first screen, whole index), ticks (unchanged, one new line) and
// a search through all of it. Then the memory the monitor adds while it opens a 100 MB log of
// nothing but line ends (100 million lines), beside the size of that log.
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>

#include <benchmark/benchmark.h>

#include "TimeRecorder.h"

#include "ResidentMemory.h"
#include "TempFolder.h"
#include "common/AppContext.h"
#include "log/LogEntry.h"
#include "platform/Files.h"
#include "platform/Memory.h"
#include "ui/qt/LogLinesView.h"
#include "ui/qt/LogMonitorWindow.h"

namespace {

using lumeno::AppContext;
using lumeno::log::LogMonitorWindow;

constexpr std::size_t kLogBytes = std::size_t{50} * 1024 * 1024;
constexpr double kUnchangedAtLeast = 100.0;
constexpr double kGrownAtLeast = 20.0;
constexpr std::size_t kLineEndsBytes = std::size_t{100} * 1024 * 1024;
constexpr long kAddedAtMostKb = 60L * 1024;

using lumeno::bench::residentKb;

// The most memory the monitor added at any moment while it opened the 100 MB log of line ends,
// sampled between its slices of work; measured before any other benchmark has used memory.
long lineEndsPeakAddedKb = -1;

void BM_OpenLineEndsOnly(benchmark::State& state) {
  lumeno::test::TempFolder folder;
  AppContext context;
  context.programFolder = folder.path();
  const std::string megabyte(std::size_t{1024} * 1024, '\n');
  for (std::size_t written = 0; written < kLineEndsBytes; written += megabyte.size()) {
    lumeno::platform::appendToFile(folder / "log.txt", megabyte);
  }
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    lumeno::platform::releaseFreedMemory();
    const long before = residentKb();
    long peak = before;
    auto window = std::make_unique<LogMonitorWindow>(context);
    window->show();
    QCoreApplication::processEvents();
    while (window->presenter().busy()) {
      QCoreApplication::processEvents();
      peak = std::max(peak, residentKb());
    }
    peak = std::max(peak, residentKb());
    lineEndsPeakAddedKb = std::max(lineEndsPeakAddedKb, peak - before);
    if (window->presenter().lineCount() == 0) state.SkipWithError("no line shown");
    window.reset();
  }
}
BENCHMARK(BM_OpenLineEndsOnly)->Unit(benchmark::kMillisecond)->Iterations(1);

std::string entry(std::size_t n) {
  const std::string time = std::to_string(10 + n / 3600 % 14) + ":" + std::to_string(10 + n / 60 % 50) + ":" +
                           std::to_string(10 + n % 50);
  return lumeno::log::valuedEntry(lumeno::log::kRefreshedLocalIp, "192.168.1." + std::to_string(n % 250),
                                  {"05/12/2026", time});
}

// One 50 MB log shared by the benchmarks, and a monitor on it that has indexed all of it.
struct Log {
  Log() {
    context.programFolder = folder.path();
    std::string log = "[Lumeno Loaded] , Date : 01/01/2020 , Time : 00:00:01\r\n";
    log.reserve(kLogBytes + 128);
    while (log.size() < kLogBytes) log += entry(lines++);
    ++lines;
    lumeno::platform::writeFile(file(), log);
    monitor = open();
    finish(*monitor);
  }
  [[nodiscard]] std::filesystem::path file() const { return folder / "log.txt"; }
  [[nodiscard]] std::unique_ptr<LogMonitorWindow> open() const {
    auto window = std::make_unique<LogMonitorWindow>(context);
    window->show();
    QCoreApplication::processEvents();
    return window;
  }
  static void finish(LogMonitorWindow& window) {
    while (window.presenter().busy()) QCoreApplication::processEvents();
  }

  lumeno::test::TempFolder folder;
  AppContext context;
  std::size_t lines = 0;
  std::unique_ptr<LogMonitorWindow> monitor;
};

// Made at the first benchmark, ended by main() while the application still exists.
std::unique_ptr<Log> theLog;

Log& sharedLog() {
  if (!theLog) theLog = std::make_unique<Log>();
  return *theLog;
}

// Baseline: the whole file read once with read() into a buffer that is already there.
void BM_ReadOnce(benchmark::State& state) {
  const Log& log = sharedLog();
  std::vector<char> buffer(kLogBytes + 4096);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    const int fd = ::open(log.file().c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t total = 0;
    for (;;) {
      const ssize_t n = ::read(fd, buffer.data() + total, buffer.size() - total);
      if (n <= 0) break;
      total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_ReadOnce)->Unit(benchmark::kMillisecond)->Iterations(10);

// Opening the monitor until its first screen of lines is drawn.
void BM_OpenFirstScreen(benchmark::State& state) {
  const Log& log = sharedLog();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    std::unique_ptr<LogMonitorWindow> window = log.open();
    state.PauseTiming();
    const auto* view = window->findChild<lumeno::log::LogLinesView*>(QStringLiteral("RichTextBox1"));
    if (view->visibleLines().isEmpty()) state.SkipWithError("no line shown");
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(5);

// Opening the monitor until every line of the log is indexed.
void BM_OpenFullIndex(benchmark::State& state) {
  const Log& log = sharedLog();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    std::unique_ptr<LogMonitorWindow> window = log.open();
    Log::finish(*window);
    state.PauseTiming();
    if (window->presenter().lineCount() != log.lines) state.SkipWithError("not every line indexed");
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenFullIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TickUnchanged(benchmark::State& state) {
  Log& log = sharedLog();
  const std::uint64_t before = log.monitor->reads().bytes;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    log.monitor->onReloadTick();
    QCoreApplication::processEvents();
  }
  if (log.monitor->reads().bytes != before) state.SkipWithError("an unchanged log was read");
}
BENCHMARK(BM_TickUnchanged)->Unit(benchmark::kMicrosecond);

void BM_TickGrownByOneLine(benchmark::State& state) {
  Log& log = sharedLog();
  const int fromStartBefore = log.monitor->reads().fromStart;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    state.PauseTiming();
    lumeno::platform::appendToFile(log.file(), entry(log.lines++));
    state.ResumeTiming();
    log.monitor->onReloadTick();
    QCoreApplication::processEvents();
  }
  if (log.monitor->reads().fromStart != fromStartBefore) state.SkipWithError("a grown log was read whole");
  if (log.monitor->presenter().lineCount() != log.lines) state.SkipWithError("the view lost lines");
}
BENCHMARK(BM_TickGrownByOneLine)->Unit(benchmark::kMicrosecond);

// From the second line on to the end and round to the first, which alone holds the text: the
// whole log searched.
void BM_FindThroughTheWholeLog(benchmark::State& state) {
  Log& log = sharedLog();
  auto& presenter = log.monitor->presenter();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    presenter.selectLine(1, false);
    presenter.find("lumeno LOADED", true);
    Log::finish(*log.monitor);
    if (presenter.currentLine() != 0U) state.SkipWithError("the first line was not found");
  }
}
BENCHMARK(BM_FindThroughTheWholeLog)->Unit(benchmark::kMillisecond)->Iterations(5);

// True when both ticks are as much cheaper than reading the file once as they must be.
bool printRatios(const lumeno::bench::TimeRecorder& recorder) {
  const auto time = [&recorder](const char* name) { return recorder.seconds(name); };
  const double once = time("BM_ReadOnce");
  const double first = time("BM_OpenFirstScreen");
  const double full = time("BM_OpenFullIndex");
  const double unchanged = time("BM_TickUnchanged");
  const double grown = time("BM_TickGrownByOneLine");
  const double find = time("BM_FindThroughTheWholeLog");
  if (once <= 0 || first <= 0 || full <= 0 || unchanged <= 0 || grown <= 0 || find <= 0) {
    std::printf("ratios: not all benchmarks ran\n");
    return false;
  }
  std::printf("\nreading the 50 MB log once with read(): %.1f ms\n", once * 1e3);
  std::printf("open, first screen drawn: %.1f ms, %.2fx the read\n", first * 1e3, first / once);
  std::printf("open, every line indexed: %.1f ms, %.2fx the read\n", full * 1e3, full / once);
  std::printf("search through the whole log: %.1f ms, %.2fx the read\n", find * 1e3, find / once);
  std::printf("unchanged tick: %.2f us, %.0fx cheaper than the read (must be >= %.0fx)\n", unchanged * 1e6,
              once / unchanged, kUnchangedAtLeast);
  std::printf("tick after one new line: %.2f us, %.0fx cheaper than the read (must be >= %.0fx)\n",
              grown * 1e6, once / grown, kGrownAtLeast);
  if (lineEndsPeakAddedKb < 0) {
    std::printf("memory on a log of line ends: not measured\n");
    return false;
  }
  std::printf(
      "opening a 100 MB log of line ends only added at most %.1f MB, %.2fx the log's size "
      "(must be <= %ld MB)\n",
      static_cast<double>(lineEndsPeakAddedKb) / 1024,
      static_cast<double>(lineEndsPeakAddedKb) * 1024 / kLineEndsBytes, kAddedAtMostKb / 1024);
  return once / unchanged >= kUnchangedAtLeast && once / grown >= kGrownAtLeast &&
         lineEndsPeakAddedKb <= kAddedAtMostKb;
}

}  // namespace

int main(int argc, char** argv) {
  // Offscreen unless a platform is named (QT_QPA_PLATFORM=xcb under Xvfb draws as on a desktop).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  lumeno::bench::TimeRecorder recorder;  // plain text, so the figures read well in a log file
  benchmark::RunSpecifiedBenchmarks(&recorder);
  const bool fastEnough = printRatios(recorder);
  std::fflush(stdout);
  theLog.reset();
  benchmark::Shutdown();
  return fastEnough ? 0 : 1;
}
