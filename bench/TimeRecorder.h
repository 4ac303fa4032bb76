// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace lumeno::bench {

// Prints Google Benchmark's usual table and remembers each benchmark's time per iteration, so a
// benchmark can print its ratios against the baseline measured in the same run.
class TimeRecorder : public benchmark::ConsoleReporter {
 public:
  // Processor time suits a benchmark that must not count a busy machine's other work; wall
  // time one that waits on the disk.
  enum class Clock { Wall, Processor };
  // `withArguments` keys a run by "name/args" rather than its function name alone.
  explicit TimeRecorder(Clock clock = Clock::Wall, bool withArguments = false)
      : ConsoleReporter(OO_Tabular), clock_(clock), withArguments_(withArguments) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations <= 0 || run.error_occurred) continue;
      const double total = clock_ == Clock::Processor ? run.cpu_accumulated_time : run.real_accumulated_time;
      const std::string key =
          withArguments_ ? run.run_name.function_name + "/" + run.run_name.args : run.run_name.function_name;
      seconds_[key] = total / static_cast<double>(run.iterations);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Seconds per iteration, or 0 when that benchmark did not run.
  [[nodiscard]] double seconds(const std::string& name) const {
    const auto it = seconds_.find(name);
    return it == seconds_.end() ? 0.0 : it->second;
  }

 private:
  Clock clock_;
  bool withArguments_;
  std::map<std::string, double> seconds_;
};

}  // namespace lumeno::bench
