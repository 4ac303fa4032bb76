// SPDX-License-Identifier: GPL-3.0-or-later
// The connection history window on a 50 MB log whose last day holds three outages: the time it
// takes to open (shown, figures ready) beside reading the whole file once with read(), and the
// memory it adds beside the size of the log, measured in the same run.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <QApplication>

#include "ResidentMemory.h"
#include "TempFolder.h"
#include "common/AppContext.h"
#include "platform/Files.h"
#include "platform/Memory.h"
#include "platform/posix/PosixClock.h"
#include "ui/qt/HistoryWindow.h"

namespace {

constexpr std::size_t kLogBytes = std::size_t{50} * 1024 * 1024;
constexpr double kOpenAtMostMs = 1000.0;
constexpr long kAddedAtMostKb = 30L * 1024;

using lumeno::bench::residentKb;

// " , Date : ... , Time : ..." for `secondsAgo` before now, as the program's clock writes it.
std::string stamp(long secondsAgo) {
  const std::time_t at = std::time(nullptr) - secondsAgo;
  std::tm local{};
  ::localtime_r(&at, &local);
  const auto text = lumeno::platform::formatDateTime(::nl_langinfo(D_FMT), ::nl_langinfo(T_FMT), local);
  return " , Date : " + text.shortDate + " , Time : " + text.longTime;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  // Offscreen unless a platform is named (QT_QPA_PLATFORM=xcb under Xvfb draws as on a desktop).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  lumeno::test::TempFolder folder;
  const std::filesystem::path file = folder / "log.txt";
  {
    const std::string old = "[Refreshed Local IP] : 192.168.1.20" + stamp(60L * 86400) + "\r\n";
    std::string log;
    log.reserve(kLogBytes + 1024);
    while (log.size() < kLogBytes) log += old;
    log += "[Lumeno Loaded]" + stamp(23 * 3600) + "\r\n";
    for (const auto& [ago, length] : {std::pair{20 * 3600, 300}, {12 * 3600, 30}, {6 * 3600, 7200}}) {
      log += "[Went Offline]" + stamp(ago) + "\r\n";
      char offlineFor[48];  // room for any int the format could be given
      std::snprintf(offlineFor, sizeof offlineFor, " , Offline for : %02d:%02d:%02d\r\n", length / 3600,
                    length / 60 % 60, length % 60);
      log += "[Back Online]" + stamp(ago - length) + offlineFor;
    }
    log += "[Program Exit]" + stamp(3600) + "\r\n";
    lumeno::platform::writeFile(file, log);
  }

  // Baseline: the whole file read once with read() into a buffer that is already there.
  std::vector<char> buffer(kLogBytes + 4096);
  auto start = std::chrono::steady_clock::now();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  std::size_t total = 0;
  for (ssize_t n = 0; (n = ::read(fd, buffer.data() + total, buffer.size() - total)) > 0;)
    total += static_cast<std::size_t>(n);
  ::close(fd);
  const double readOnceMs = millisecondsSince(start);
  std::vector<char>{}.swap(buffer);

  lumeno::platform::PosixClock clock;
  lumeno::AppContext context;
  context.programFolder = folder.path();
  context.clock = &clock;
  lumeno::platform::releaseFreedMemory();
  const long before = residentKb();
  start = std::chrono::steady_clock::now();
  auto window = std::make_unique<lumeno::log::HistoryWindow>(
      context, [] { return true; }, [] {});
  window->show();
  QCoreApplication::processEvents();
  const double openMs = millisecondsSince(start);
  const long addedKb = residentKb() - before;
  const auto& day = window->presenter().strips().at(0).figures;

  std::printf("log: %zu bytes; outages in the last 24 h: %d, longest %lld s\n", total, day.outages,
              static_cast<long long>(day.longest));
  std::printf("log bytes the history read: %llu\n",
              static_cast<unsigned long long>(window->presenter().bytesRead()));
  std::printf("open: %.1f ms, reading the log once: %.1f ms, ratio %.3f (at most %.0f ms)\n", openMs,
              readOnceMs, openMs / readOnceMs, kOpenAtMostMs);
  std::printf("memory added: %.1f MB, log size %.1f MB, ratio %.3f (at most %ld MB)\n",
              static_cast<double>(addedKb) / 1024.0, static_cast<double>(total) / (1024.0 * 1024.0),
              static_cast<double>(addedKb) * 1024.0 / static_cast<double>(total), kAddedAtMostKb / 1024);
  const bool good =
      day.outages == 3 && day.longest == 7200 && openMs < kOpenAtMostMs && addedKb <= kAddedAtMostKb;
  std::printf("%s\n", good ? "PASS" : "FAIL");
  window.reset();
  return good ? 0 : 1;
}
