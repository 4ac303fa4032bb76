// The log monitor's tick on a large log: unchanged, grown by one line, and beside them the
// plain way of keeping the view current, reading the whole file into the box at every tick.
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include "TempFolder.h"
#include "common/AppContext.h"
#include "log/LogEntry.h"
#include "log/LogMonitorWindow.h"
#include "platform/Files.h"

namespace {

using lumeno::AppContext;
using lumeno::log::LogMonitorWindow;

constexpr std::size_t kLogBytes = std::size_t{50} * 1024 * 1024;
constexpr double kUnchangedAtLeast = 100.0;
constexpr double kGrownAtLeast = 20.0;

std::string entry(std::size_t n) {
  const std::string time = std::to_string(10 + n / 3600 % 14) + ":" + std::to_string(10 + n / 60 % 50) + ":" +
                           std::to_string(10 + n % 50);
  return lumeno::log::valuedEntry(lumeno::log::kRefreshedLocalIp, "192.168.1." + std::to_string(n % 250),
                                  {"05/12/2026", time});
}

// One window on one 50 MB log, shared by the benchmarks, filled by its first tick.
struct Monitor {
  Monitor() {
    context.programFolder = folder.path();
    std::string log;
    log.reserve(kLogBytes + 128);
    while (log.size() < kLogBytes) log += entry(lines++);
    lumeno::platform::writeFile(file(), log);
    window = std::make_unique<LogMonitorWindow>(context);
    window->show();
    window->Timer1_Timer();
    QCoreApplication::processEvents();
  }
  [[nodiscard]] std::filesystem::path file() const { return folder / "log.txt"; }
  [[nodiscard]] QPlainTextEdit* box() const {
    return window->findChild<QPlainTextEdit*>(QStringLiteral("RichTextBox1"));
  }

  lumeno::test::TempFolder folder;
  AppContext context;
  std::size_t lines = 0;
  std::unique_ptr<LogMonitorWindow> window;
};

// Made at the first benchmark, ended by main() while the application still exists.
std::unique_ptr<Monitor> theMonitor;

Monitor& monitor() {
  if (!theMonitor) theMonitor = std::make_unique<Monitor>();
  return *theMonitor;
}

// Baseline: read the whole file and set it into the box, caret at the end.
void BM_WholeFileReload(benchmark::State& state) {
  Monitor& m = monitor();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    const auto bytes = lumeno::platform::readFile(m.file());
    m.box()->setPlainText(QString::fromLocal8Bit(bytes->data(), static_cast<qsizetype>(bytes->size())));
    m.box()->moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kLogBytes));
}
BENCHMARK(BM_WholeFileReload)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TickUnchanged(benchmark::State& state) {
  Monitor& m = monitor();
  const int wholeBefore = m.window->reads().whole;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    m.window->Timer1_Timer();
    QCoreApplication::processEvents();
  }
  if (m.window->reads().whole != wholeBefore) state.SkipWithError("an unchanged log was read again");
}
BENCHMARK(BM_TickUnchanged)->Unit(benchmark::kMicrosecond);

void BM_TickGrownByOneLine(benchmark::State& state) {
  Monitor& m = monitor();
  const int wholeBefore = m.window->reads().whole;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    state.PauseTiming();
    lumeno::platform::appendToFile(m.file(), entry(m.lines++));
    state.ResumeTiming();
    m.window->Timer1_Timer();
    QCoreApplication::processEvents();
  }
  if (m.window->reads().whole != wholeBefore) state.SkipWithError("a grown log was read whole");
  // The box must still hold the whole file: one line per entry and the empty last one.
  if (m.box()->document()->blockCount() != static_cast<int>(m.lines) + 1) {
    state.SkipWithError("the box does not hold the whole log");
  }
}
BENCHMARK(BM_TickGrownByOneLine)->Unit(benchmark::kMicrosecond);

// Prints the usual table and remembers each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred) {
        seconds_[run.run_name.function_name] =
            run.real_accumulated_time / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // True when both ticks are as much cheaper than the whole reload as they must be.
  bool printRatios() const {
    const auto time = [this](const char* name) {
      const auto it = seconds_.find(name);
      return it == seconds_.end() ? 0.0 : it->second;
    };
    const double whole = time("BM_WholeFileReload");
    const double unchanged = time("BM_TickUnchanged");
    const double grown = time("BM_TickGrownByOneLine");
    if (whole <= 0 || unchanged <= 0 || grown <= 0) {
      std::printf("ratios: not all benchmarks ran\n");
      return false;
    }
    const double unchangedRatio = whole / unchanged;
    const double grownRatio = whole / grown;
    std::printf("\nwhole-file reload of a 50 MB log: %.1f ms\n", whole * 1e3);
    std::printf("unchanged tick: %.2f us, %.0fx cheaper (must be >= %.0fx)\n", unchanged * 1e6,
                unchangedRatio, kUnchangedAtLeast);
    std::printf("tick after one new line: %.2f us, %.0fx cheaper (must be >= %.0fx)\n", grown * 1e6,
                grownRatio, kGrownAtLeast);
    return unchangedRatio >= kUnchangedAtLeast && grownRatio >= kGrownAtLeast;
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;  // plain text, so the figures read well in a log file
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const bool fastEnough = reporter.printRatios();
  std::fflush(stdout);
  theMonitor.reset();
  benchmark::Shutdown();
  return fastEnough ? 0 : 1;
}
